#include "halden/server/SampleWorld.h"

#include "StoredObjects.h"

namespace Halden::Soa::Server {

SampleWorld::SampleWorld() {
  using namespace props;
  add_user("engineer", "secret", "Engineering", "Designer");
  add_object("folder-home", {"Folder", "WorkspaceObject", "POM_object"},
             {str("object_name", "Home"), str("object_type", "Folder")});
  set_property("user-engineer", ref("home_folder", "folder-home"));
  set_policy("WorkspaceObject", {"object_name", "object_type", "projects_list"});
  set_policy("User", {"user_id", "user_name", "home_folder"});
  set_preference("user", "HX_config_rule_name", {"Latest Working"});
  set_preference("site", "OSTRA_TOV_allow_attrsync_master_with_item", {"true"});
  set_available_services({"Core-2006-03-DataManagement", "Core-2006-03-Session", "Internal-Core-2007-05-Session",
                          "Core-2007-06-PropDescriptor.getAttachedPropDescs",
                          "Query-2007-09-SavedQuery.executeSavedQueries"});
  set_option(7, "hxserver-pool");

  // Revision rules: working, released with and without a date, by unit, precise.
  const std::vector<std::string> entry = {"CFMRuleEntry", "POM_object"};
  auto add_entry = [&](const std::string& uid, const std::string& type, std::vector<WireProperty> properties = {}) {
    std::vector<std::string> types = {type};
    types.insert(types.end(), entry.begin(), entry.end());
    add_object(uid, std::move(types), std::move(properties));
  };
  add_entry("entry-working", "CFMWorkingEntry");
  add_entry("entry-released", "CFMStatusEntry", {integer("date_type", 2)});
  add_entry("entry-released-effective", "CFMStatusEntry", {integer("date_type", 0)});
  add_entry("entry-released-by-date", "CFMStatusEntry", {integer("date_type", 1)});
  add_entry("entry-unit", "CFMUnitNoEntry");
  add_entry("entry-precise", "CFMPreciseEntry");
  set_policy("RevisionRule", {"object_name", "entry_list"});
  // What the rule cache reads of each status entry comes with it.
  set_policy("CFMStatusEntry", {"date_type"});
  add_revision_rule("rule-latest-working", "Latest Working", {"entry-working"});
  add_revision_rule("rule-latest-released", "Latest Released", {"entry-released", "entry-working"});
  add_revision_rule("rule-released-effective", "Released Effective Date", {"entry-released-effective"});
  add_revision_rule("rule-released-by-date", "Released by Date", {"entry-working", "entry-released-by-date"});
  add_revision_rule("rule-unit-effectivity", "Unit Effectivity", {"entry-released", "entry-unit"});
  add_revision_rule("rule-precise", "Precise; Working", {"entry-precise", "entry-working"});

  set_policy("BOMWindow", {"top_line"});
  set_policy("PSOccurrence", {"occ_thread"});
  set_policy("BOMLine", {"bl_parent", "bl_item_item_id", "bl_rev_item_revision_id", "bl_item_object_name",
                         "bl_quantity", "bl_sequence_no", "bl_line_name", "bl_has_children"});
  // The older host's session policy: its BOM entries read each line's revision.
  store.add_named_policy("VirelManagerDefault", {{"BOMLine", {"bl_revision"}}, {"BOMWindow", {"top_line"}}});

  // A utility cart: its newest revision differs from the released one, and
  // the two rules "Latest Working" and "Latest Released" configure different
  // revisions of the frame, the wheel assembly and the axle.
  struct Part {
    const char* id;
    const char* name;
    std::vector<std::pair<const char*, bool>> revisions;  // oldest first; released?
  };
  const Part parts[] = {
      {"K-1000", "Utility cart", {{"A", true}, {"B", false}}},
      {"K-1100", "Chassis", {{"A", true}}},
      {"K-1110", "Frame weldment", {{"A", true}, {"B", true}, {"C", false}}},
      {"K-1120", "Caster bracket", {{"A", true}}},
      {"K-1200", "Wheel assembly", {{"A", true}, {"B", false}}},
      {"K-1210", "Wheel rim", {{"A", true}}},
      {"K-1220", "Tyre 250x50", {{"A", true}}},
      {"K-1230", "Axle", {{"A", true}, {"B", false}}},
      {"K-1300", "Push handle", {{"A", true}}},
      {"K-9001", "Hex bolt M8x20", {{"A", true}}},
      {"K-9002", "Lock nut M8", {{"A", true}}},
  };
  for (const auto& part : parts) {
    add_item(part.id, part.name);
    for (const auto& [revision, released] : part.revisions) {
      add_item_revision(part.id, revision, released);
      const std::string stem = std::string("ds-") + part.id + "-" + revision;
      add_dataset(stem + "-master", part.id, revision, "OSTRA_specification", "TOVMASTER",
                  std::string(part.id) + "/" + revision + " master model");
    }
  }

  add_occurrence("K-1000", "A", "K-1100");
  add_occurrence("K-1000", "A", "K-1200", 2);
  add_occurrence("K-1000", "A", "K-9001", 8);
  add_occurrence("K-1000", "B", "K-1100");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-left");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-right");
  add_occurrence("K-1000", "B", "K-1300");
  add_occurrence("K-1000", "B", "K-9001", 12);
  add_occurrence("K-1000", "B", "K-9002", 12);
  add_occurrence("K-1100", "A", "K-1110");
  add_occurrence("K-1100", "A", "K-1120", 4);
  for (const char* revision : {"A", "B"}) {
    add_occurrence("K-1200", revision, "K-1210");
    add_occurrence("K-1200", revision, "K-1220");
    add_occurrence("K-1200", revision, "K-1230");
  }
  add_occurrence("K-1200", "B", "K-9002");

