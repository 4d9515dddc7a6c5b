// BOM windows, top lines and line expansion through the legacy table.
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "legacy_fixture.h"
#include "objmodel/testing.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::BomWindowRequest;
using Halden::Soa::Server::ExpandInfo;
using Halden::Soa::Server::WireObject;
using Orvane::PdmSoa::VirelmgrBomLine;
using Orvane::PdmSoa::VirelmgrBomWindow;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::Invoke;
using ::testing::IsEmpty;
using ::testing::NotNull;
using ::testing::SaveArg;
using ::testing::Throw;

constexpr const char* kRevision = "rev-K-1000-B";

class BomTest : public LegacyTest {
 public:
  using LegacyTest::structuremanagement;
  using LegacyTest::table;

 protected:
  BomTest() {
    objmodel::testing::set_current_config_rule("Latest Working", "rule-latest-working");
    Connect();
    ClearRequests();
    clear_log();
  }
  ~BomTest() override {
    for (auto* window : windows_) Destroy(window);
    for (auto& lines : lines_)
      for (auto* line : *lines) Destroy(line);
  }

  VirelmgrBomWindow* Window(const char* uid = kRevision) {
    VirelmgrBomWindow* window = table->KESTREL_create_bom_window(uid);
    if (window) windows_.push_back(window);
    return window;
  }
  std::vector<VirelmgrBomLine*>& Expand(VirelmgrBomLine* line) {
    lines_.emplace_back(table->KESTREL_expand_bom_line(line));
    return *lines_.back();
  }
  static std::vector<std::string> Uids(const std::vector<VirelmgrBomLine*>& lines) {
    std::vector<std::string> uids;
    for (auto* line : lines) uids.push_back(line->GetUid());
    return uids;
  }
  void ExpectNoPolicy() {
    for (const auto& r : server.requests) EXPECT_EQ(r.policy, -1) << r.operation;
  }

 private:
  std::vector<VirelmgrBomWindow*> windows_;
  std::vector<std::unique_ptr<std::vector<VirelmgrBomLine*>>> lines_;
};

TEST_F(BomTest, WindowOpensOnTheRevisionUnderTheHostsRule) {
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_))
      .WillOnce(Invoke([&](const std::vector<BomWindowRequest>& requests) {
        EXPECT_EQ(requests.size(), 1U);
        sent = requests.front();
        return world.structuremanagement.createBomWindows(requests);
      }));
  VirelmgrBomWindow* window = Window();
  ASSERT_THAT(window, NotNull());
  EXPECT_EQ(sent.item_uid, "");
  EXPECT_EQ(sent.item_revision_uid, kRevision);
  EXPECT_EQ(sent.bom_view_uid, "");  // never asked of the host
  EXPECT_EQ(sent.config.rule_uid, "rule-latest-working");
  EXPECT_EQ(sent.config.client_id, "");
  EXPECT_THAT(cadlink::testing::bvr_lookups(), IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("createBomWindows"));
  ExpectNoPolicy();
  ASSERT_NE(window->GetObjectPtr(), nullptr);
  EXPECT_EQ(window->GetUid(), window->GetObjectPtr()->getUid());
  EXPECT_THAT(world.open_windows(), ElementsAre(window->GetUid()));
}

TEST_F(BomTest, NullHostGuidSendsNoRule) {
  objmodel::testing::set_current_config_rule("Latest Working", nullptr);
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_))
      .WillOnce(Invoke([&](const std::vector<BomWindowRequest>& requests) {
        sent = requests.front();
        return world.structuremanagement.createBomWindows(requests);
      }));
  EXPECT_THAT(Window(), NotNull());
  EXPECT_EQ(sent.config.rule_uid, "");
}

struct WindowFailure {
  const char* name;
  std::function<void(BomTest&)> arrange;
  int code;
  const char* text;
  bool sent;
  friend void PrintTo(const WindowFailure& c, std::ostream* os) { *os << c.name; }
};

class WindowFailureTest : public BomTest, public ::testing::WithParamInterface<WindowFailure> {};

