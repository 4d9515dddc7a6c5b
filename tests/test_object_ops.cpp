// Refresh, delete, reservation, related objects, property writing and items
// with their revisions, through the table against the sample world.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::ExpandedItem;
using Halden::Soa::Server::ExpandedRevision;
using Halden::Soa::Server::ExpandItemsOutput;
using Halden::Soa::Server::ExpandItemsPreference;
using Halden::Soa::Server::ExpandItemsReply;
using Halden::Soa::Server::RelatedObjectsReply;
using Halden::Soa::Server::RelationFilterRecord;
using Halden::Soa::Server::WireErrorStack;
using Halden::Soa::Server::WireObject;
using Halden::Soa::Server::WireServiceData;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::Invoke;
using ::testing::IsEmpty;
using ::testing::IsNull;
using ::testing::NotNull;
using ::testing::Pair;
using ::testing::Return;
using ::testing::Throw;
using namespace Halden::Soa::Server::props;

const std::vector<std::string> kPlainTypes = {"OstraNote", "WorkspaceObject", "POM_object"};

std::string not_found(const std::string& uid) {
  return "KRAL SOA: No SOA object found for Virel/Mgr object with UID " + uid + "\n";
}
std::string not_constructed(const std::string& uid) {
  return "KRAL SOA: No SOA object could be constructed for input uid " + uid;
}

MATCHER_P2(Info, code, message, "") { return arg.code == code && arg.message == message; }
MATCHER_P(Filter, relation, "") { return arg.relation == relation && arg.types.empty(); }
MATCHER_P(HasUid, uid, "") { return arg && arg->GetUid() == UString(uid); }

Orvane::PdmSoa::ModelObjectManager& host() { return *Orvane::PdmSoa::SoaManager::GetObjectManager(); }

class ObjectOpsTest : public SessionTest {
 protected:
  ObjectOpsTest() {
    // Notes reference nothing but each other; nothing references note-1 or note-3.
    world.add_object("note-1", kPlainTypes, {str("object_name", "First"), ref("attached", "note-2")});
    world.add_object("note-2", kPlainTypes, {str("object_name", "Second")});
    world.add_object("note-3", kPlainTypes, {str("object_name", "Third"), strs("keywords", {"old"})});
    ConnectAndLogin();
    Reset();
  }
  ~ObjectOpsTest() override {
    Halden::Soa::Client::testing::set_malformed_uids({});
    corerun::testing::set_timestamp("");
  }

  void Reset() {
    ClearRequests();
    clear_log();
  }

  // Host objects as the host gets them: through slot 6.
  std::vector<HostObject*> LoadAll(const std::vector<std::string>& uids) {
    std::vector<UString> names(uids.begin(), uids.end());
    std::vector<HostObject*> out;
    table->KESTREL_load_objects(names, &out);
    EXPECT_EQ(out.size(), uids.size());
    Reset();
    return out;
  }
  HostObject* Load(const std::string& uid) { return LoadAll({uid}).front(); }
  Orvane::PdmSoa::Item* LoadItem(const std::string& uid) { return dynamic_cast<Orvane::PdmSoa::Item*>(Load(uid)); }

  // A reply's object as a scripted reply names it.
  static WireObject Object(const std::string& uid, std::vector<std::string> types,
                           std::vector<Halden::Soa::Server::WireProperty> properties = {}) {
    return WireObject{uid, std::move(types), std::move(properties)};
  }

  const std::string& Text(HostObject* object, const std::string& name) {
    return table->KESTREL_get_object_property_string(object, name, true);
  }

  // A host object whose server object the session's model manager never made.
  HostObject* Stranger() {
    stranger_server = std::make_unique<ServerObject>("ghost-1", nullptr);
    stranger = std::make_unique<HostObject>(stranger_server.get());
    return stranger.get();
  }
  // A host object without a server object; an item, so every entry takes it.
  HostObject* Hollow() {
    hollow = std::make_unique<Orvane::PdmSoa::Item>(nullptr);
    return hollow.get();
  }

  std::unique_ptr<ServerObject> stranger_server;
  std::unique_ptr<HostObject> stranger;
  std::unique_ptr<HostObject> hollow;
};

// ---------------------------------------------------------------------------
// Refresh

TEST_F(ObjectOpsTest, RefreshSendsOneRequestUnderPolicyTwoAndReadsTheNewState) {
  HostObject* note = Load("note-1");
  EXPECT_EQ(Text(note, "object_name"), "First");
  world.set_property("note-1", str("object_name", "First, renamed"));
  EXPECT_CALL(datamanagement, refreshObjects(ElementsAre("note-1", "note-2")));
  table->KESTREL_refresh_objects({note, Load("note-2")});
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].operation, "refreshObjects");
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_EQ(Text(note, "object_name"), "First, renamed");
  EXPECT_EQ(log_text(), "");  // no debug flag, no lines
}