  add_dataset("ds-K-1000-A-drawing", "K-1000", "A", "OSTRA_manifestation", "PDF", "K-1000/A drawing");
  add_dataset("ds-K-1000-B-drawing", "K-1000", "B", "OSTRA_manifestation", "PDF", "K-1000/B drawing");
  add_dataset("ds-K-1000-B-jt", "K-1000", "B", "OSTRA_Rendering", "DirectModel", "K-1000/B visualisation");
  add_dataset("ds-K-1000-B-notes", "K-1000", "B", "IMAN_reference", "MSWord", "K-1000/B assembly notes");
  add_dataset("ds-K-1100-A-jt", "K-1100", "A", "OSTRA_Rendering", "DirectModel", "K-1100/A visualisation");
  add_dataset("ds-K-1110-B-drawing", "K-1110", "B", "OSTRA_manifestation", "PDF", "K-1110/B drawing");
  add_dataset("ds-K-1110-C-spec", "K-1110", "C", "OSTRA_specification", "Text", "K-1110/C welding procedure");
  add_dataset("ds-K-1110-C-altrep", "K-1110", "C", "OSTRA_TOV_altrep", "TOVALTREP", "K-1110/C simplified");
  add_dataset("ds-K-1110-C-fea", "K-1110", "C", "OSTRA_Simulation", "CAEAnalysis", "K-1110/C load case");
  add_dataset("ds-K-1200-B-jt", "K-1200", "B", "OSTRA_Rendering", "DirectModel", "K-1200/B visualisation");

  // Master models and drawings hold files; the other datasets hold none.
  std::vector<std::pair<std::string, std::string>> datasets;  // UID, type
  for (const auto& [uid, object] : store.objects())
    if (stored::has_type(object, "Dataset"))
      if (const std::string* type = stored::string_value(object, "object_type")) datasets.emplace_back(uid, *type);
  for (const auto& [uid, type] : datasets) {
    const std::string stem = uid.substr(3);  // after "ds-"
    if (type == "TOVMASTER") {
      add_dataset_file(uid, "TOVPART", stem + ".prt");
    } else if (type == "PDF") {
      add_dataset_file(uid, "PDF_Reference", stem + ".pdf");
      add_dataset_file(uid, "PDF_Markup", stem + "-markup.xml");
    }
  }

