// Trace links, the server-generation probe and the requirement full-text
// export.
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "kestrel_relation.h"
#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "objmodel/SoaManager.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Server::CreatedObjectsReply;
using Halden::Soa::Server::CreateRelationsReply;
using Halden::Soa::Server::ExportReply;
using Halden::Soa::Server::FullTextExportRecord;
using Halden::Soa::Server::RelationCreateRecord;
using Halden::Soa::Server::TraceLinkCreateRecord;
using Halden::Soa::Server::TraceReportReply;
using Halden::Soa::Server::TraceReportRequest;
using Halden::Soa::Server::WireServiceData;
using HostObject = Orvane::PdmSoa::ModelObject;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Return;
using ::testing::SizeIs;
using ::testing::Throw;

class ProbeTest : public SessionTest {
 protected:
  int SessionInfoRequests() const {
    int n = 0;
    for (const auto& r : server.requests) n += r.operation == "getSessionInfo";
    return n;
  }
};

struct VersionCase {
  const char* version;
  bool is_2007;
};

class ProbeVersionTest : public ProbeTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ProbeVersionTest, VersionTextBeginsWithV2007OrP2007) {
  world.set_server_version(GetParam().version);
  ConnectAndLogin();
  clear_log();
  EXPECT_EQ(is_server_version_2007(), GetParam().is_2007);
  EXPECT_EQ(log_text(), std::string("Halden Integration: Server version: ") + GetParam().version + "\n");
}