TEST_F(ObjectOpsTest, RefreshWritesItsDebugLinesAfterTheRequest) {
  auto notes = LoadAll({"note-1", "note-2"});
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  corerun::testing::set_timestamp("10-Dec-2026 12:00:00");
  EXPECT_CALL(datamanagement, refreshObjects(_)).WillOnce(Invoke([&](const std::vector<std::string>& uids) {
    EXPECT_EQ(log_text(), "");
    return world.datamanagement.refreshObjects(uids);
  }));
  table->KESTREL_refresh_objects(notes);
  EXPECT_EQ(log_text(),
            "KRAL SOA debug: SOA refresh called for 2 objects at 10-Dec-2026 12:00:00\n"
            "KRAL SOA debug: refresh of object of type OstraNote, uid note-1\n"
            "KRAL SOA debug: refresh of object of type OstraNote, uid note-2\n");
}

TEST_F(ObjectOpsTest, RefreshOfAnEmptyListStillSendsOneRequest) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  corerun::testing::set_timestamp("now");
  EXPECT_CALL(datamanagement, refreshObjects(IsEmpty()));
  table->KESTREL_refresh_objects({});
  EXPECT_THAT(Requests(), ElementsAre("refreshObjects"));
  EXPECT_EQ(log_text(), "KRAL SOA debug: SOA refresh called for 0 objects at now\n");
}

TEST_F(ObjectOpsTest, RefreshDropsTheReplyAndLeavesItsErrorsToTheListener) {
  HostObject* note = Load("note-1");
  EXPECT_CALL(datamanagement, refreshObjects(_)).WillOnce(Invoke([&](const auto& uids) {
    auto reply = world.datamanagement.refreshObjects(uids);
    reply.errors.push_back(WireErrorStack{"note-1", 0, "", {{7001, 3, "stale"}}});
    return reply;
  }));
  table->KESTREL_refresh_objects({note});
  ASSERT_EQ(host().error_reports.size(), 1u);
}

// ---------------------------------------------------------------------------
// Delete

TEST_F(ObjectOpsTest, DeleteRemovesWhatNothingReferencesAndReportsTheRest) {
  auto notes = LoadAll({"note-1", "note-2", "note-3"});
  // note-2 is referenced by note-1 until note-1 is gone: in request order,
  // note-2 first stays.
  const DeleteResult result = table->KESTREL_delete_objects({notes[1], notes[0], notes[2]});
  EXPECT_THAT(result.deleted_uids, ElementsAre("note-1", "note-3"));
  EXPECT_THAT(result.errors,
              ElementsAre(Info(515050, "The object note-2 cannot be deleted: other objects reference it.")));
  EXPECT_THAT(world.find("note-1"), IsNull());
  EXPECT_THAT(world.find("note-3"), IsNull());
  EXPECT_THAT(world.find("note-2"), NotNull());
  // The host hears of both through the listener as well.
  ASSERT_EQ(host().deleted_reports.size(), 1u);
  EXPECT_THAT(host().deleted_reports[0], ElementsAre("note-1", "note-3"));
  ASSERT_EQ(host().error_reports.size(), 1u);
  EXPECT_EQ(server.requests.at(0).policy, 2);

  // Now nothing references note-2.
  EXPECT_THAT(table->KESTREL_delete_objects({notes[1]}).deleted_uids, ElementsAre("note-2"));
}

// Every value of every stack, stacks in order then values by index; levels
// are neither kept nor filtered.
TEST_F(ObjectOpsTest, DeleteErrorsComeInStackOrderThenValueOrder) {
  auto notes = LoadAll({"note-1", "note-3"});
  EXPECT_CALL(datamanagement, deleteObjects(ElementsAre("note-1", "note-3"))).WillOnce(Invoke([](const auto&) {
    WireServiceData reply;
    reply.deleted = {"note-3"};
    reply.errors.push_back(WireErrorStack{"note-1", 0, "", {{101, 3, "first"}, {102, 1, "second"}}});
    reply.errors.push_back(WireErrorStack{"", -1, "", {}});
    reply.errors.push_back(WireErrorStack{"", 1, "", {{103, 2, "third"}}});
    return reply;
  }));
  const DeleteResult result = table->KESTREL_delete_objects(notes);
  EXPECT_THAT(result.deleted_uids, ElementsAre("note-3"));
  EXPECT_THAT(result.errors, ElementsAre(Info(101, "first"), Info(102, "second"), Info(103, "third")));
}

TEST_F(ObjectOpsTest, DeleteWithoutErrorsAnswersTheDeletedUidsInReplyOrder) {
  auto notes = LoadAll({"note-1", "note-3"});
  EXPECT_CALL(datamanagement, deleteObjects(_)).WillOnce(Invoke([](const auto&) {
    WireServiceData reply;
    reply.deleted = {"note-3", "note-1", "note-3"};
    return reply;
  }));
  const DeleteResult result = table->KESTREL_delete_objects(notes);
  EXPECT_THAT(result.deleted_uids, ElementsAre("note-3", "note-1", "note-3"));
  EXPECT_THAT(result.errors, IsEmpty());
}