  projectlevelsecurity.add_sample_projects();
  // References as a server may hand them out: a file, a non-file object and
  // a null entry, then two files of which the last has no name ("ref_names"
  // is one shorter than "ref_list").
  add_dataset("ds-K-1300-A-notes", "K-1300", "A", "IMAN_reference", "Text", "K-1300/A handle notes");
  const std::string notes = add_dataset_file("ds-K-1300-A-notes", "Text", "K-1300-A-notes.txt");
  const std::string sketch = add_dataset_file("ds-K-1300-A-notes", "Image", "K-1300-A-sketch.png");
  const std::string scan = add_dataset_file("ds-K-1300-A-notes", "Image", "K-1300-A-scan.png");
  set_property("ds-K-1300-A-notes", refs("ref_list", {notes, "rev-K-1300-A", "", sketch, scan}));
  set_property("ds-K-1300-A-notes", strs("ref_names", {"Text", "IMAN_specification", "", "Image"}));
  classification.populate();
  managedrelations.populate();
  add_attribute_mapping(parts_of_cart());
  add_value_kinds();
}

// One object that arrives with a loaded value of every kind a typed getter
// reads, so a host reads each without a load. Its references point at forms
// that other objects reference already, so what can be deleted stays as it was.
void SampleWorld::add_value_kinds() {
  using namespace props;
  const Common::DateTime checked(2024, 3, 5, 8, 30, 0);
  add_object("kinds-1", {"ValueKinds", "POM_object"},
             {str("object_name", "Value kinds"), integer("kf_count", 42), real("kf_mass", 0.1),
              logical("kf_approved", true), character("kf_grade", 'B'), date("kf_checked_on", checked),
              ref("kf_owner", "form-K-1120-A"), strs("kf_keywords", {"cart", "frame", "weld"}),
              ints("kf_counts", {1, 2, 3}), reals("kf_masses", {0.5, 1.25}), logicals("kf_flags", {true, false}),
              chars("kf_grades", {'A', 'B'}), dates("kf_dates", {checked, Common::DateTime(2025, 1, 2, 0, 0, 0)}),
              refs("kf_parts", {"form-K-1120-A", "form-K-1120"})});
  set_policy("ValueKinds",
             {"object_name", "kf_count", "kf_mass", "kf_approved", "kf_grade", "kf_checked_on", "kf_owner",
              "kf_keywords", "kf_counts", "kf_masses", "kf_flags", "kf_grades", "kf_dates", "kf_parts"});
}

std::vector<std::string> SampleWorld::parts_of_cart() {
  return {"K-1000", "K-1100", "K-1110", "K-1120", "K-1200", "K-1210", "K-1220", "K-1230", "K-1300", "K-9001", "K-9002"};
}