INSTANTIATE_TEST_SUITE_P(Versions, ProbeVersionTest,
                         ::testing::Values(VersionCase{"V2007.1.3", true}, VersionCase{"P2007.0.0", true},
                                           VersionCase{"V2007", true}, VersionCase{"P2009.1.0", false},
                                           VersionCase{"XV2007.1", false}, VersionCase{"v2007.1", false},
                                           VersionCase{"p2007.1", false}, VersionCase{"", false}),
                         [](const auto& info) {
                           std::string name = std::to_string(info.index) + "_";
                           for (const char* c = info.param.version; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

TEST_F(ProbeTest, AsksTheServerOncePerProcessEvenAcrossSessions) {
  world.set_server_version("V2007.2");
  ConnectAndLogin();
  ClearRequests();
  ASSERT_TRUE(is_server_version_2007());
  EXPECT_TRUE(is_server_version_2007());
  EXPECT_EQ(SessionInfoRequests(), 1);

  table->KESTREL_logout(false);
  world.set_server_version("P2009.1.0");
  ConnectAndLogin();
  ClearRequests();
  clear_log();
  EXPECT_TRUE(is_server_version_2007());
  EXPECT_EQ(SessionInfoRequests(), 0);
  EXPECT_EQ(log_text(), "");
}

TEST_F(ProbeTest, SentWithoutAPropertyPolicy) {
  ConnectAndLogin();
  SetActivePropertyPolicy(-1);
  ClearRequests();
  is_server_version_2007();
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].operation, "getSessionInfo");
  EXPECT_EQ(server.requests[0].policy, -1);
}

TEST_F(ProbeTest, AFailedProbeReachesTheCallerAndIsAskedAgain) {
  world.set_server_version("V2007.1");
  ConnectAndLogin();
  EXPECT_CALL(session, getSessionInfo())
      .WillOnce(Throw(RuntimeException("session lost")))
      .WillOnce(::testing::Invoke([this] { return world.session.getSessionInfo(); }));
  EXPECT_THROW(is_server_version_2007(), RuntimeException);
  EXPECT_TRUE(is_server_version_2007());
}

TEST_F(ProbeTest, WithoutAConnectionRaises940209) {
  EXPECT_THAT([] { is_server_version_2007(); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

// ---- trace links and full text

std::string Uid(const HostObject* object) { return object ? object->GetUid().utf8() : "(null)"; }

// One entry as "link: defining -> complying".
std::string Text(const TraceLinkEntry& e) {
  return Uid(e.link) + ": " + Uid(e.defining) + " -> " + Uid(e.complying) + (e.reserved ? " (reserved set)" : "");
}

std::vector<std::string> Texts(std::vector<TraceLinkEntry>* entries) {
  std::unique_ptr<std::vector<TraceLinkEntry>> owned(entries);
  std::vector<std::string> out;
  for (const auto& e : *owned) out.push_back(Text(e));
  return out;
}

Halden::Soa::Server::SampleWorld* current_world = nullptr;

// The host's related-objects entry, answered from the world's references
// as the host's secondary-object lookup expects.
std::vector<HostObject*>* related_objects(HostObject* object, const std::string& relation) {
  auto* models = SoaManager::GetSoaInterface()->KESTREL_ask_connection()->getModelManager();
  auto related = std::make_unique<std::vector<HostObject*>>();
  for (const auto& uid : current_world->managedrelations.secondaries_of(object->GetUid().utf8(), relation))
    related->push_back(SoaManager::GetObjectManager()->WrapSoaObject(models->loadObjects(uid)));
  return related.release();
}

struct Generation {
  const char* version;
  const char* link_prefix;
  const char* extension;
};

constexpr Generation kServer2007{"V2007.1.0", "tracelink-", "docx"};
constexpr Generation kNewerServer{"P2009.1.0", "fndlink-", "docm"};

// A session on a server of the generation, whose host finds related objects
// through the world.
class LinkTest : public SessionTest {
 protected:
  explicit LinkTest(const Generation& generation) : generation(generation) {
    world.set_server_version(generation.version);
    ConnectAndLogin();
    ClearRequests();
    current_world = &world;
    host_table = *table;
    host_table.KESTREL_get_related_objects_cad = &related_objects;
    SoaManager::SetSoaInterface(&host_table);
  }
  ~LinkTest() override { current_world = nullptr; }

  HostObject* Host(const std::string& uid) {
    std::vector<HostObject*> out;
    table->KESTREL_load_objects({UString(uid)}, &out);
    return out.empty() ? nullptr : out[0];
  }
  std::string Link(const std::string& key) const { return generation.link_prefix + key; }
  int Count(const std::string& operation) const {
    int n = 0;
    for (const auto& r : server.requests) n += r.operation == operation;
    return n;
  }
  // The policy in force for the last request of the operation; -2 when none was sent.
  int PolicyOf(const std::string& operation) const {
    int policy = -2;
    for (const auto& r : server.requests)
      if (r.operation == operation) policy = r.policy;
    return policy;
  }

  const Generation generation;
  KESTREL_interface_s host_table{};
};

class RelationTest : public LinkTest, public ::testing::WithParamInterface<Generation> {
 protected:
  RelationTest() : LinkTest(GetParam()) {}
};
class NewerServerTest : public LinkTest {
 protected:
  NewerServerTest() : LinkTest(kNewerServer) {}
};
class Server2007Test : public LinkTest {
 protected:
  Server2007Test() : LinkTest(kServer2007) {}
};

INSTANTIATE_TEST_SUITE_P(Generations, RelationTest,
                         ::testing::Values(kServer2007, Generation{"P2007.2", "tracelink-", "docx"}, kNewerServer),
                         [](const auto& info) {
                           return std::string(info.param.link_prefix).substr(0, 3) + std::to_string(info.index);
                         });

TEST_P(RelationTest, ComplyingObjectsPairEachLinkWithItsFarEnd) {
  std::vector<TraceReportRequest> sent;
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillOnce([&](const TraceReportRequest& request) {
    sent.push_back(request);
    return world.managedrelations.getTraceReport(request);
  });
  SetActivePropertyPolicy(-1);
  EXPECT_THAT(
      Texts(table->KESTREL_ask_complying_objects(Host("req-brake"))),
      ElementsAre(Link("brake-stop") + ": req-brake -> req-stop", Link("brake-wheel") + ": req-brake -> item-K-1200"));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].object_uid, "req-brake");
  EXPECT_EQ(sent[0].kind, "Complying");
  EXPECT_EQ(sent[0].depth, 1);
  for (const auto& r : server.requests) {
    if (r.operation == "getTraceReport") {
      EXPECT_EQ(r.policy, -1) << "no policy for the report";
    }
  }
}

TEST_P(RelationTest, DefiningObjectsPairEachLinkWithItsFarEnd) {
  HostObject* brake = Host("req-brake");
  SetActivePropertyPolicy(-1);
  EXPECT_THAT(Texts(table->KESTREL_ask_defining_objects(brake)),
              ElementsAre(Link("root-brake") + ": req-root -> req-brake"));
  EXPECT_EQ(PolicyOf("getTraceReport"), -1) << "no policy for the report";
  EXPECT_THAT(Texts(table->KESTREL_ask_defining_objects(Host("req-root"))), IsEmpty());
}

TEST_P(RelationTest, CreatedLinksAreReportedAfterwards) {
  std::unique_ptr<std::vector<HostObject*>> links(
      table->KESTREL_create_trace_links("Braking needs wheels", "why", {Host("req-root")}, {Host("item-K-1200")}));
  ASSERT_THAT(*links, SizeIs(1));
  ASSERT_NE((*links)[0], nullptr);
  EXPECT_EQ(Uid((*links)[0]).rfind(generation.link_prefix, 0), 0u) << Uid((*links)[0]);
  const auto entries = Texts(table->KESTREL_ask_complying_objects(Host("req-root")));
  EXPECT_THAT(entries, ElementsAre(Link("root-brake") + ": req-root -> req-brake",
                                   Uid((*links)[0]) + ": req-root -> item-K-1200"));
}

TEST_P(RelationTest, ExportSendsEveryFullTextInInputOrder) {
  std::vector<FullTextExportRecord> sent;
  EXPECT_CALL(requirementsmanagement, exportToApplication(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.requirementsmanagement.exportToApplication(records);
  });
  Host("req-stop");
  Host("req-brake");
  SetActivePropertyPolicy(-1);
  const FullTextExport result = table->KESTREL_export_fulltext_to_word({"req-stop", "req-brake"});
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[0].object_uid, "fulltext-stop");
  EXPECT_EQ(sent[1].object_uid, "fulltext-brake");
  EXPECT_EQ(sent[0].application_format, "MSWord");
  EXPECT_EQ(sent[0].text, "");
  EXPECT_THAT(result.texts, ElementsAre("export-fulltext-stop.docx", "export-fulltext-brake.docx"));
  EXPECT_EQ(result.extension, generation.extension);
  for (const auto& r : server.requests) {
    if (r.operation == "exportToApplication") {
      EXPECT_EQ(r.policy, -1);
    }
  }
}

TEST_F(NewerServerTest, OnlyWhatTheHostPresentsAsARelationIsALink) {
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillOnce([&](const TraceReportRequest&) {
    TraceReportReply reply;
    reply.complying = {{"req-brake", {"tracelink-brake-stop", "", "fndlink-brake-stop"}},
                       {"", {"fndlink-brake-wheel"}},
                       {"fndlink-brake-stop", {"req-stop"}}};
    reply.data = world.reply_with(
        {"req-brake", "tracelink-brake-stop", "fndlink-brake-stop", "fndlink-brake-wheel", "req-stop"});
    return reply;
  });
  EXPECT_THAT(Texts(table->KESTREL_ask_complying_objects(Host("req-brake"))),
              ElementsAre("fndlink-brake-stop: req-brake -> req-stop"));
}

TEST_F(Server2007Test, ALinkIsTypedTracelinkInAnyLetterCase) {
  world.add_object("odd-link", {"TRACELINK", "WorkspaceObject", "POM_object"});
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillOnce([&](const TraceReportRequest&) {
    TraceReportReply reply;
    reply.complying = {{"req-brake", {"odd-link", "fndlink-brake-stop", "tracelink-brake-wheel"}},
                       {"tracelink-brake-wheel", {}},
                       {"odd-link", {"req-stop", "item-K-1200"}}};
    reply.data = world.reply_with({"req-brake", "odd-link", "fndlink-brake-stop", "tracelink-brake-wheel", "req-stop"});
    return reply;
  });
  EXPECT_THAT(Texts(table->KESTREL_ask_complying_objects(Host("req-brake"))),
              ElementsAre("odd-link: req-brake -> req-stop", "tracelink-brake-wheel: req-brake -> (null)"));
}

// A link listed twice gives two entries; its node gives the far end to the
// first of them only.
TEST_F(Server2007Test, ALinkListedTwiceGivesItsFarEndToItsFirstEntry) {
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillOnce([&](const TraceReportRequest&) {
    TraceReportReply reply;
    reply.complying = {{"req-brake", {"tracelink-brake-stop", "tracelink-brake-wheel", "tracelink-brake-stop"}},
                       {"tracelink-brake-stop", {"req-stop"}},
                       {"tracelink-brake-wheel", {"item-K-1200"}}};
    reply.data =
        world.reply_with({"req-brake", "tracelink-brake-stop", "tracelink-brake-wheel", "req-stop", "item-K-1200"});
    return reply;
  });
  EXPECT_THAT(
      Texts(table->KESTREL_ask_complying_objects(Host("req-brake"))),
      ElementsAre("tracelink-brake-stop: req-brake -> req-stop", "tracelink-brake-wheel: req-brake -> item-K-1200",
                  "tracelink-brake-stop: req-brake -> (null)"));
}

TEST_F(NewerServerTest, DefiningTreeTakesTheQueriedNodesAndEveryIndirectOne) {
  SetActivePropertyPolicy(-1);
  EXPECT_THAT(Texts(table->KESTREL_ask_defining_tree(Host("req-stop"))),
              ElementsAre("fndlink-brake-stop: req-brake -> req-stop", "fndlink-root-brake: (null) -> req-brake",
                          "req-root: (null) -> fndlink-root-brake"));
  EXPECT_EQ(server.requests.back().operation, "getTraceReport");
  EXPECT_EQ(server.requests.back().policy, 2);
}

TEST_F(NewerServerTest, DefiningTreeDumpsItsTreesUnderCheckReq) {
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillRepeatedly([&](const TraceReportRequest&) {
    TraceReportReply reply;
    reply.defining = {{"req-stop", {"fndlink-brake-stop", ""}}};
    reply.indirect_complying = {{"", {}}};
    reply.data = world.reply_with({"req-stop", "fndlink-brake-stop"});
    return reply;
  });
  HostObject* stop = Host("req-stop");
  clear_log();
  delete table->KESTREL_ask_defining_tree(stop);
  EXPECT_EQ(log_text(), "") << "no dump without the flag";
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("CHECK_REQ", true);
  delete table->KESTREL_ask_defining_tree(stop);
  EXPECT_EQ(log_text(),
            "\n+++ definingTree size: 1"
            "\n+++ No.0 definingTree: parentUid = req-stop\n"
            "\n+++ childUid[0] = fndlink-brake-stop\n"
            "\n+++ childUid[1] = \n"
            "\n+++ End definingTree\n"
            "\n+++ indirectDefiningTree size: 0"
            "\n+++ End indirectDefiningTree\n"
            "\n+++ complyingTree size: 0"
            "\n+++ End complyingTree\n"
            "\n+++ indirectComplyingTree size: 1"
            "\n+++ No.0 indirectComplyingTree: parentUid = \n"
            "\n+++ End indirectComplyingTree\n");
}

TEST_F(NewerServerTest, ReportInputsWithoutServerObjectsRaise) {
  HostObject orphan(nullptr);
  EXPECT_THAT([&] { table->KESTREL_ask_complying_objects(nullptr); },
              RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_ask_complying_objects", "kestrel_relation.cpp"));
  EXPECT_THAT([&] { table->KESTREL_ask_defining_tree(&orphan); },
              Raises(940209, "KRAL SOA: No SOA object could be constructed for input uid "));
  EXPECT_THAT([&] { table->KESTREL_ask_defining_objects(&orphan); },
              Raises(940209, "KRAL SOA: No SOA object could be constructed for input uid "));
  EXPECT_THAT([&] { table->KESTREL_modify_trace_link(&orphan, {}, {}, {}, {}); },
              Raises(940209, "KRAL SOA: No SOA object could constructed for input uid "));
  EXPECT_THAT([&] { table->KESTREL_modify_trace_link(nullptr, {}, {}, {}, {}); },
              Raises(940208, "KRAL SOA: Null object in KESTREL_modify_trace_link"));
  EXPECT_EQ(Count("getTraceReport"), 0);
}

TEST_F(NewerServerTest, ReportFailuresAreConverted) {
  EXPECT_CALL(managedrelations, getTraceReport(_)).WillRepeatedly(::testing::Throw(RuntimeException("lost")));
  HostObject* brake = Host("req-brake");
  EXPECT_THAT([&] { table->KESTREL_ask_complying_objects(brake); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: lost", "kestrel_relation.cpp"));
  EXPECT_THAT([&] { table->KESTREL_ask_defining_tree(brake); },
              Raises(940222, "KRAL SOA: SOA runtime exception: lost"));
}

TEST_F(NewerServerTest, CreatingSendsOneRelationPerPrimary) {
  std::vector<RelationCreateRecord> sent;
  EXPECT_CALL(internaldatamanagement, createRelations(_)).WillOnce([&](const auto& records) {
    sent = records;
    auto reply = world.internaldatamanagement.createRelations(records);
    reply.outputs.push_back({"9", ""});
    return reply;
  });
  HostObject* root = Host("req-root");
  HostObject* stop = Host("req-stop");
  HostObject* wheel = Host("item-K-1200");
  SetActivePropertyPolicy(-1);
  std::unique_ptr<std::vector<HostObject*>> links(
      table->KESTREL_create_trace_links("ignored", "also ignored", {root, stop}, {wheel, root, stop}));
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[0].client_id, "0");
  EXPECT_EQ(sent[1].client_id, "1");
  EXPECT_EQ(sent[0].relation_type, "FND_TraceLink");
  EXPECT_EQ(sent[0].primary_uid, "req-root");
  EXPECT_EQ(sent[0].secondary_uid, "item-K-1200");
  EXPECT_EQ(sent[1].primary_uid, "req-stop");
  EXPECT_EQ(sent[1].secondary_uid, "req-root");
  EXPECT_EQ(sent[0].user_data_uid, "");
  EXPECT_EQ(server.requests.back().policy, 2);
  ASSERT_THAT(*links, SizeIs(2)) << "a null created link is left out";
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::Relation*>((*links)[0]), nullptr);
}

TEST_F(NewerServerTest, FewerSecondariesThanPrimariesRaiseBeforeAnything) {
  HostObject* root = Host("req-root");
  HostObject* stop = Host("req-stop");
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_create_trace_links("", "", {root, stop}, {root});
      },
      Raises(940208, "KRAL SOA: 2 primaries but only 1 secondaries in KESTREL_create_trace_links"));
  EXPECT_EQ(Count("createRelations"), 0);
}

