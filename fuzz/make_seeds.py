#!/usr/bin/env python3
"""Writes the seed corpora of both fuzz targets: one small input per area's
main road, in the encoding of fuzz_input.h. Op numbers and words are read
from the harness sources, so the seeds follow them; run it again after
changing the op tables or the word list:

    fuzz/make_seeds.py
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def names_of_ops(source):
    text = open(os.path.join(HERE, source)).read()
    body = text[text.index("kOps[] = {"):]
    body = body[:body.index("};")]
    return re.findall(r'\{"(\w+)",', body)


def words():
    text = open(os.path.join(HERE, "fuzz_input.h")).read()
    body = text[text.index("static const std::vector<std::string> words = {"):text.index("return words;")]
    body = body[body.index("{") + 1:body.rindex("}")]
    return [w.replace("\\\\", "\\") for w in re.findall(r'"((?:[^"\\]|\\.)*)"', body)]


class Seed:
    """Bytes of one input, written as the harness reads them."""

    def __init__(self, ops):
        self.ops = ops
        self.words = words()
        self.out = bytearray()

    def op(self, name):
        self.out.append(self.ops.index(name))
        return self

    def byte(self, value):
        self.out.append(value & 0xFF)
        return self

    def flag(self, value):
        return self.byte(1 if value else 0)

    def number(self, value):
        return self.byte(value)

    def count(self, n):
        large = [5, 6, 7, 8, 16, 32, 64, 128, 256, 512, 1000, 2000, 4096]
        if n == 10000:
            return self.byte(0xFD).byte(0xA5)
        return self.byte(n if n < 5 else 0xF0 + large.index(n))

    def text(self, value):
        if value in self.words:
            index = self.words.index(value)
            return self.byte(200 + index) if index < 40 else self.byte(240).byte(index)
        data = value.encode()
        assert len(data) < 200
        self.byte(len(data))
        self.out += data
        return self

    def null_text(self):
        return self.byte(254)

    def texts(self, values):
        self.count(len(values))
        for v in values:
            self.text(v)
        return self

    def pick(self, newest=1):
        """A host object (or line, server object): 1 the newest, 0 none."""
        return self.byte(0xFF if newest == 0 else newest - 1)

    def picks(self, picks):
        self.count(len(picks))
        for p in picks:
            self.pick(p)
        return self

    def date(self, kind=1):
        return self.byte(kind)


def table_seeds(ops):
    def s():
        return Seed(ops)

    def session(seed):
        # Mode 0 of both: the world's user over HTTP.
        return seed.op("connect").byte(0).op("login").byte(0)

    def newest(seed, uid):
        # Loaded again, the object is the newest the harness holds.
        return seed.op("load").texts([uid]).byte(0)

    def revision(seed, item="K-1000", rev="B"):
        return seed.op("revision_by_id").text(item).text(rev).number(0)

    seeds = {}
    seeds["session"] = (session(s()).op("ask_connection").op("user_group_role").op("home_folder")
                        .op("logout").flag(True).op("connect").byte(1).text("IIOP").text("engineer")
                        .text("secret").text("").text("").text("").flag(True).op("login").byte(1).text("engineer")
                        .text("secret").flag(True).op("logout").flag(False)
                        # A host that retries: the framework passes the lost connection on.
                        .op("disconnect_answer").byte(0).op("connect").byte(2).text("http://nowhere:7001/kestrel")
                        .null_text().null_text().null_text().null_text().null_text().null_text().flag(False)
                        .op("logout").flag(False))
    # Each getter reads a value of its own kind that the policy sends along,
    # then one that only a load brings. A load puts an object first again,
    # so the ops that hand out more objects still pick what they mean.
    objects = session(s()).op("load").texts(["rev-K-1000-B", "item-K-1000", "ds-K-1000-B-master", "kinds-1"]).byte(0)
    objects.op("object_uid").pick(1).op("object_type_name").pick(2).op("server_uid").pick(1)
    objects.op("server_type_name").pick(4).op("type_hierarchy").pick(4)
    for op, name in [("get_string", "object_name"), ("get_int", "kf_count"), ("get_double", "kf_mass"),
                     ("get_logical", "kf_approved"), ("get_char", "kf_grade"), ("get_string_array", "kf_keywords"),
                     ("get_int_array", "kf_counts"), ("get_double_array", "kf_masses"),
                     ("get_logical_array", "kf_flags"), ("get_char_array", "kf_grades"),
                     ("get_date_array", "kf_dates")]:
        objects.op(op).pick(1).text(name).flag(False)
    objects.op("get_date").pick(1).text("kf_checked_on").flag(False).flag(True)
    objects.op("get_string").pick(4).text("object_desc").flag(True)
    objects.op("property_texts").pick(1).byte(0)
    objects.op("get_properties").picks([4, 3]).texts(["object_desc", "item_id"])
    objects.op("set_properties").picks([4]).count(1).text("object_desc").texts(["new"])
    objects.op("refresh").picks([4, 1])
    objects.op("checkout").picks([4]).text("c").text("").op("checkin").picks([4])
    objects.op("checkout").picks([4]).text("").text("").op("cancel_checkout").picks([4])
    objects.op("get_object").pick(1).text("kf_owner").flag(False)
    newest(objects, "kinds-1").op("get_object_array").pick(1).text("kf_parts").flag(False)
    newest(objects, "rev-K-1000-B").op("related_cad").pick(1).text("OSTRA_specification")
    newest(objects, "rev-K-1000-B").op("related_core").picks([1]).texts(["OSTRA_specification"])
    newest(objects, "ds-K-1000-B-master").op("related_core_2").picks([1])
    objects.texts(["OSTRA_specification"])
    newest(objects, "item-K-1000").op("items_with_revisions").picks([1]).texts(["ItemRevision"])
    objects.flag(True).number(1)
    newest(objects, "kinds-1").op("delete").picks([1])
    seeds["objects"] = objects
    seeds["bom"] = (revision(session(s())).op("create_window").text("rev-K-1000-B").op("top_line").pick(1)
                    .op("expand_line").pick(1).number(1).op("expand_lines").picks([1, 2]).number(0)
                    .op("lines_by_path").pick(2).count(1).texts(["wheel-left"]).byte(0)
                    .op("close_window").pick(9).op("close_window").pick(9))
    batch = revision(session(s())).op("update_start").op("update_start_assy").number(1).pick(1).flag(False)
    batch.flag(True).date(0)
    revision(batch, "K-9001", "A")
    batch.op("add_child").number(1).number(1).pick(1).text("cad-1").flag(True)
    for _ in range(16):
        batch.number(4)
    batch.flag(True).flag(True).count(1).text("note").text("text").flag(True).count(1).text("attr").text("v")
    batch.op("add_child").number(1).number(1).pick(1).text("").flag(False).flag(False).flag(False).count(0)
    batch.flag(False).count(0)
    batch.op("update_commit").flag(True).byte(0)
    batch.op("delete_start").op("delete_start_assy").number(1).pick(2).flag(False).date(0)
    batch.op("delete_child").number(1).text("thread-1").op("delete_commit")
    seeds["batches"] = batch
    older = s().op("host_structure_service").flag(False)
    older.out += batch.out
    seeds["batches_older"] = older
    # The configured revision needs its item known to the host, and the
    # window opens on what it configured, under the cache's rule and then
    # under the host's.
    rules = (session(s()).op("set_rule").text("Precise; Working").flag(False).op("rule_has_precise").flag(False)
             .byte(0).op("set_rule").text("Latest Released").flag(True).op("rule_guid").flag(False).byte(0)
             .op("rule_name").flag(True).byte(0).op("rule_has_precise").flag(True).byte(0)
             .op("set_rule_all").text("Released by Date").text("2024-03-05").flag(False).number(0).flag(False)
             .op("rule_status").text("Released by Date").flag(False).byte(0).op("list_rules").byte(0)
             .op("set_rule").text("Latest Released").flag(False)
             .op("items_by_id").count(1).text("K-1000").texts([]).number(0)
             .op("configured_revision").text("K-1000").text("Released by Date")
             .op("configured_revision_2").text("K-1000").null_text()
             .op("create_window").text("rev-K-1000-A").op("host_soa_in_pdi").flag(False)
             .op("create_window").text("rev-K-1000-A"))
    seeds["rules"] = rules
    seeds["items"] = (session(s()).op("items_by_id").count(1).text("K-1200").texts([]).number(0)
                      .op("revisions_of_item").pick(1).number(0).texts(["A", "B"]).number(1)
                      .op("revision_of_item").pick(9).text("A").number(0)
                      .op("datasets_by_id").text("K-1000").text("B").number(1)
                      .op("item_and_revisions").text("K-1300").number(0).texts([]).number(0)
                      .op("items_with_revisions").picks([1]).texts(["ItemRevision"]).flag(True).number(1)
                      .op("dataset_references").picks([1, 2]))
    # The sample's two queries, "Item ID" and "Item Name", each run with its
    # own fields, together and alone.
    seeds["queries"] = (session(s()).op("list_queries").op("describe_queries").picks([1, 2])
                        .op("execute_queries").picks([2, 1]).count(2).texts(["Item ID"]).texts(["Name", "Type"])
                        .count(2).texts(["K-1*"]).texts(["*", "Item"]).count(2).number(5).number(5).byte(0)
                        .op("execute_query").pick(2).texts(["Item ID"]).texts(["K-1*"]).number(10)
                        .op("save_criteria").count(1).text("mine").text("Item").texts(["Item ID"]).texts(["K-1000"])
                        .op("retrieve_criteria").texts(["mine"]).op("delete_criteria").texts(["mine"])
                        .op("retrieve_criteria").texts(["mine"]))
    # A server without the batch run: the queries run one at a time.
    seeds["queries"] = (session(seeds["queries"].op("logout").flag(False).op("server_services").byte(7))
                        .op("list_queries").op("execute_queries").picks([2, 1]).count(2).texts(["Item ID"])
                        .texts(["Name", "Type"]).count(2).texts(["K-1*"]).texts(["*", "Item"]).count(2).number(5)
                        .number(5).byte(0))
    seeds["projects"] = (revision(session(s())).op("project_names").op("project_ids").op("user_projects").flag(True)
                         .op("user_projects").flag(False).op("privileged_projects").op("assign_to_projects")
                         .texts(["K200", "K100-Utility cart"]).picks([1]).op("projects_list").pick(1)
                         .op("remove_from_projects").texts(["K200"]).picks([1])
                         .op("host_project_data").pick(1).byte(0).text("K200")
                         .op("host_project_data").pick(1).byte(1).text("K100-Utility cart")
                         .op("assign_and_remove").picks([1]).op("project_objects").text("K100")
                         .op("ask_project_objects").text("K200").op("all_project_information").flag(True).byte(0)
                         .op("all_project_information").flag(False).byte(0).op("project_entries").byte(0)
                         .op("construct").text("HX_Project").text("project-K100").op("project_teams").picks([1])
                         .byte(0).op("project_datasets").text("K100").text("TOVMASTER"))
    # A link from one requirement to another, changed (on a newer server:
    # removed), the reports on both ends of the sample's links, the full text
    # exported.
    trace = (session(s()).op("load").texts(["req-brake", "req-stop"]).byte(0)
             .op("create_trace_links").text("Tracelink").text("").picks([2]).picks([1])
             .op("modify_trace_link").pick(1).picks([3]).picks([2]).picks([]).picks([]))
    newest(trace, "req-stop").op("defining_tree").pick(1)
    newest(trace, "req-stop").op("defining_objects").pick(1)
    newest(trace, "req-brake").op("complying_objects").pick(1)
    trace.op("export_fulltext").texts(["req-brake"])
    seeds["trace_links"] = trace

    def result_input(seed, result="", check="check-1", requirement="req-brake"):
        # result, revision, target, data object, validation id; result, status,
        # comments, date, adhoc, parameters, a report of one file; service flag,
        # check name, requirement.
        seed.text(result).text("rev-K-1000-B").text("ds-K-1000-B-master").text("ds-K-1000-B-master")
        seed.text("check-1").flag(True).number(0).text("ok").date(1).flag(False)
        seed.count(1).text("limit").text("5").text("<").flag(True).flag(True)
        seed.text("report").text("Text").count(1).text("C:\\report.txt").text("Text").number(1)
        return seed.flag(False).text(check).text(requirement)

    # The first result the world creates is "valresult-1"; the update names it.
    validation = revision(session(s())).op("create_validation_results").count(1)
    result_input(validation)
    validation.op("save_validation_results").count(1)
    result_input(validation)
    validation.op("update_validation_results").count(1)
    result_input(validation, "valresult-1", "check-2", "req-stop")
    validation.op("send_validation_inputs").count(1).text("rev-K-1000-B").text("a").text("b").text("c").text("d")
    validation.text("e").count(0).text("ds-K-1000-B-master").flag(False)
    validation.op("validation_data").texts(["rev-K-1000-B"]).texts(["ds-K-1000-B-master"]).flag(False)
    validation.op("query_validation_results").count(1).text("rev-K-1000-B").text("").text("").text("").text("")
    validation.text("").texts([]).flag(False)
    seeds["validation"] = validation
    cad = session(s()).op("create_items").count(1).pick(0).text("K-5000").text("Bracket").text("Item")
    cad.count(1).text("object_desc").text("new").byte(0)
    cad.op("create_datasets").count(1).text("ds").pick(1).text("OSTRA_specification").text("sheet").text("PDF")
    cad.text("").pick(0).byte(0)
    cad.op("write_tickets").count(1).pick(1).flag(False).count(1).text("sheet.pdf").text("PDF_Reference")
    cad.text("").flag(True).flag(False).byte(0).byte(0)
    cad.op("commit_files").count(1).pick(1).flag(False).count(1).text("sheet.pdf").text("PDF_Reference").text("")
    cad.flag(True).flag(False).text("write-1").byte(0)
    cad.op("read_tickets").picks([1]).flag(False).texts([]).byte(0)
    cad.op("create_parts").count(1).text("p").pick(0).text("K-5001").text("Plate").text("Item").text("")
    cad.count(0).count(0).pick(0).pick(0).text("A").count(0).count(0).byte(1).text("ds").pick(0).text("rel")
    cad.text("plate").text("TOVMASTER").text("").text("").text("").flag(False).text("").count(0).count(0).count(0)
    cad.count(0).count(0).byte(0).byte(0).byte(0)
    seeds["cad"] = cad
    # Both contexts: the title block of master models and one revision
    # property of every kind. Each resolve names its part by the tags of a
    # dataset and its revision (kind 0, then the object's pick) and takes
    # every definition the host holds (0); each write-back gives one value
    # per definition it names, newest first (kind 2 and their picks).
    attr = session(s()).op("attr_definitions").count(2).text("Item").text("TOVMASTER").text("Item").text("DFA_KF")
    attr.byte(0).op("load").texts(["ds-K-1000-B-master", "rev-K-1000-B", "ds-K-1120-A-kf", "rev-K-1120-A"]).byte(0)

    def resolve(seed, *parts):
        seed.op("resolve_attr_mappings").count(len(parts))
        for dataset, revision in parts:
            seed.byte(0).pick(dataset).byte(0).pick(revision).byte(0)
        return seed.byte(0)

    def write_back(seed, item, revision, dataset, definitions, values):
        seed.op("update_attr_values").count(1).text(item).text(revision).text(dataset).text("")
        seed.byte(2).count(len(definitions))
        for d in definitions:
            seed.pick(d)
        seed.byte(0)
        for value in values:
            seed.text(value)
        return seed.byte(0)

    resolve(attr, (4, 3), (2, 1))
    resolve(attr, (4, 3))
    # The master context's five definitions were handed out first.
    write_back(attr, "item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", [15, 14, 13, 12, 11],
               ["K-1000", "Cart", "Kestrel Works", "mm", "S355"])
    write_back(attr, "item-K-1120", "rev-K-1120-A", "ds-K-1120-A-kf", [1, 2, 3, 4, 5, 6, 7, 8],
               ["12", "form-K-1120-A", "cart", "-2", "true", "7", "1.5", "0.25"])
    attr.op("clear_attr_cache_for_parts").count(1).byte(0).pick(2).byte(0).pick(1).byte(0)
    # A new session meets the caches the last one filled.
    attr.op("logout").flag(False)
    session(attr).op("load").texts(["ds-K-1000-B-master", "rev-K-1000-B"]).byte(0)
    resolve(attr, (2, 1))
    attr.op("clear_attr_cache")
    seeds["attr_mapping"] = attr
    cls = (session(s()).op("load_classification_objects").texts(["ico-bolt-m8", "ico-nut-m8"])
           .op("write_classification").picks([1]).flag(True).text("t1").text("t2").number(2).number(1).text("a")
           .text("b").op("write_classification_2").picks([2]).flag(False)
           .op("classification_classes").texts(["CL-BOLT", "CL-ROOT"]).op("class_descriptions").texts(["CL-BOLT"])
           .op("classification_table").texts(["CL-BOLT"]).op("objects_of_classification_ids").texts(["CL-BOLT"])
           .op("class_attributes").texts(["CL-BOLT"]).op("find_classes").count(1).number(1).text("Bolts").number(2)
           .op("find_classification_objects").count(1).texts(["CL-BOLT"]).count(0).number(0)
           .op("classification_pom_objects").texts(["ico-bolt-m8"])
           .op("classifications_of_objects").texts(["item-bolt-m8"])
           .op("classification_objects_by_key").texts(["M8"])
           .op("refresh_classification_objects").count(1).text("ico-bolt-m8").pick(1)
           .op("value_tables").texts(["VT-THREAD"]).op("send_classification_uids").texts(["ico-bolt-m8"]))
    seeds["classification"] = cls
    seeds["ai_and_utilities"] = (session(s()).op("generate_structure").texts(["req-brake"]).texts(["rev-K-1000-B"])
                                 .byte(3).text("wheels").number(1).op("preference_values").text("user")
                                 .text("HX_config_rule_name").op("preferences").text("site")
                                 .texts(["OSTRA_TOV_allow_attrsync_master_with_item"]).op("available_services")
                                 .op("datetime_string").byte(0).date(1).op("connection_option").byte(2).number(0)
                                 .text("engineer").text("secret").text("").op("type_descriptions").count(1)
                                 .text("ItemRevision").texts(["object_name"]))
    # A large creation, 256 datasets of one input, with the debug lines on.
    big = session(s()).op("host_debug").flag(True).op("create_datasets").count(256).text("ds").pick(0)
    big.text("").text("sheet").text("PDF").text("").pick(0).byte(0)
    seeds["large_creation"] = big
    return seeds


def legacy_seeds(ops):
    def s():
        return Seed(ops)

    def construct(seed, type_name, uid, kind):
        # kind: the host's model object, item revision, classification object, item
        return seed.op("construct").text(type_name).text(uid).byte(kind)

    def revision(seed, uid="rev-K-1000-B"):
        return construct(seed, "ItemRevision", uid, 1)

    def gateway(seed, answers, has_object, tries, sleep):
        # answers: an IOR text, or None for no IOR yet, or "throw"
        seed.op("gateway_ior").count(len(answers))
        for answer in answers:
            if answer is None:
                seed.byte(1)
            elif answer == "throw":
                seed.byte(2)
            else:
                seed.byte(0).text(answer)
        return seed.flag(has_object).text("corbaloc:gateway").byte(tries).number(sleep)

    seeds = {}
    # The harness connected at start-up, so this connect does nothing; logout
    # finds the session service, then the framework refuses it both ways.
    seeds["session"] = (revision(s().op("ask_connection").op("connect").text("http://fuzz-legacy-world:7001/kestrel")
                                 .text("HTTP").text("engineer").text("secret").text("Engineering").text("Designer")
                                 .text(""))
                        .op("type_name_of_uid").text("rev-K-1000-B").op("cookie_info").text("session-key")
                        .op("logout").byte(0).op("logout").byte(1).op("logout").byte(2).text("EX-17"))
    # An IOR at once; retries through a failure and a gateway not up yet; one
    # attempt that fails (no tries given, no object); no gateway at all.
    seed = gateway(s(), ["IOR:0001"], True, 1, 0)
    seed = gateway(seed, ["throw", None, "IOR:0002"], True, 4, 2)
    seed = gateway(seed, ["throw"], False, 0, 1)
    seeds["gateway"] = gateway(seed, [], True, 3, 0)
    seeds["objects"] = (construct(construct(revision(s()), "Item", "item-K-1000", 3), "Dataset",
                                  "ds-K-1000-B-master", 0)
                        .op("get_properties").picks([1, 2, 3]).texts(["object_name", "object_desc"])
                        .op("related_cad").text("rev-K-1000-B").text("OSTRA_specification")
                        .op("preference_values").text("user").text("HX_config_rule_name"))
    # A value of each kind. The single values from the knowledge-fusion
    # revision, none of them in the session's policy, so each is loaded on
    # its own; the lists from the object that arrives with one of every kind;
    # then the notes dataset's references, which hold a null one.
    props = s()
    for op, uid, name in [("get_string", "rev-K-1000-B", "object_name"),
                          ("get_int", "rev-K-1120-A", "kf_count"),
                          ("get_double", "rev-K-1120-A", "kf_mass"),
                          ("get_logical", "rev-K-1120-A", "kf_approved"),
                          ("get_char", "rev-K-1120-A", "kf_grade"),
                          ("get_date", "rev-K-1120-A", "kf_checked_on"),
                          ("get_object", "rev-K-1120-A", "kf_owner"),
                          ("get_string_array", "kinds-1", "kf_keywords"),
                          ("get_int_array", "kinds-1", "kf_counts"),
                          ("get_double_array", "kinds-1", "kf_masses"),
                          ("get_logical_array", "kinds-1", "kf_flags"),
                          ("get_char_array", "kinds-1", "kf_grades"),
                          ("get_date_array", "kinds-1", "kf_dates"),
                          ("get_object_array", "kinds-1", "kf_parts"),
                          ("get_object_array", "ds-K-1300-A-notes", "ref_list")]:
        props.op(op).text(uid).text(name)
    seeds["properties"] = props
    seeds["queries"] = (s().op("list_queries").op("describe_queries").picks([1, 2]).op("execute_query").pick(2)
                        .texts(["Item ID"]).texts(["K-1*"]).number(10).op("save_criteria").count(1).text("mine")
                        .text("Item").texts(["Item ID"]).texts(["K-1000"]).op("retrieve_criteria").texts(["mine"])
                        .op("delete_criteria").texts(["mine"]))
    # Under the host's rule, then under none, then under the rule GUID given.
    seeds["bom"] = (s().op("create_window").text("rev-K-1000-B").byte(0).op("top_line").pick(1)
                    .op("expand_line").pick(1).op("expand_line").pick(1).op("close_window").pick(1)
                    .op("create_window").text("rev-K-1000-B").byte(1).op("close_window").pick(1)
                    .op("create_window").text("rev-K-1200-B").byte(2).text("rule-latest-working")
                    .op("top_line").pick(1).op("close_window").pick(1))
    seeds["classification"] = (s().op("load_classification_objects").texts(["ico-bolt-m8", "ico-nut-m8"])
                               .op("write_classification").picks([1]).flag(True).text("a").text("b").number(2)
                               .number(1).text("x").text("y").op("write_classification_2").picks([2]).flag(False)
                               .op("send_classification_uids").texts(["ico-bolt-m8"])
                               .op("classification_classes").texts(["CL-BOLT", "CL-ROOT"])
                               .op("class_descriptions").texts(["CL-BOLT"]).op("classification_table")
                               .texts(["CL-BOLT"]).op("objects_of_classification_ids").texts(["CL-BOLT"])
                               .op("class_attributes").texts(["CL-BOLT"]).op("find_classes").count(1).number(1)
                               .text("Bolts").number(2).op("find_classification_objects").count(1)
                               .texts(["CL-BOLT"]).count(0).number(0)
                               .op("classification_pom_objects").texts(["ico-bolt-m8"])
                               .op("classifications_of_objects").texts(["item-bolt-m8"])
                               .op("value_tables").texts(["VT-THREAD"]))
    return seeds


def write(directory, seeds):
    os.makedirs(directory, exist_ok=True)
    for name in os.listdir(directory):
        os.remove(os.path.join(directory, name))
    for name, seed in seeds.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(bytes(seed.out))


def main():
    write(os.path.join(HERE, "corpus"), table_seeds(names_of_ops("kestrel_fuzz.cpp")))
    write(os.path.join(HERE, "legacy_corpus"), legacy_seeds(names_of_ops("kestrel_legacy_fuzz.cpp")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