// CAD attribute mapping: every master model is a "TOVMASTER" dataset whose
// title block maps the item id, the revision's description, a constant, a
// user preference and the material of the revision's master form. A second
// context ("Item", "DFA_KF") maps one revision property of every value type.
void SampleWorld::add_attribute_mapping(const std::vector<std::string>& item_ids) {
  using namespace props;
  add_object("dstype-TOVMASTER", {"DatasetType", "POM_object"}, {str("datasettype_name", "TOVMASTER")});
  add_object("dstype-DFA_KF", {"DatasetType", "POM_object"}, {str("datasettype_name", "DFA_KF")});
  add_object("status-released", {"ReleaseStatus", "POM_object"}, {str("object_name", "Released")});
  add_object("lov-materials", {"ListOfValuesString", "ListOfValues", "POM_object"},
             {str("lov_name", "Materials"), strs("lov_values", {"S235", "S355", "AlMg3"})});
  propdescriptor.set_list_of_values("ItemRevision Master", "material", "lov-materials");
  const std::vector<std::string> form_types = {"ItemRevision Master", "Form", "WorkspaceObject", "POM_object"};
  for (const auto& id : item_ids) {
    const auto* item = catalog.item(id);
    set_property(item->uid, read_only(str("item_id", id)));  // ids never change
    const std::string item_form = "form-" + id;
    add_object(item_form, {"Item Master", "Form", "WorkspaceObject", "POM_object"},
               {str("object_name", id), str("material", "S235")});
    set_property(item->uid, refs("OSTRA_master_form", {item_form}));
    for (const auto& revision_uid : item->revisions) {
      const auto* revision = catalog.revision(revision_uid);
      const std::string stem = id + "-" + revision->revision_id;
      const std::string form = "form-" + stem;
      add_object(form, form_types, {str("object_name", stem), str("material", "S355")});
      set_property(revision_uid, refs("OSTRA_master_form_rev", {form}));
      set_property(revision_uid, str("object_desc", item->name));
      const std::string dataset = "ds-" + stem + "-master";
      set_property(dataset, ref("dataset_type", "dstype-TOVMASTER"));
      set_property(dataset, refs("release_status_list", revision->released ? std::vector<std::string>{"status-released"}
                                                                           : std::vector<std::string>{}));
    }
  }
  // A revision whose description the server sends as null.
  set_property("rev-K-1100-A", null("object_desc", ValueType::String));

  using Definition = CadDataManagementWorld::Definition;
  auto mapping = [](std::string uid, int type, std::string title, std::string source, std::string property) {
    Definition d;
    d.uid = std::move(uid);
    d.mapping_type = type;
    d.title = std::move(title);
    d.source = std::move(source);
    d.property = std::move(property);
    d.description.value_type = static_cast<int>(ValueType::String);
    return d;
  };
  Definition part_no = mapping("attrdef-part-no", 1, "DB_PART_NO", "item", "item_id");
  part_no.cad_master = true;
  part_no.freezable = true;
  Definition part_desc = mapping("attrdef-part-desc", 2, "DB_PART_DESC", "revision", "object_desc");
  part_desc.cad_master = true;
  part_desc.freezable = true;
  part_desc.ostra_master = true;
  Definition company = mapping("attrdef-company", 3, "DB_COMPANY", "", "");
  company.constant_value = "Kestrel Works";
  company.freezable = true;
  Definition units = mapping("attrdef-units", 4, "DB_UNITS", "", "");
  units.preference_name = "OSTRA_cad_units";
  Definition material = mapping("attrdef-material", 1, "DB_MATERIAL", "master_form", "material");
  material.write_once = true;
  material.description.lov_uid = "lov-materials";
  for (const auto* d : {&part_no, &part_desc, &company, &units, &material}) caddatamanagement.add_definition(*d);
  caddatamanagement.set_context(
      "Item", "TOVMASTER",
      {"attrdef-part-no", "attrdef-part-desc", "attrdef-company", "attrdef-units", "attrdef-material"});
  set_preference("user", "OSTRA_cad_units", {"mm", "in"});

  // Every value type of the framework, and one code above them.
  struct Typed {
    const char* property;
    int value_type;
    bool is_array;
    WireProperty value;
  };
  const Typed typed[] = {
      {"kf_grade", 0, false, character("kf_grade", 'B')},
      {"kf_checked_on", 1, false, date("kf_checked_on", Common::DateTime(2024, 3, 5, 8, 30, 0))},
      {"kf_mass", 2, false, real("kf_mass", 0.1)},
      {"kf_scale", 3, false, real32("kf_scale", 1.5F)},
      {"kf_count", 4, false, integer("kf_count", 42)},
      {"kf_approved", 5, false, logical("kf_approved", false)},
      {"kf_offset", 6, false, int16("kf_offset", -3)},
      {"kf_keywords", 7, true, strs("kf_keywords", {"cart", "frame", "weld"})},
      {"kf_owner", 8, false, ref("kf_owner", "form-K-1120-A")},
  };
  std::vector<std::string> kf_definitions;
  for (const auto& t : typed) {
    Definition d = mapping(std::string("attrdef-") + t.property, 1, t.property, "revision", t.property);
    d.description.value_type = t.value_type;
    d.description.is_array = t.is_array;
    d.cad_master = true;
    caddatamanagement.add_definition(d);
    kf_definitions.push_back(d.uid);
    set_property("rev-K-1120-A", t.value);
  }
  Definition other = mapping("attrdef-kf_other", 1, "kf_other", "revision", "kf_other");
  other.description.value_type = 12;
  caddatamanagement.add_definition(other);
  WireProperty other_value;
  other_value.name = "kf_other";
  other_value.type = static_cast<ValueType>(12);
  other_value.display = {"12"};
  set_property("rev-K-1120-A", other_value);
  kf_definitions.push_back(other.uid);
  caddatamanagement.set_context("Item", "DFA_KF", std::move(kf_definitions));
  add_dataset("ds-K-1120-A-kf", "K-1120", "A", "OSTRA_specification", "DFA_KF", "K-1120/A knowledge fusion");
  set_property("ds-K-1120-A-kf", ref("dataset_type", "dstype-DFA_KF"));
  set_property("ds-K-1120-A-kf", refs("ref_list", {}));
  set_property("ds-K-1120-A-kf", refs("release_status_list", {}));
}

}  // namespace Halden::Soa::Server