TEST_P(WindowFailureTest, Raises) {
  const auto& c = GetParam();
  c.arrange(*this);
  const long allocated = corerun::testing::sm_live_blocks();
  EXPECT_THAT([&] { Window(); }, RaisesFrom(c.code, c.text, kLegacyFile));
  EXPECT_EQ(Requests().empty(), !c.sent);
  // The host's GUID text is freed whatever happens.
  EXPECT_EQ(corerun::testing::sm_live_blocks(), allocated);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WindowFailureTest,
    ::testing::Values(
        WindowFailure{"NoRevision",
                      [](BomTest&) { Halden::Soa::Client::testing::set_unconstructible_uids({kRevision}); }, 940209,
                      "SOA: construct object failed on uid = rev-K-1000-B\n", false},
        WindowFailure{"RuleGuidGivesNoObject",
                      [](BomTest&) {
                        objmodel::testing::set_current_config_rule("Odd", "rule-9");
                        Halden::Soa::Client::testing::set_unconstructible_uids({"rule-9"});
                      },
                      940032, "SOA: construct object failed on uid = rule-9\n", false},
        WindowFailure{"RuleGuidOfAnotherType",
                      [](BomTest& t) {
                        // The model manager already holds the UID as a revision.
                        t.table->constructObject("ItemRevision", "rev-K-1000-A");
                        objmodel::testing::set_current_config_rule("Odd", "rev-K-1000-A");
                      },
                      940032, "SOA: Cast to item revision failed, uid = rev-K-1000-A\n", false},
        WindowFailure{"ReplyWithoutOutputs",
                      [](BomTest& t) {
                        EXPECT_CALL(t.structuremanagement, createBomWindows).WillOnce(Invoke([] {
                          return Halden::Soa::Server::BomWindowsReply{};
                        }));
                      },
                      940209, "SOA: Failed to create BOM window for item rev uid = rev-K-1000-B\n", true},
        WindowFailure{"OutputWithoutWindow",
                      [](BomTest& t) {
                        EXPECT_CALL(t.structuremanagement, createBomWindows).WillOnce(Invoke([] {
                          Halden::Soa::Server::BomWindowsReply reply;
                          reply.outputs.push_back({});
                          return reply;
                        }));
                      },
                      940209, "SOA: Failed to create BOM window for item rev uid = rev-K-1000-B\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BomTest, RevisionUidOfAnotherTypeRaises) {
  table->constructObject("RevisionRule", "rule-latest-released");
  EXPECT_THAT([&] { Window("rule-latest-released"); },
              RaisesFrom(940209, "SOA: Cast to item revision failed, uid = rule-latest-released\n", kLegacyFile));
}

TEST_F(BomTest, TopLineIsTheHostsLineAndItsRevisionIsRegistered) {
  VirelmgrBomWindow* window = Window();
  ClearRequests();
  VirelmgrBomLine* top = table->KESTREL_ask_bom_top_line(window);
  ASSERT_THAT(top, NotNull());
  EXPECT_EQ(top, cadlink::testing::registered_instance(top->GetUid()));
  // "bl_revision" came with the session's policy: no forced load, no request.
  EXPECT_THAT(Requests(), IsEmpty());
  auto* revision =
      dynamic_cast<Orvane::PdmSoa::VirelmgrItemRevision*>(cadlink::testing::registered_instance(kRevision));
  ASSERT_THAT(revision, NotNull());
  EXPECT_EQ(revision->GetObjectPtr()->getUid(), kRevision);
}

TEST_F(BomTest, TopLineFailures) {
  EXPECT_THAT([&] { table->KESTREL_ask_bom_top_line(nullptr); },
              RaisesFrom(940208, "Null BOM window in KESTREL_ask_bom_top_line", kLegacyFile));
  // A window whose server object is no BOM window has no top line.
  Halden::Soa::Client::ModelObject* revision = table->constructObject("ItemRevision", kRevision);
  VirelmgrBomWindow odd("window-odd", revision);
  EXPECT_THAT([&] { table->KESTREL_ask_bom_top_line(&odd); },
              RaisesFrom(940209, "SOA: BOM window has no top line, window uid = window-odd\n", kLegacyFile));
  VirelmgrBomWindow empty("window-empty", nullptr);
  EXPECT_THAT([&] { table->KESTREL_ask_bom_top_line(&empty); },
              RaisesFrom(940209, "SOA: BOM window has no top line, window uid = window-empty\n", kLegacyFile));
}

// Windows whose server object names a top line the host cannot use.
class TopLineShapeTest : public BomTest {
 protected:
  // A window whose server object arrives shaped so.
  VirelmgrBomWindow* ShapedWindow(const std::function<void(WireObject&)>& shape) {
    ON_CALL(structuremanagement, createBomWindows(_)).WillByDefault([&, shape](const auto& requests) {
      auto reply = world.structuremanagement.createBomWindows(requests);
      for (auto& object : reply.data.objects)
        if (object.uid == reply.outputs[0].window_uid) shape(object);
      return reply;
    });
    VirelmgrBomWindow* window = Window();
    EXPECT_THAT(window, NotNull());
    ClearRequests();
    return window;
  }
};

TEST_F(TopLineShapeTest, TopLineOfAnotherTypeIsNoBomLine) {
  VirelmgrBomWindow* window =
      ShapedWindow([](WireObject& w) { w.properties = {Halden::Soa::Server::props::ref("top_line", kRevision)}; });
  EXPECT_THAT(
      [&] { table->KESTREL_ask_bom_top_line(window); },
      RaisesFrom(940209, "SOA: Returned top line not a valid BOM line, window uid = bomwindow-1\n", kLegacyFile));
  EXPECT_EQ(cadlink::testing::registered_instance(kRevision), nullptr);
}

TEST_F(TopLineShapeTest, TopLineReadFailureReachesTheHostAsThrown) {
  VirelmgrBomWindow* window = ShapedWindow([](WireObject& w) { w.properties.clear(); });
  EXPECT_THROW(table->KESTREL_ask_bom_top_line(window), Halden::Soa::Client::NotLoadedException);
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(BomTest, ExpansionAsksTheMasterModelsAndBuildsNewLinesEveryTime) {
  VirelmgrBomLine* top = table->KESTREL_ask_bom_top_line(Window());
  ClearRequests();
  ExpandInfo sent;
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(ElementsAre(top->GetUid()), _))
      .Times(2)
      .WillRepeatedly(Invoke([&](const std::vector<std::string>& uids, const ExpandInfo& info) {
        sent = info;
        return world.structuremanagement.expandBomLinesOneLevel(uids, info);
      }));
  const auto first = Expand(top);
  EXPECT_TRUE(sent.related_data);
  ASSERT_EQ(sent.filters.size(), 1U);
  EXPECT_EQ(sent.filters.front().relation, "OSTRA_specification");
  EXPECT_THAT(sent.filters.front().types, ElementsAre("TOVMASTER"));
  ASSERT_EQ(first.size(), 6U);
  const auto second = Expand(top);
  EXPECT_EQ(Uids(second), Uids(first));
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_NE(first[i], second[i]);
  EXPECT_THAT(Requests(), ElementsAre("expandBomLinesOneLevel", "expandBomLinesOneLevel"));
  ExpectNoPolicy();
  // Children's revisions and master models are the host's now.
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrItemRevision*>(cadlink::testing::registered_instance("rev-K-1100-A")),
            nullptr);
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrDataset*>(cadlink::testing::registered_instance("ds-K-1100-A-master")),
            nullptr);
}