// Delete finds objects by UID in the model manager, not through the host
// object's pointer.
TEST_F(ObjectOpsTest, DeleteOfAnObjectTheModelManagerDoesNotKnowRaisesBeforeAnyRequest) {
  HostObject* note = Load("note-1");
  EXPECT_THAT(
      [&] {
        table->KESTREL_delete_objects({note, Stranger()});
      },
      RaisesFrom(940205, not_found("ghost-1"), "kestrel_object.cpp"));
  EXPECT_THAT([&] { table->KESTREL_delete_objects({Hollow()}); },
              RaisesFrom(940205, not_found(""), "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_THAT(world.find("note-1"), NotNull());
}

TEST_F(ObjectOpsTest, DeleteOfAMalformedUidIsConvertedLikeAnyFrameworkError) {
  HostObject* note = Load("note-1");
  Halden::Soa::Client::testing::set_malformed_uids({"note-1"});
  EXPECT_THAT([&] { table->KESTREL_delete_objects({note}); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: Malformed UID note-1", "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---------------------------------------------------------------------------
// Reservation

TEST_F(ObjectOpsTest, CheckOutPassesCommentAndChangeIdThroughAndTheStateReadsBack) {
  auto notes = LoadAll({"note-1", "note-2"});
  EXPECT_CALL(reservation, checkout(ElementsAre("note-1", "note-2"), "", ""));
  table->KESTREL_checkout_objects(notes, "", "");
  EXPECT_CALL(reservation, checkout(ElementsAre("note-3"), "rework the hinge", "ECN-0042"));
  HostObject* third = Load("note-3");
  table->KESTREL_checkout_objects({third}, "rework the hinge", "ECN-0042");
  EXPECT_EQ(server.requests.back().policy, 2);

  EXPECT_EQ(Text(notes[0], "checked_out"), "Y");
  EXPECT_EQ(Text(third, "checkout_comment"), "rework the hinge");
  EXPECT_EQ(Text(third, "checkout_change_id"), "ECN-0042");
  EXPECT_THAT(table->KESTREL_get_object_property_object(third, "checked_out_user", true), HasUid("user-engineer"));
  EXPECT_THAT(host().error_reports, IsEmpty());
}

TEST_F(ObjectOpsTest, ReservationStateMovesThroughCheckOutCheckInAndCancel) {
  auto notes = LoadAll({"note-1", "note-2"});
  table->KESTREL_checkout_objects(notes, "c", "");
  table->KESTREL_checkin_objects({notes[0]});
  table->KESTREL_cancel_checkout({notes[1]});
  EXPECT_THAT(Requests(), ElementsAre("checkout", "checkin", "cancelCheckout"));
  for (const auto& r : server.requests) EXPECT_EQ(r.policy, 2) << r.operation;
  EXPECT_EQ(Text(notes[0], "checked_out"), "");
  EXPECT_EQ(Text(notes[1], "checked_out"), "");
  EXPECT_THAT(host().error_reports, IsEmpty());
}

// Refusals do not raise: the listener hands them to the host.
TEST_F(ObjectOpsTest, ReservationRefusalsReachTheHostThroughTheListener) {
  auto notes = LoadAll({"note-1", "note-2"});
  table->KESTREL_checkout_objects({notes[0]}, "", "");
  table->KESTREL_checkout_objects(notes, "", "");  // note-1 twice
  table->KESTREL_checkin_objects({notes[1]});      // note-2 now checked out: fine
  table->KESTREL_checkin_objects({notes[1]});      // not any more
  table->KESTREL_cancel_checkout({notes[1]});
  ASSERT_EQ(host().error_reports.size(), 3u);
  auto first_code = [](const auto& report) { return report->front()->GetErrorValues().front().code; };
  EXPECT_EQ(first_code(host().error_reports[0]), 32009);
  EXPECT_EQ(first_code(host().error_reports[1]), 32010);
  EXPECT_EQ(first_code(host().error_reports[2]), 32010);
  EXPECT_EQ(Text(notes[0], "checked_out"), "Y");
}

struct ReservationCase {
  const char* name;
  std::function<void(const KESTREL_interface_s*, const std::vector<HostObject*>&)> call;
};
void PrintTo(const ReservationCase& c, std::ostream* os) { *os << c.name; }

class MissingServerObject : public ObjectOpsTest, public ::testing::WithParamInterface<ReservationCase> {};

// Every object is checked before anything is sent: one without a server
// object, and one whose UID the session's model manager does not know.
TEST_P(MissingServerObject, RaisesNotFoundBeforeAnyRequest) {
  HostObject* note = Load("note-1");
  EXPECT_THAT(
      [&] {
        GetParam().call(table, {note, Hollow()});
      },
      RaisesFrom(940205, not_found(""), "kestrel_object.cpp"));
  EXPECT_THAT(
      [&] {
        GetParam().call(table, {note, Stranger()});
      },
      RaisesFrom(940205, not_found("ghost-1"), "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_P(MissingServerObject, AMalformedUidIsConvertedBeforeAnyRequest) {
  HostObject* note = Load("note-1");
  Halden::Soa::Client::testing::set_malformed_uids({"note-1"});
  EXPECT_THAT([&] { GetParam().call(table, {note}); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: Malformed UID note-1", "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Operations, MissingServerObject,
    ::testing::Values(ReservationCase{"refresh", [](auto t, const auto& o) { t->KESTREL_refresh_objects(o); }},
                      ReservationCase{"checkout",
                                      [](auto t, const auto& o) { t->KESTREL_checkout_objects(o, "", ""); }},
                      ReservationCase{"checkin", [](auto t, const auto& o) { t->KESTREL_checkin_objects(o); }},
                      ReservationCase{"cancel", [](auto t, const auto& o) { t->KESTREL_cancel_checkout(o); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Null entries and missing server objects of every list

struct ListCase {
  const char* name;
  const char* entry;
  std::function<void(const KESTREL_interface_s*, const std::vector<HostObject*>&)> call;
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

// The cases hand in items or nulls only.
std::vector<Orvane::PdmSoa::Item*> as_items(const std::vector<HostObject*>& objects) {
  std::vector<Orvane::PdmSoa::Item*> items;
  for (HostObject* o : objects) items.push_back(dynamic_cast<Orvane::PdmSoa::Item*>(o));
  return items;
}

const ListCase kListCases[] = {
    {"refresh", "KESTREL_refresh_objects", [](auto t, const auto& o) { t->KESTREL_refresh_objects(o); }},
    {"delete", "KESTREL_delete_objects", [](auto t, const auto& o) { t->KESTREL_delete_objects(o); }},
    {"checkout", "KESTREL_checkout_objects", [](auto t, const auto& o) { t->KESTREL_checkout_objects(o, "", ""); }},
    {"checkin", "KESTREL_checkin_objects", [](auto t, const auto& o) { t->KESTREL_checkin_objects(o); }},
    {"cancel", "KESTREL_cancel_checkout", [](auto t, const auto& o) { t->KESTREL_cancel_checkout(o); }},
    {"related_cad", "KESTREL_get_related_objects_cad",
     [](auto t, const auto& o) { delete t->KESTREL_get_related_objects_cad(o.back(), "attached"); }},
    {"related_core", "KESTREL_get_related_objects_core",
     [](auto t, const auto& o) { delete t->KESTREL_get_related_objects_core(o, {"attached"}); }},
    {"related_core_2", "KESTREL_get_related_objects_core_2",
     [](auto t, const auto& o) { delete t->KESTREL_get_related_objects_core_2(o, {"attached"}); }},
    {"set_properties", "KESTREL_set_properties",
     [](auto t, const auto& o) {
       t->KESTREL_set_properties(o, {{"object_name", {UString("x")}}});
     }},
    {"items_with_revisions", "KESTREL_get_items_with_revisions",
     [](auto t, const auto& o) { delete t->KESTREL_get_items_with_revisions(as_items(o), {}, false, 0); }},
};

class ListInput : public ObjectOpsTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListInput, ANullHostObjectRaisesBeforeAnyRequest) {
  HostObject* note = Load("item-K-1300");
  EXPECT_THAT(
      [&] {
        GetParam().call(table, {note, nullptr});
      },
      RaisesFrom(940208, std::string("KRAL SOA: Null object in ") + GetParam().entry, "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Entries, ListInput, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

class UnconstructedInput : public ObjectOpsTest, public ::testing::WithParamInterface<ListCase> {};

// Not just the first: every object is checked before anything is sent.
TEST_P(UnconstructedInput, AnyObjectWithoutAServerObjectRaisesBeforeAnyRequest) {
  HostObject* note = Load("item-K-1300");
  EXPECT_THAT(
      [&] {
        GetParam().call(table, {note, Hollow()});
      },
      RaisesFrom(940209, not_constructed(""), "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Entries, UnconstructedInput, ::testing::ValuesIn(kListCases + 5, kListCases + 10),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Related objects

TEST_F(ObjectOpsTest, CoreRelatedObjectsSendOneFilterPerRelationAndAnswerOneRecordPerOutput) {
  auto revisions = LoadAll({"rev-K-1000-B", "rev-K-1110-C"});
  EXPECT_CALL(datamanagement,
              expandPrimaryObjects(ElementsAre("rev-K-1000-B", "rev-K-1110-C"),
                                   ElementsAre(Filter("OSTRA_manifestation"), Filter("OSTRA_Rendering"))));
  std::unique_ptr<std::vector<RelatedObjects>> result(
      table->KESTREL_get_related_objects_core(revisions, {"OSTRA_manifestation", "OSTRA_Rendering"}));
  EXPECT_EQ(server.requests.at(0).policy, 2);
  ASSERT_THAT(result, NotNull());
  ASSERT_EQ(result->size(), 2u);
  const auto& first = (*result)[0];
  EXPECT_EQ(first.object, revisions[0]);
  ASSERT_EQ(first.groups.size(), 2u);
  EXPECT_EQ(first.groups[0]->name, "OSTRA_manifestation");
  EXPECT_THAT(first.groups[0]->objects, ElementsAre(HasUid("ds-K-1000-B-drawing")));
  EXPECT_EQ(first.groups[1]->name, "OSTRA_Rendering");
  EXPECT_THAT(first.groups[1]->objects, ElementsAre(HasUid("ds-K-1000-B-jt")));
  const auto& second = (*result)[1];
  EXPECT_EQ(second.object, revisions[1]);
  ASSERT_EQ(second.groups.size(), 2u);
  EXPECT_THAT(second.groups[0]->objects, IsEmpty());
  EXPECT_THAT(second.groups[1]->objects, IsEmpty());
  for (auto& record : *result)
    for (auto* group : record.groups) delete group;
}

// The second operation follows the relation the other way round.
TEST_F(ObjectOpsTest, TheSecondCoreOperationAnswersWhatReferencesTheObjects) {
  auto datasets = LoadAll({"ds-K-1000-B-drawing"});
  EXPECT_CALL(datamanagement,
              expandSecondaryObjects(ElementsAre("ds-K-1000-B-drawing"), ElementsAre(Filter("OSTRA_manifestation"))));
  std::unique_ptr<std::vector<RelatedObjects>> result(
      table->KESTREL_get_related_objects_core_2(datasets, {"OSTRA_manifestation"}));
  EXPECT_THAT(Requests(), ElementsAre("expandSecondaryObjects"));
  ASSERT_EQ(result->size(), 1u);
  ASSERT_EQ((*result)[0].groups.size(), 1u);
  EXPECT_THAT((*result)[0].groups[0]->objects, ElementsAre(HasUid("rev-K-1000-B")));
  delete (*result)[0].groups[0];
}

TEST_F(ObjectOpsTest, CoreRelatedObjectsOfAnEmptyListAnswerANewEmptyListWithoutARequest) {
  for (auto entry : {table->KESTREL_get_related_objects_core, table->KESTREL_get_related_objects_core_2}) {
    std::unique_ptr<std::vector<RelatedObjects>> result(entry({}, {"attached"}));
    ASSERT_THAT(result, NotNull());
    EXPECT_THAT(*result, IsEmpty());
  }
  EXPECT_THAT(server.requests, IsEmpty());
}

// Groups keep their names and order; objects of the reply that the host
// cannot wrap stay as null entries.
TEST_F(ObjectOpsTest, CoreRelatedObjectsKeepEveryGroupOfEveryOutput) {
  HostObject* note = Load("note-1");
  EXPECT_CALL(datamanagement, expandPrimaryObjects(_, _)).WillOnce(Invoke([](const auto&, const auto&) {
    RelatedObjectsReply reply;
    reply.outputs.push_back({"note-1", {{{"note-2", ""}, "b"}, {{}, "a"}}});
    reply.outputs.push_back({"", {{{"note-3"}, "c"}}});
    return reply;
  }));
  std::unique_ptr<std::vector<RelatedObjects>> result(table->KESTREL_get_related_objects_core({note}, {"x"}));
  ASSERT_EQ(result->size(), 2u);
  EXPECT_EQ((*result)[0].object, note);
  ASSERT_EQ((*result)[0].groups.size(), 2u);
  EXPECT_EQ((*result)[0].groups[0]->name, "b");
  EXPECT_THAT((*result)[0].groups[0]->objects, ElementsAre(HasUid("note-2"), IsNull()));
  EXPECT_EQ((*result)[0].groups[1]->name, "a");
  EXPECT_THAT((*result)[1].object, IsNull());
  EXPECT_THAT((*result)[1].groups[0]->objects, ElementsAre(HasUid("note-3")));
  for (auto& record : *result)
    for (auto* group : record.groups) delete group;
}

TEST_F(ObjectOpsTest, CadRelatedObjectsFollowTheReferencePropertyOfTheRelation) {
  HostObject* revision = Load("rev-K-1000-B");
  EXPECT_CALL(caddatamanagement, getRelatedObjects(ElementsAre("rev-K-1000-B"), ElementsAre(Filter("items_tag"))));
  std::unique_ptr<std::vector<HostObject*>> related(table->KESTREL_get_related_objects_cad(revision, "items_tag"));
  EXPECT_EQ(server.requests.at(0).policy, 2);
  ASSERT_THAT(related, NotNull());
  ASSERT_EQ(related->size(), 1u);
  EXPECT_THAT(dynamic_cast<Orvane::PdmSoa::Item*>(related->front()), NotNull());
  EXPECT_EQ(related->front()->GetUid(), UString("item-K-1000"));
}

TEST_F(ObjectOpsTest, CadRelatedObjectsReadTheFirstGroupOfTheFirstOutputOnly) {
  HostObject* note = Load("note-1");
  EXPECT_CALL(caddatamanagement, getRelatedObjects(_, _)).WillOnce(Invoke([&](const auto&, const auto&) {
    RelatedObjectsReply reply;
    reply.outputs.push_back({"note-1", {{{"note-2", "line-1", ""}, "attached"}, {{"note-3"}, "second"}}});
    reply.outputs.push_back({"note-3", {{{"note-3"}, "attached"}}});
    reply.data = world.reply_with({"note-2", "note-3"});
    reply.data.objects.push_back(WireObject{"line-1", {"BOMLine", "RuntimeBusinessObject"}, {}});
    return reply;
  }));
  std::unique_ptr<std::vector<HostObject*>> related(table->KESTREL_get_related_objects_cad(note, "attached"));
  // A BOM line is no PomObject; a null object stays a null entry.
  EXPECT_THAT(*related, ElementsAre(HasUid("note-2"), IsNull(), IsNull()));
}

TEST_F(ObjectOpsTest, CadRelatedObjectsOfAReplyWithoutGroupsAreAnEmptyList) {
  HostObject* note = Load("note-1");
  EXPECT_CALL(caddatamanagement, getRelatedObjects(_, _))
      .WillOnce(Return(RelatedObjectsReply{}))
      .WillOnce(Return(RelatedObjectsReply{{{"note-1", {}}}, {}}));
  for (int i = 0; i < 2; ++i) {
    std::unique_ptr<std::vector<HostObject*>> related(table->KESTREL_get_related_objects_cad(note, "attached"));
    ASSERT_THAT(related, NotNull());
    EXPECT_THAT(*related, IsEmpty());
  }
}

TEST_F(ObjectOpsTest, CadRelatedObjectsOfAnObjectWithoutServerObjectRaises) {
  EXPECT_THAT([&] { table->KESTREL_get_related_objects_cad(Hollow(), "attached"); },
              RaisesFrom(940209, not_constructed(""), "kestrel_object.cpp"));
  EXPECT_THAT([&] { table->KESTREL_get_related_objects_cad(nullptr, "attached"); },
              RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_get_related_objects_cad", "kestrel_object.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---------------------------------------------------------------------------
// Property writing

TEST_F(ObjectOpsTest, SetPropertiesSendsTheMapOnceAndEveryObjectReadsBothValues) {
  auto notes = LoadAll({"note-1", "note-2", "note-3"});
  world.set_property("note-1", strs("keywords", {}));
  world.set_property("note-2", strs("keywords", {}));
  using Values = std::map<std::string, std::vector<std::string>>;
  EXPECT_CALL(datamanagement,
              setProperties(ElementsAre("note-1", "note-2", "note-3"), Values{{"keywords", {"hinge", "steel"}}}));
  table->KESTREL_set_properties(notes, {{"keywords", {UString("hinge"), UString("steel")}}});
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].policy, 2);
  for (HostObject* note : notes)
    EXPECT_THAT(table->KESTREL_get_object_property_string_array(note, "keywords", true), ElementsAre("hinge", "steel"));
  EXPECT_THAT(host().error_reports, IsEmpty());
}

TEST_F(ObjectOpsTest, SetPropertiesOfSeveralNamesKeepsTheirOrderAndValues) {
  HostObject* note = Load("note-3");
  using Values = std::map<std::string, std::vector<std::string>>;
  EXPECT_CALL(datamanagement, setProperties(ElementsAre("note-3"),
                                            Values{{"keywords", {"b", "a", "b"}}, {"object_name", {"Renamed"}}}));
  table->KESTREL_set_properties(
      {note}, {{"object_name", {UString("Renamed")}}, {"keywords", {UString("b"), UString("a"), UString("b")}}});
  EXPECT_EQ(Text(note, "object_name"), "Renamed");
  EXPECT_THAT(table->KESTREL_get_object_property_string_array(note, "keywords", true), ElementsAre("b", "a", "b"));
}

TEST_F(ObjectOpsTest, SetPropertiesOfAnUnknownNameIsAPartialErrorNotARaise) {
  HostObject* note = Load("note-3");
  table->KESTREL_set_properties({note}, {{"no_such_property", {UString("x")}}});
  ASSERT_EQ(host().error_reports.size(), 1u);
  EXPECT_EQ(host().error_reports[0]->front()->GetErrorValues().front().code, 515001);
}

// ---------------------------------------------------------------------------
// Items with their revisions

TEST_F(ObjectOpsTest, ItemsWithRevisionsSendTheCallersTypesFlagAndMode) {
  auto* item = LoadItem("item-K-1110");
  EXPECT_CALL(
      caddatamanagement,
      expandItems(ElementsAre("item-K-1110"),
                  AllOf(Field(&ExpandItemsPreference::flag, true), Field(&ExpandItemsPreference::related_data_mode, 3),
                        Field(&ExpandItemsPreference::filters,
                              ElementsAre(AllOf(Field(&RelationFilterRecord::relation, ""),
                                                Field(&RelationFilterRecord::types, ElementsAre("PDF", "Text"))))))));
  std::unique_ptr<std::vector<HostObject*>> out(
      table->KESTREL_get_items_with_revisions({item}, {"PDF", "Text"}, true, 3));
  EXPECT_THAT(Requests(), ElementsAre("expandItems"));
  EXPECT_EQ(server.requests[0].policy, 2);
}

// Every revision, oldest first, each followed by its datasets of the types.
TEST_F(ObjectOpsTest, ItemsWithRevisionsAnswerTheWorldsItemsInTheirFlatOrder) {
  auto* frame = LoadItem("item-K-1110");
  auto* cart = LoadItem("item-K-1000");
  std::unique_ptr<std::vector<HostObject*>> out(
      table->KESTREL_get_items_with_revisions({frame, cart}, {"PDF", "Text"}, false, 0));
  EXPECT_THAT(*out, ElementsAre(HasUid("item-K-1110"), HasUid("rev-K-1110-A"), HasUid("rev-K-1110-B"),
                                HasUid("ds-K-1110-B-drawing"), HasUid("rev-K-1110-C"), HasUid("ds-K-1110-C-spec"),
                                HasUid("item-K-1000"), HasUid("rev-K-1000-A"), HasUid("ds-K-1000-A-drawing"),
                                HasUid("rev-K-1000-B"), HasUid("ds-K-1000-B-drawing")));
  EXPECT_TRUE(frame->HasAllRevisions());
  EXPECT_THAT(Orvane::PdmSoa::Item::KnownItems(), ElementsAre(Pair(UString("K-1000"), UString("item-K-1000")),
                                                              Pair(UString("K-1110"), UString("item-K-1110"))));
  EXPECT_THAT(frame->KnownRevs(),
              ElementsAre(Pair(UString("A"), UString("rev-K-1110-A")), Pair(UString("B"), UString("rev-K-1110-B")),
                          Pair(UString("C"), UString("rev-K-1110-C"))));
  EXPECT_TRUE(dynamic_cast<Orvane::PdmSoa::Dataset*>((*out)[3])->IsHighestVersion());
}

// Objects, then per item entry the item with its revisions each followed by
// its datasets, then the loose revisions each followed by theirs; nothing is
// merged, and only an item's own revisions are registered with it.
TEST_F(ObjectOpsTest, ItemsWithRevisionsFlattenAMixedReplyInItsExactOrder) {
  auto* item = LoadItem("item-K-1200");
  EXPECT_CALL(caddatamanagement, expandItems(_, _)).WillOnce(Invoke([&](const auto& uids, const auto& preference) {
    ExpandItemsReply reply = world.caddatamanagement.expandItems(uids, preference);
    ExpandItemsOutput& output = reply.outputs.at(0);
    output.objects = {"note-1", ""};
    output.items.at(0).revisions.push_back({"", {"ds-K-1000-A-drawing"}});  // no revision: its datasets are not taken
    output.items.push_back({"", {{"rev-K-1300-A", {"ds-K-1300-A-master"}}}});
    output.revisions = {{"rev-K-1100-A", {"ds-K-1100-A-jt", "ds-K-1100-A-master"}}, {"rev-K-1200-A", {}}};
    reply.outputs.push_back({"note-2", {"note-2"}, {}, {{"rev-K-1230-B", {}}}});
    auto extra = world.reply_with({"note-1", "note-2", "rev-K-1300-A", "ds-K-1300-A-master", "rev-K-1100-A",
                                   "ds-K-1100-A-jt", "ds-K-1100-A-master", "rev-K-1230-B"},
                                  {"item_revision_id"});
    for (auto& object : extra.objects) reply.data.objects.push_back(std::move(object));
    return reply;
  }));
  std::unique_ptr<std::vector<HostObject*>> out(table->KESTREL_get_items_with_revisions({item}, {}, false, 0));
  EXPECT_THAT(*out, ElementsAre(HasUid("note-1"), HasUid("item-K-1200"), HasUid("rev-K-1200-A"),
                                HasUid("ds-K-1200-A-master"), HasUid("rev-K-1200-B"), HasUid("ds-K-1200-B-jt"),
                                HasUid("ds-K-1200-B-master"), HasUid("rev-K-1300-A"), HasUid("ds-K-1300-A-master"),
                                HasUid("rev-K-1100-A"), HasUid("ds-K-1100-A-jt"), HasUid("ds-K-1100-A-master"),
                                HasUid("rev-K-1200-A"), HasUid("note-2"), HasUid("rev-K-1230-B")));
  // The loose revisions, and the revision of the entry without an item, are
  // no item's.
  EXPECT_THAT(item->KnownRevs(),
              ElementsAre(Pair(UString("A"), UString("rev-K-1200-A")), Pair(UString("B"), UString("rev-K-1200-B"))));
  EXPECT_TRUE(dynamic_cast<Orvane::PdmSoa::Dataset*>((*out)[10])->IsHighestVersion());
}

// An id that is not loaded would register under "" and hide the real entry.
TEST_F(ObjectOpsTest, ItemsWithRevisionsRegisterOnlyLoadedIds) {
  auto* item = LoadItem("item-K-1300");
  EXPECT_CALL(caddatamanagement, expandItems(_, _)).WillOnce(Invoke([&](const auto&, const auto&) {
    ExpandItemsReply reply;
    reply.outputs.push_back({"item-K-1300", {}, {{"item-K-1300", {{"rev-K-1300-A", {}}}}}, {}});
    reply.data = world.reply_with({"item-K-1300", "rev-K-1300-A"});  // the policy alone: no ids
    return reply;
  }));
  std::unique_ptr<std::vector<HostObject*>> out(table->KESTREL_get_items_with_revisions({item}, {}, false, 0));
  EXPECT_THAT(*out, ElementsAre(HasUid("item-K-1300"), HasUid("rev-K-1300-A")));
  EXPECT_THAT(Orvane::PdmSoa::Item::KnownItems(), IsEmpty());
  EXPECT_THAT(item->KnownRevs(), IsEmpty());
  EXPECT_TRUE(item->HasAllRevisions());
}

TEST_F(ObjectOpsTest, ItemsWithRevisionsKeepDuplicates) {
  auto* item = LoadItem("item-K-1300");
  std::unique_ptr<std::vector<HostObject*>> out(
      table->KESTREL_get_items_with_revisions({item, item}, {"PDF"}, false, 0));
  EXPECT_THAT(
      *out, ElementsAre(HasUid("item-K-1300"), HasUid("rev-K-1300-A"), HasUid("item-K-1300"), HasUid("rev-K-1300-A")));
}

// ---------------------------------------------------------------------------
// Conversion of the framework's exceptions

// Makes the mock's operation throw the framework's exception.
#define KESTREL_FAILING(mock, operation, Reply)                                \
  [](ObjectOpsConversion& t, const auto& fail) {                               \
    ON_CALL(t.mock, operation).WillByDefault([fail](const auto&...) -> Reply { \
      fail();                                                                  \
      return {};                                                               \
    });                                                                        \
  }

class ObjectOpsConversion : public ConversionTest<ObjectOpsConversion, ObjectOpsTest> {
 public:
  static constexpr const char* kFile = "kestrel_object.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"Refresh", KESTREL_FAILING(datamanagement, refreshObjects, WireServiceData),
         [](ObjectOpsConversion& t) { t.table->KESTREL_refresh_objects({t.Load("note-1")}); }},
        {"Delete", KESTREL_FAILING(datamanagement, deleteObjects, WireServiceData),
         [](ObjectOpsConversion& t) { t.table->KESTREL_delete_objects({t.Load("note-1")}); },
         [](ObjectOpsConversion& t) { EXPECT_THAT(t.world.find("note-1"), NotNull()); }},
        {"CheckOut", KESTREL_FAILING(reservation, checkout, WireServiceData),
         [](ObjectOpsConversion& t) { t.table->KESTREL_checkout_objects({t.Load("note-1")}, "", ""); }},
        {"CheckIn", KESTREL_FAILING(reservation, checkin, WireServiceData),
         [](ObjectOpsConversion& t) { t.table->KESTREL_checkin_objects({t.Load("note-1")}); }},
        {"CancelCheckOut", KESTREL_FAILING(reservation, cancelCheckout, WireServiceData),
         [](ObjectOpsConversion& t) { t.table->KESTREL_cancel_checkout({t.Load("note-1")}); }},
        {"RelatedCad", KESTREL_FAILING(caddatamanagement, getRelatedObjects, RelatedObjectsReply),
         [](ObjectOpsConversion& t) { delete t.table->KESTREL_get_related_objects_cad(t.Load("note-1"), "attached"); }},
        {"RelatedCore", KESTREL_FAILING(datamanagement, expandPrimaryObjects, RelatedObjectsReply),
         [](ObjectOpsConversion& t) {
           delete t.table->KESTREL_get_related_objects_core({t.Load("note-1")}, {"attached"});
         }},
        {"RelatedCore2", KESTREL_FAILING(datamanagement, expandSecondaryObjects, RelatedObjectsReply),
         [](ObjectOpsConversion& t) {
           delete t.table->KESTREL_get_related_objects_core_2({t.Load("note-1")}, {"attached"});
         }},
        {"SetProperties", KESTREL_FAILING(datamanagement, setProperties, WireServiceData),
         [](ObjectOpsConversion& t) {
           t.table->KESTREL_set_properties({t.Load("note-1")}, {{"object_name", {UString("x")}}});
         }},
        {"ItemsWithRevisions", KESTREL_FAILING(caddatamanagement, expandItems, ExpandItemsReply),
         [](ObjectOpsConversion& t) {
           delete t.table->KESTREL_get_items_with_revisions({t.LoadItem("item-K-1300")}, {}, false, 0);
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(ObjectOpsConversion);

}  // namespace
}  // namespace kestrel::test