TEST_F(NewerServerTest, NoPrimariesSendAnEmptyRequest) {
  EXPECT_CALL(internaldatamanagement, createRelations(IsEmpty()));
  std::unique_ptr<std::vector<HostObject*>> links(table->KESTREL_create_trace_links("", "", {}, {}));
  EXPECT_THAT(*links, IsEmpty());
}

TEST_F(Server2007Test, CreatingSendsOneRecordWithBothTextsAndLists) {
  std::vector<TraceLinkCreateRecord> sent;
  EXPECT_CALL(managedrelations, createTraceLink(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.managedrelations.createTraceLink(records);
  });
  HostObject* root = Host("req-root");
  HostObject* wheel = Host("item-K-1200");
  SetActivePropertyPolicy(-1);
  std::unique_ptr<std::vector<HostObject*>> links(table->KESTREL_create_trace_links("name", "desc", {root}, {wheel}));
  EXPECT_EQ(PolicyOf("createTraceLink"), 2);
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].text1, "name");
  EXPECT_EQ(sent[0].text2, "desc");
  EXPECT_THAT(sent[0].primary_uids, ElementsAre("req-root"));
  EXPECT_THAT(sent[0].secondary_uids, ElementsAre("item-K-1200"));
  ASSERT_THAT(*links, SizeIs(1));
  EXPECT_EQ((*links)[0]->GetObjectType().utf8(), "Tracelink");

  EXPECT_CALL(managedrelations,
              createTraceLink(ElementsAre(::testing::Field(&TraceLinkCreateRecord::primary_uids, IsEmpty()))));
  delete table->KESTREL_create_trace_links("", "", {}, {});
}