TEST_F(BomTest, ChildWithoutALineStillRegistersItsData) {
  VirelmgrBomLine* top = table->KESTREL_ask_bom_top_line(Window());
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel).WillOnce(Invoke([&] {
    Halden::Soa::Server::ExpandBomLinesReply reply;
    reply.outputs.push_back({});
    reply.outputs.front().children.push_back({"", "rev-K-1100-A", {"ds-K-1100-A-master", ""}});
    reply.data = world.reply_with({"rev-K-1100-A", "ds-K-1100-A-master"});
    return reply;
  }));
  EXPECT_THAT(Expand(top), IsEmpty());
  EXPECT_NE(cadlink::testing::registered_instance("rev-K-1100-A"), nullptr);
  EXPECT_NE(cadlink::testing::registered_instance("ds-K-1100-A-master"), nullptr);
}

TEST_F(BomTest, ExpansionWithoutOutputsGivesAnEmptyList) {
  VirelmgrBomLine* top = table->KESTREL_ask_bom_top_line(Window());
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel).WillOnce(Invoke([] {
    return Halden::Soa::Server::ExpandBomLinesReply{};
  }));
  EXPECT_THAT(Expand(top), IsEmpty());
}

// A host object the host cannot build gives its memory back; an expansion
// that fails part-way gives back the lines it built before.
TEST_F(BomTest, WindowThatCannotBeBuiltLeavesNoMemoryBehind) {
  cadlink::testing::fail_construction({"bomwindow-1"});
  const long before = corerun::testing::cpp_live_blocks();
  EXPECT_THROW(Window(), std::bad_alloc);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(BomTest, ExpansionThatFailsPartWayLeavesNoMemoryBehind) {
  VirelmgrBomLine* top = table->KESTREL_ask_bom_top_line(Window());
  const auto built = Expand(top);
  ASSERT_EQ(built.size(), 6U);
  cadlink::testing::fail_construction({built[2]->GetUid()});
  const long before = corerun::testing::cpp_live_blocks();
  EXPECT_THROW(table->KESTREL_expand_bom_line(top), std::bad_alloc);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

// No entry converts a framework exception of its request.
class BomPassThroughTest : public BomTest {
 protected:
  template <class Exception>
  void ExpectEveryEntryToPass(const Exception& e) {
    SCOPED_TRACE(typeid(Exception).name());
    ON_CALL(structuremanagement, createBomWindows(_)).WillByDefault(Throw(e));
    ON_CALL(structuremanagement, closeBomWindows(_)).WillByDefault(Throw(e));
    ON_CALL(structuremanagement, expandBomLinesOneLevel(_, _)).WillByDefault(Throw(e));
    EXPECT_THROW(Window(), Exception);
    EXPECT_THROW(table->KESTREL_close_bom_window(window_), Exception);
    EXPECT_THROW(Expand(top_), Exception);
  }

  VirelmgrBomWindow* window_ = Window();
  VirelmgrBomLine* top_ = table->KESTREL_ask_bom_top_line(window_);
};

TEST_F(BomPassThroughTest, FrameworkExceptionsReachTheHostUnchanged) {
  ExpectEveryEntryToPass(Halden::Soa::Client::RuntimeException("lost"));
  ExpectEveryEntryToPass(Halden::Soa::Client::NotLoadedException("not loaded"));
  ExpectEveryEntryToPass(Halden::Soa::Common::Exceptions::SoaException("refused"));
}

TEST_F(BomTest, CloseSendsTheWindowAlone) {
  VirelmgrBomWindow* window = Window();
  ClearRequests();
  EXPECT_CALL(structuremanagement, closeBomWindows(ElementsAre(window->GetUid())));
  table->KESTREL_close_bom_window(window);
  ExpectNoPolicy();
}

TEST_F(BomTest, NullArgumentsRaiseBeforeAnyRequest) {
  EXPECT_THAT([&] { table->KESTREL_close_bom_window(nullptr); },
              RaisesFrom(940208, "Null BOM window in KESTREL_close_bom_window", kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_expand_bom_line(nullptr); },
              RaisesFrom(940208, "Null BOM line in KESTREL_expand_bom_line", kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(BomTest, HostObjectsWithoutServerObjectsRaiseBeforeAnyRequest) {
  VirelmgrBomWindow window("window-1", nullptr);
  VirelmgrBomLine line("line-1", nullptr);
  const char* text = "Error getting SOA object from KRAL object";
  EXPECT_THAT([&] { table->KESTREL_close_bom_window(&window); }, RaisesFrom(940209, text, kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_expand_bom_line(&line); }, RaisesFrom(940209, text, kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST(LegacyBom, EntriesWithoutAConnectionRaise940209) {
  int version = 0;
  KESTREL_interface_s* table = KESTREL_init_module(&version);
  VirelmgrBomWindow window("window-1", nullptr);
  VirelmgrBomLine line("line-1", nullptr);
  const char* text = "SOA: No connection object - SOA unavailable or not initialized";
  EXPECT_THAT([&] { table->KESTREL_create_bom_window(kRevision); }, RaisesFrom(940209, text, kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_close_bom_window(&window); }, RaisesFrom(940209, text, kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_expand_bom_line(&line); }, RaisesFrom(940209, text, kLegacyFile));
}

}  // namespace
}  // namespace kestrel::test