TEST_P(RelationTest, LinkEndsTheSessionDoesNotKnowRaise940205BeforeAnyRequest) {
  Halden::Soa::Client::Type type("Requirement", nullptr);
  Halden::Soa::Client::ModelObject ghost("req-ghost", &type);
  HostObject stranger(&ghost);
  HostObject* root = Host("req-root");
  ClearRequests();
  EXPECT_THAT([&] { table->KESTREL_create_trace_links("", "", {root}, {&stranger}); },
              RaisesFrom(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID req-ghost\n",
                         "kestrel_relation.cpp"));
  EXPECT_THAT(
      [&] {
        table->KESTREL_create_trace_links("", "", {root, nullptr}, {root});
      },
      Raises(940208, "KRAL SOA: Null object in KESTREL_create_trace_links"));
  EXPECT_EQ(Count("createRelations") + Count("createTraceLink"), 0);
}

// The 2007 server is sent the lists; a newer one is not (below).
TEST_F(Server2007Test, ANullEntryInAnyListOfAModificationRaisesBeforeTheModification) {
  HostObject* link = Host("tracelink-brake-stop");
  HostObject* root = Host("req-root");
  Halden::Soa::Client::Type type("Requirement", nullptr);
  Halden::Soa::Client::ModelObject ghost("req-ghost", &type);
  HostObject stranger(&ghost);
  // A null is named before a UID the session does not know, in any list.
  const std::vector<HostObject*> none, with_null = {root, nullptr}, unknown = {&stranger};
  ASSERT_TRUE(is_server_version_2007());
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE("list " + std::to_string(n + 1));
    ClearRequests();
    EXPECT_THAT(
        [&] {
          table->KESTREL_modify_trace_link(link, n == 0 ? with_null : unknown, n == 1 ? with_null : unknown,
                                           n == 2 ? with_null : unknown, n == 3 ? with_null : none);
        },
        RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_modify_trace_link", "kestrel_relation.cpp"));
    EXPECT_THAT(Requests(), IsEmpty());
  }
  EXPECT_THAT(world.managedrelations.modified(), IsEmpty());
}

TEST_F(Server2007Test, ModifyingSendsTheLinkAndTheFourListsInOrder) {
  HostObject* link = Host("tracelink-brake-stop");
  HostObject* root = Host("req-root");
  HostObject* stop = Host("req-stop");
  HostObject* wheel = Host("item-K-1200");
  SetActivePropertyPolicy(-1);
  table->KESTREL_modify_trace_link(link, {root}, {}, {stop, wheel}, {root});
  ASSERT_THAT(world.managedrelations.modified(), SizeIs(1));
  const auto& record = world.managedrelations.modified()[0];
  EXPECT_EQ(record.link_uid, "tracelink-brake-stop");
  EXPECT_THAT(record.list1, ElementsAre("req-root"));
  EXPECT_THAT(record.list2, IsEmpty());
  EXPECT_THAT(record.list3, ElementsAre("req-stop", "item-K-1200"));
  EXPECT_THAT(record.list4, ElementsAre("req-root"));
  EXPECT_EQ(server.requests.back().operation, "modifyTraceLink");
  EXPECT_EQ(server.requests.back().policy, 2);
}

TEST_F(Server2007Test, AModificationNamingAnObjectTheSessionDoesNotKnowRaises940205BeforeAnyRequest) {
  HostObject* link = Host("tracelink-brake-stop");
  HostObject* root = Host("req-root");
  Halden::Soa::Client::Type type("Requirement", nullptr);
  Halden::Soa::Client::ModelObject ghost("req-ghost", &type);
  HostObject stranger(&ghost);
  ASSERT_TRUE(is_server_version_2007());
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_modify_trace_link(link, {root}, {}, {root, &stranger}, {});
      },
      RaisesFrom(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID req-ghost\n",
                 "kestrel_relation.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(world.managedrelations.modified(), IsEmpty());
}

TEST_F(NewerServerTest, ModifyingRemovesTheLinkAndIgnoresTheLists) {
  HostObject* link = Host("fndlink-brake-stop");
  Halden::Soa::Client::Type type("Requirement", nullptr);
  Halden::Soa::Client::ModelObject ghost("req-ghost", &type);
  HostObject stranger(&ghost);
  EXPECT_CALL(datamanagement, deleteObjects(ElementsAre("fndlink-brake-stop")));
  SetActivePropertyPolicy(-1);
  ClearRequests();
  table->KESTREL_modify_trace_link(link, {&stranger, nullptr}, {nullptr}, {&stranger}, {nullptr, nullptr});
  ASSERT_THAT(Requests(), ElementsAre("getSessionInfo", "deleteObjects")) << "the lists are not read";
  EXPECT_EQ(server.requests[1].policy, -1) << "no policy for the removal";
  EXPECT_THAT(world.managedrelations.modified(), IsEmpty());
  EXPECT_THAT(Texts(table->KESTREL_ask_complying_objects(Host("req-brake"))),
              ElementsAre("fndlink-brake-wheel: req-brake -> item-K-1200"));
}

TEST_F(NewerServerTest, AFailedRemovalIsConverted) {
  EXPECT_CALL(datamanagement, deleteObjects(_)).WillOnce(::testing::Throw(RuntimeException("locked")));
  HostObject* link = Host("fndlink-brake-stop");
  EXPECT_THAT([&] { table->KESTREL_modify_trace_link(link, {}, {}, {}, {}); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: locked", "kestrel_relation.cpp"));
}

TEST_F(NewerServerTest, ExportFindsTheFullTextThroughTheHostsRelatedObjectsEntry) {
  SoaManager::SetSoaInterface(table);
  Host("req-brake");
  ClearRequests();
  const FullTextExport result = table->KESTREL_export_fulltext_to_word({"req-brake"});
  EXPECT_THAT(Requests(), ElementsAre("getRelatedObjects", "exportToApplication", "getSessionInfo"));
  EXPECT_THAT(result.texts, ElementsAre("export-fulltext-brake.docx"));
  EXPECT_EQ(result.extension, "docm");
}

TEST_F(NewerServerTest, ExportWithoutFullTextAsksNothing) {
  world.managedrelations.add_full_text("odd", "req-root", "Fulltext");
  Host("req-root");
  Host("item-K-1200");
  ClearRequests();
  const FullTextExport result = table->KESTREL_export_fulltext_to_word({"req-root", "item-K-1200"});
  EXPECT_THAT(result.texts, IsEmpty());
  EXPECT_EQ(result.extension, "");
  EXPECT_EQ(Count("exportToApplication"), 0);
  EXPECT_EQ(Count("getSessionInfo"), 0) << "the probe is not asked";
}

TEST_F(NewerServerTest, ExportOfAUidTheHostCannotResolveRaisesBeforeAnyRequest) {
  Host("req-brake");
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_export_fulltext_to_word({"req-brake", "req-nowhere"});
      },
      RaisesFrom(940205, "KRAL SOA: No SOA WorkspaceObject object found for Virel/Mgr object with UID req-nowhere\n",
                 "kestrel_relation.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

Halden::Soa::Client::Type ghost_type("FullText", nullptr);
Halden::Soa::Client::ModelObject ghost_text("fulltext-ghost", &ghost_type);
Orvane::PdmSoa::WorkspaceObject ghost_host(&ghost_text);

std::vector<HostObject*>* ghostly_objects(HostObject*, const std::string&) {
  return new std::vector<HostObject*>{nullptr, &ghost_host};
}

TEST_F(NewerServerTest, AFullTextTheSessionDoesNotKnowRaisesWithTheInputUid) {
  host_table.KESTREL_get_related_objects_cad = &ghostly_objects;
  Host("req-brake");
  ClearRequests();
  EXPECT_THAT(
      [&] { table->KESTREL_export_fulltext_to_word({"req-brake"}); },
      Raises(940205, "KRAL SOA: No SOA WorkspaceObject object found for Virel/Mgr object with UID req-brake\n"));
  EXPECT_EQ(Count("exportToApplication"), 0);
}

// ---- the framework's exceptions of every converted request

template <class Reply>
auto Failing(const std::function<void()>& fail) {
  return [fail](const auto&...) -> Reply {
    fail();
    return {};
  };
}

class Server2007Conversion : public ConversionTest<Server2007Conversion, Server2007Test> {
 public:
  static constexpr const char* kFile = "kestrel_relation.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"DefiningObjects",
         [](auto& t, const auto& fail) {
           ON_CALL(t.managedrelations, getTraceReport(_)).WillByDefault(Failing<TraceReportReply>(fail));
         },
         [](auto& t) { delete t.table->KESTREL_ask_defining_objects(t.Host("req-brake")); }},
        {"CreateLinks",
         [](auto& t, const auto& fail) {
           ON_CALL(t.managedrelations, createTraceLink(_)).WillByDefault(Failing<CreatedObjectsReply>(fail));
         },
         [](auto& t) {
           delete t.table->KESTREL_create_trace_links("", "", {t.Host("req-root")}, {t.Host("req-stop")});
         }},
        {"ModifyLink",
         [](auto& t, const auto& fail) {
           ON_CALL(t.managedrelations, modifyTraceLink(_)).WillByDefault(Failing<WireServiceData>(fail));
         },
         [](auto& t) { t.table->KESTREL_modify_trace_link(t.Host("tracelink-brake-stop"), {}, {}, {}, {}); },
         [](auto& t) { EXPECT_THAT(t.world.managedrelations.modified(), IsEmpty()); }},
        {"ExportFullText",
         [](auto& t, const auto& fail) {
           ON_CALL(t.requirementsmanagement, exportToApplication(_)).WillByDefault(Failing<ExportReply>(fail));
         },
         [](auto& t) {
           t.Host("req-brake");
           t.table->KESTREL_export_fulltext_to_word({"req-brake"});
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(Server2007Conversion);

class NewerServerConversion : public ConversionTest<NewerServerConversion, NewerServerTest> {
 public:
  static constexpr const char* kFile = "kestrel_relation.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"ComplyingObjects",
         [](auto& t, const auto& fail) {
           ON_CALL(t.managedrelations, getTraceReport(_)).WillByDefault(Failing<TraceReportReply>(fail));
         },
         [](auto& t) { delete t.table->KESTREL_ask_complying_objects(t.Host("req-brake")); }},
        {"DefiningTree",
         [](auto& t, const auto& fail) {
           ON_CALL(t.managedrelations, getTraceReport(_)).WillByDefault(Failing<TraceReportReply>(fail));
         },
         [](auto& t) { delete t.table->KESTREL_ask_defining_tree(t.Host("req-stop")); }},
        {"CreateRelations",
         [](auto& t, const auto& fail) {
           ON_CALL(t.internaldatamanagement, createRelations(_)).WillByDefault(Failing<CreateRelationsReply>(fail));
         },
         [](auto& t) {
           delete t.table->KESTREL_create_trace_links("", "", {t.Host("req-root")}, {t.Host("req-stop")});
         }},
        {"RemoveLink",
         [](auto& t, const auto& fail) {
           ON_CALL(t.datamanagement, deleteObjects(_)).WillByDefault(Failing<WireServiceData>(fail));
         },
         [](auto& t) { t.table->KESTREL_modify_trace_link(t.Host("fndlink-brake-stop"), {}, {}, {}, {}); },
         [](auto& t) { EXPECT_THAT(t.world.find("fndlink-brake-stop"), ::testing::NotNull()); }},
        {"ExportFullText",
         [](auto& t, const auto& fail) {
           ON_CALL(t.requirementsmanagement, exportToApplication(_)).WillByDefault(Failing<ExportReply>(fail));
         },
         [](auto& t) {
           t.Host("req-brake");
           t.table->KESTREL_export_fulltext_to_word({"req-brake"});
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(NewerServerConversion);

}  // namespace
}  // namespace kestrel::test
