// BOM windows under the current revision rule, their top lines, line
// expansion with related data and lines found by paths, against the sample
// world's utility cart.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::BomLinesByPathReply;
using Halden::Soa::Server::BomPathRequest;
using Halden::Soa::Server::BomWindowRequest;
using Halden::Soa::Server::BomWindowsReply;
using Halden::Soa::Server::ExpandBomLinesReply;
using Halden::Soa::Server::ExpandInfo;
using Halden::Soa::Server::RelationFilterRecord;
using Halden::Soa::Server::WireObject;
using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::BomWindow;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::DoAll;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::NotNull;
using ::testing::SaveArg;
using ::testing::SizeIs;

std::string Uid(const Orvane::PdmSoa::ModelObject* object) { return object->GetUid().utf8(); }

std::string LineText(const Orvane::PdmSoa::ModelObject* line, const char* name) {
  return line->GetObjectPtr()->getProperty(name)->getStringValue();
}

// "item/revision" of each line, in order.
std::vector<std::string> Shown(const std::vector<BomLine*>& lines) {
  std::vector<std::string> shown;
  for (const auto* line : lines)
    shown.push_back(LineText(line, "bl_item_item_id") + "/" + LineText(line, "bl_rev_item_revision_id"));
  return shown;
}

bool HostHolds(const std::string& uid) { return SoaManager::GetObjectManager()->FindObject(UString(uid)) != nullptr; }

class BomTest : public SessionTest {
 protected:
  BomTest() { ConnectAndLogin(); }
  ~BomTest() override {
    for (auto& list : owned_)
      for (BomLine* line : *list) delete line;
  }

  // The revision as the host holds it once the library found it.
  ItemRevision* Revision(const std::string& item_id, const std::string& revision_id) {
    ItemRevision* revision = table->KESTREL_get_item_revision_by_id(item_id, revision_id, 0);
    EXPECT_THAT(revision, NotNull());
    return revision;
  }

  BomWindow* Window(const std::string& item_id, const std::string& revision_id) {
    BomWindow* window = table->KESTREL_create_bom_window(Uid(Revision(item_id, revision_id)));
    EXPECT_THAT(window, NotNull());
    return window;
  }

  BomLine* TopLine(const std::string& item_id, const std::string& revision_id) {
    BomLine* top = table->KESTREL_ask_bom_top_line(Window(item_id, revision_id));
    ClearRequests();
    return top;
  }

  // Keeps the one window request sent and answers it from the world.
  BomWindowsReply SentWindow(const std::vector<BomWindowRequest>& requests, BomWindowRequest* sent) {
    EXPECT_THAT(requests, SizeIs(1));
    if (!requests.empty()) *sent = requests[0];
    return world.structuremanagement.createBomWindows(requests);
  }

  // Child lines and their lists are the host's; here the test is the host.
  std::vector<BomLine*> Own(std::vector<BomLine*>* lines) {
    owned_.emplace_back(lines);
    return *lines;
  }
  std::vector<std::vector<BomLine*>> Own(std::vector<std::vector<BomLine*>*>* lists) {
    std::unique_ptr<std::vector<std::vector<BomLine*>*>> outer(lists);
    std::vector<std::vector<BomLine*>> out;
    for (auto* list : *outer) out.push_back(Own(list));
    return out;
  }

  std::vector<std::unique_ptr<std::vector<BomLine*>>> owned_;
};

// --- windows -----------------------------------------------------------------

TEST_F(BomTest, WindowOpensOnTheRevisionAndItsViewUnderTheCachedRule) {
  ItemRevision* revision = Revision("K-1000", "B");
  ClearRequests();
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(SizeIs(1)))
      .WillOnce([&](const auto& requests) { return SentWindow(requests, &sent); })
      .RetiresOnSaturation();

  BomWindow* window = table->KESTREL_create_bom_window("rev-K-1000-B");

  ASSERT_THAT(window, NotNull());
  EXPECT_EQ(Uid(window), "bomwindow-1");
  EXPECT_THAT(cadlink::testing::bvr_lookups(), ElementsAre("rev-K-1000-B"));
  EXPECT_EQ(sent.client_id, "");
  EXPECT_EQ(sent.item_uid, "");
  EXPECT_EQ(sent.item_revision_uid, Uid(revision));
  EXPECT_EQ(sent.bom_view_uid, "bvr-K-1000-B");
  EXPECT_EQ(sent.config.rule_uid, "rule-latest-working");
  EXPECT_EQ(sent.config.client_id, "Latest Working");
  EXPECT_TRUE(sent.config.date.isNullDate());
  EXPECT_FALSE(sent.config.today);
  EXPECT_EQ(sent.config.end_item_uid, "");
  EXPECT_THAT(sent.config.override_folder_uids, IsEmpty());
  ASSERT_EQ(server.requests.back().operation, "createBomWindows");
  EXPECT_EQ(server.requests.back().policy, 2);
  EXPECT_THAT(world.open_windows(), ElementsAre("bomwindow-1"));
}

struct RuleCase {
  const char* name;
  bool use_soa_in_pdi;
  const char* host_rule;  // the host's current rule name and GUID
  const char* host_guid;
  const char* selected;  // selected through slot 128 first, or null
  const char* sent_rule;
  const char* sent_name;
  bool debug_line;
};
void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class WindowRuleTest : public BomTest, public ::testing::WithParamInterface<RuleCase> {};

// Which rule the window request carries: the cache's when the host works
// through the session and it has a rule object, else the host's by GUID.
TEST_P(WindowRuleTest, RequestCarriesTheChosenRule) {
  const RuleCase& c = GetParam();
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  objmodel::testing::set_use_soa_in_pdi(c.use_soa_in_pdi);
  if (c.selected) {
    ASSERT_EQ(table->KESTREL_set_configuration_rule(c.selected, false), 0);
  }
  objmodel::testing::set_current_config_rule(c.host_rule, c.host_guid);
  const std::string uid = Uid(Revision("K-1000", "B"));
  clear_log();
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_)).WillOnce([&](const auto& requests) {
    return SentWindow(requests, &sent);
  });
  const long blocks = corerun::testing::sm_live_blocks();

  ASSERT_THAT(table->KESTREL_create_bom_window(uid), NotNull());

  EXPECT_EQ(sent.config.rule_uid, c.sent_rule);
  EXPECT_EQ(sent.config.client_id, c.sent_name);
  EXPECT_EQ(log_text().find("KRAL SOA debug: KESTREL_get_soa_config_rule did not return a rule") != std::string::npos,
            c.debug_line);
  EXPECT_EQ(corerun::testing::sm_live_blocks(), blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowRuleTest,
    ::testing::Values(RuleCase{"CachedRuleOverHostGuid", true, "Latest Working", "rule-latest-working",
                               "Latest Released", "rule-latest-released", "Latest Released", false},
                      RuleCase{"HostGuidWithoutSoaInPdi", false, "Latest Working", "rule-latest-working",
                               "Latest Released", "rule-latest-working", "", false},
                      RuleCase{"NoRuleForANullGuid", false, "Latest Working", nullptr, nullptr, "", "", false},
                      RuleCase{"HostGuidWhenTheCacheHasNone", true, nullptr, "rule-latest-released", nullptr,
                               "rule-latest-released", "", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BomTest, HostGuidOfAnotherTypeRaisesBeforeAnyRequest) {
  objmodel::testing::set_use_soa_in_pdi(false);
  const std::string uid = Uid(Revision("K-1000", "B"));
  objmodel::testing::set_current_config_rule("Latest Working", uid.c_str());
  ClearRequests();
  const long blocks = corerun::testing::sm_live_blocks();

  EXPECT_THAT([&] { table->KESTREL_create_bom_window(uid); },
              Raises(940032, "KRAL SOA: Cast to item revision failed, uid = rev-K-1000-B\n"));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_EQ(corerun::testing::sm_live_blocks(), blocks);
}

struct LookupCase {
  const char* name;
  bool answer;
  bool give_revision;
  bool give_view;
  const char* sent_view;  // null: raises
  int code;
  const char* text;
};
void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class WindowLookupTest : public BomTest, public ::testing::WithParamInterface<LookupCase> {};

// What the host's revision lookup answers decides the revision and view sent.
TEST_P(WindowLookupTest, HostAnswerDecidesRevisionAndView) {
  const LookupCase& c = GetParam();
  ItemRevision* revision = Revision("K-1000", "B");
  auto* view = revision->GetPropertyObject("structure_revisions");
  ASSERT_THAT(view, NotNull());
  cadlink::testing::set_bvr_lookup(
      [&](const char*, ItemRevision** out_revision, Orvane::PdmSoa::ModelObject**, Orvane::PdmSoa::ModelObject** bvr) {
        if (c.give_revision) *out_revision = revision;
        if (c.give_view) *bvr = view;
        return c.answer;
      });
  ClearRequests();

  if (!c.sent_view) {
    EXPECT_THAT([&] { table->KESTREL_create_bom_window("rev-K-1000-B"); },
                RaisesFrom(c.code, c.text, "kestrel_bom.cpp"));
    EXPECT_THAT(Requests(), IsEmpty());
    return;
  }
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_)).WillOnce([&](const auto& requests) {
    return SentWindow(requests, &sent);
  });
  EXPECT_THAT(table->KESTREL_create_bom_window("rev-K-1000-B"), NotNull());
  EXPECT_EQ(sent.item_revision_uid, "rev-K-1000-B");
  EXPECT_EQ(sent.bom_view_uid, c.sent_view);
}

INSTANTIATE_TEST_SUITE_P(Lookups, WindowLookupTest,
                         ::testing::Values(LookupCase{"RevisionAndView", true, true, true, "bvr-K-1000-B", 0, ""},
                                           LookupCase{"TrueWithoutView", true, true, false, "", 0, ""},
                                           LookupCase{"FalseButRevisionFilled", false, true, true, "", 0, ""},
                                           LookupCase{"NoRevision", true, false, true, nullptr, 940209,
                                                      "KRAL SOA: failed to find item_rev = rev-K-1000-B\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BomTest, RevisionWithoutServerObjectRaises) {
  ItemRevision orphan(nullptr);
  cadlink::testing::set_bvr_lookup([&](const char*, ItemRevision** revision, auto**, auto**) {
    *revision = &orphan;
    return true;
  });
  EXPECT_THAT([&] { table->KESTREL_create_bom_window("rev-9"); },
              Raises(940209, "KRAL SOA: construct object failed on uid = rev-9\n"));
}

TEST_F(BomTest, ReplyWithoutOutputsRaisesAndSeveralGiveTheFirst) {
  const std::string uid = Uid(Revision("K-1000", "B"));
  EXPECT_CALL(structuremanagement, createBomWindows(_))
      .WillOnce([](const auto&) { return BomWindowsReply{}; })
      .WillOnce([&](const auto& requests) {
        auto reply = world.structuremanagement.createBomWindows({requests[0], requests[0]});
        EXPECT_THAT(reply.outputs, SizeIs(2));
        return reply;
      });

  EXPECT_THAT([&] { table->KESTREL_create_bom_window(uid); },
              Raises(940209, "KRAL SOA: Failed to create BOM window for item rev uid = rev-K-1000-B\n"));
  BomWindow* window = table->KESTREL_create_bom_window(uid);
  ASSERT_THAT(window, NotNull());
  EXPECT_EQ(Uid(window), "bomwindow-1");
}

TEST_F(BomTest, CloseSendsTheWindowAndLeavesTheHostObject) {
  BomWindow* window = Window("K-1000", "B");
  ClearRequests();
  EXPECT_CALL(structuremanagement, closeBomWindows(ElementsAre("bomwindow-1")));

  table->KESTREL_close_bom_window(window);

  ASSERT_THAT(Requests(), ElementsAre("closeBomWindows"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_THAT(world.open_windows(), IsEmpty());
  EXPECT_EQ(SoaManager::GetObjectManager()->FindObject(UString("bomwindow-1")), window);
}

// The sample server keeps nothing of a closed window's lines, and nothing of
// another window goes with them; expanding one of them is refused.
TEST_F(BomTest, ClosedWindowsLinesAreGoneFromTheServer) {
  BomWindow* window = Window("K-1000", "B");
  BomLine* top = table->KESTREL_ask_bom_top_line(window);
  const std::vector<BomLine*> children = Own(table->KESTREL_expand_bom_line(top, 0));
  ASSERT_THAT(children, SizeIs(6));
  BomLine* other_top = TopLine("K-1200", "B");
  Own(table->KESTREL_expand_bom_line(other_top, 0));
  ASSERT_THAT(world.find(Uid(children[0])), NotNull());

  table->KESTREL_close_bom_window(window);

  EXPECT_EQ(world.find(Uid(top)), nullptr);
  for (const BomLine* child : children) EXPECT_EQ(world.find(Uid(child)), nullptr) << Uid(child);
  EXPECT_THAT(world.find(Uid(other_top)), NotNull());
  EXPECT_THAT(world.open_windows(), ElementsAre("bomwindow-2"));
  EXPECT_THAT(Own(table->KESTREL_expand_bom_line(children[1], 0)), IsEmpty());
}

TEST_F(BomTest, TopLineIsAPropertyReadOfTheWindow) {
  BomWindow* window = Window("K-1000", "B");
  ClearRequests();

  BomLine* top = table->KESTREL_ask_bom_top_line(window);

  ASSERT_THAT(top, NotNull());
  EXPECT_EQ(Uid(top), "bomline-1-1");
  EXPECT_EQ(SoaManager::GetObjectManager()->FindObject(UString("bomline-1-1")), top);
  EXPECT_THAT(Requests(), IsEmpty());
}

struct TopLineCase {
  const char* name;
  std::function<void(WireObject&)> shape;  // of the window the server sends
  int code;
  const char* text;
};
void PrintTo(const TopLineCase& c, std::ostream* os) { *os << c.name; }

class TopLineTest : public BomTest, public ::testing::WithParamInterface<TopLineCase> {};

TEST_P(TopLineTest, WindowWithoutAUsableTopLineRaises) {
  const std::string uid = Uid(Revision("K-1000", "B"));
  ON_CALL(structuremanagement, createBomWindows(_)).WillByDefault([&](const auto& requests) {
    auto reply = world.structuremanagement.createBomWindows(requests);
    for (auto& object : reply.data.objects)
      if (object.uid == reply.outputs[0].window_uid) GetParam().shape(object);
    return reply;
  });
  BomWindow* window = table->KESTREL_create_bom_window(uid);
  ASSERT_THAT(window, NotNull());

  EXPECT_THAT([&] { table->KESTREL_ask_bom_top_line(window); },
              RaisesFrom(GetParam().code, GetParam().text, "kestrel_bom.cpp"));
}

INSTANTIATE_TEST_SUITE_P(
    TopLines, TopLineTest,
    ::testing::Values(
        TopLineCase{"NullTopLine",
                    [](WireObject& w) {
                      w.properties = {
                          Halden::Soa::Server::props::null("top_line", Halden::Soa::Server::ValueType::Reference)};
                    },
                    940209, "KRAL SOA: BOM window has no top line, window uid = bomwindow-1\n"},
        TopLineCase{"TopLineOfAnotherType",
                    [](WireObject& w) { w.properties = {Halden::Soa::Server::props::ref("top_line", "rev-K-1000-B")}; },
                    940209, "KRAL SOA: Returned top line not a valid BOM line, window uid = bomwindow-1\n"},
        TopLineCase{"TopLineNotLoaded", [](WireObject& w) { w.properties.clear(); }, 940223,
                    "KRAL SOA: SOA not loaded exception: Property top_line is not loaded on object bomwindow-1"}),
    [](const auto& info) { return std::string(info.param.name); });

// A host window whose server object is of another type has no top line to read.
TEST_F(BomTest, WindowOfAnotherServerTypeHasNoTopLine) {
  BomWindow not_a_window(Revision("K-1000", "B")->GetObjectPtr());
  EXPECT_THAT([&] { table->KESTREL_ask_bom_top_line(&not_a_window); },
              Raises(940209, "KRAL SOA: BOM window has no top line, window uid = rev-K-1000-B\n"));
}

// --- expansion ---------------------------------------------------------------

TEST_F(BomTest, ExpandingTheTopLineGivesNewChildLinesUnderTheRule) {
  BomLine* top = TopLine("K-1000", "B");
  std::vector<std::string> lines;
  ExpandInfo info;
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(_, _))
      .WillOnce(DoAll(SaveArg<0>(&lines), SaveArg<1>(&info), [&](const auto& l, const auto& i) {
        return world.structuremanagement.expandBomLinesOneLevel(l, i);
      }));

  auto children = Own(table->KESTREL_expand_bom_line(top, 0));

  EXPECT_THAT(lines, ElementsAre("bomline-1-1"));
  EXPECT_TRUE(info.related_data);
  EXPECT_THAT(info.filters, IsEmpty());
  ASSERT_THAT(Requests(), ElementsAre("expandBomLinesOneLevel"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_THAT(Shown(children), ElementsAre("K-1100/A", "K-1200/B", "K-1200/B", "K-1300/A", "K-9001/A", "K-9002/A"));
  EXPECT_EQ(LineText(children[1], "bl_line_name"), "wheel-left");
  EXPECT_EQ(LineText(children[4], "bl_quantity"), "12");
  for (BomLine* child : children) {
    EXPECT_NE(SoaManager::GetObjectManager()->FindObject(child->GetUid()), child) << "a child line is new";
    EXPECT_EQ(child->ClassName(), BomLine::AskClassName());
  }
  // The top line's own revision and datasets, and every child's, reach the host.
  EXPECT_TRUE(HostHolds("rev-K-1000-B"));
  EXPECT_TRUE(HostHolds("ds-K-1000-B-notes"));
  EXPECT_TRUE(HostHolds("rev-K-1200-B"));
  EXPECT_TRUE(HostHolds("ds-K-1200-B-jt"));
}

TEST_F(BomTest, ChildLinesComeFromAndReturnToCppMemory) {
  BomLine* top = TopLine("K-1000", "B");
  const long before = corerun::testing::cpp_live_blocks();
  std::unique_ptr<std::vector<BomLine*>> children(table->KESTREL_expand_bom_line(top, 0));
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before + static_cast<long>(children->size()));
  for (BomLine* child : *children) delete child;
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(BomTest, RulesConfigureDifferentRevisionsOfTheSameStructure) {
  const auto under = [&](const char* rule) {
    EXPECT_EQ(table->KESTREL_set_configuration_rule(rule, false), 0);
    auto level1 = Own(table->KESTREL_expand_bom_line(TopLine("K-1000", "B"), 0));
    auto level2 = Own(table->KESTREL_expand_bom_lines({level1[0], level1[1]}, 0));
    return std::vector<std::vector<std::string>>{Shown(level2[0]), Shown(level2[1])};
  };
  EXPECT_THAT(under("Latest Working"), ElementsAre(ElementsAre("K-1110/C", "K-1120/A"),
                                                   ElementsAre("K-1210/A", "K-1220/A", "K-1230/B", "K-9002/A")));
  EXPECT_THAT(under("Latest Released"),
              ElementsAre(ElementsAre("K-1110/B", "K-1120/A"), ElementsAre("K-1210/A", "K-1220/A", "K-1230/A")));
}

// The rule chosen before a logout still configures the next session's
// windows: the cache keeps the rule's server object, not a host object.
TEST_F(BomTest, TheCachedRuleConfiguresTheNextSessionsWindows) {
  objmodel::testing::set_use_soa_in_pdi(true);
  ASSERT_EQ(table->KESTREL_set_configuration_rule("Latest Released", false), 0);
  table->KESTREL_logout(false);
  ConnectAndLogin();
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_)).WillOnce([&](const auto& requests) {
    return SentWindow(requests, &sent);
  });
  auto level1 = Own(table->KESTREL_expand_bom_line(TopLine("K-1000", "B"), 0));
  EXPECT_EQ(sent.config.rule_uid, "rule-latest-released");
  auto level2 = Own(table->KESTREL_expand_bom_line(level1[0], 0));
  EXPECT_THAT(Shown(level2), ElementsAre("K-1110/B", "K-1120/A"));
}

struct ModeCase {
  const char* name;
  int mode;
  bool several;  // slot 19, else slot 18
  bool related;
  std::vector<RelationFilterRecord> filters;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class ExpansionModeTest : public BomTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ExpansionModeTest, ModeChoosesFiltersAndFlag) {
  const ModeCase& c = GetParam();
  BomLine* top = TopLine("K-1000", "B");
  ExpandInfo info;
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(_, _))
      .WillOnce(DoAll(SaveArg<1>(&info), [&](const auto& l, const auto& i) {
        return world.structuremanagement.expandBomLinesOneLevel(l, i);
      }));

  if (c.several) {
    Own(table->KESTREL_expand_bom_lines({top}, c.mode));
  } else {
    Own(table->KESTREL_expand_bom_line(top, c.mode));
  }

  EXPECT_EQ(info.related_data, c.related);
  ASSERT_EQ(info.filters.size(), c.filters.size());
  for (std::size_t i = 0; i < c.filters.size(); ++i) {
    EXPECT_EQ(info.filters[i].relation, c.filters[i].relation);
    EXPECT_EQ(info.filters[i].types, c.filters[i].types);
  }
}

const std::vector<RelationFilterRecord> kSixRelations = {{"OSTRA_specification", {}}, {"OSTRA_manifestation", {}},
                                                         {"OSTRA_TOV_altrep", {}},    {"OSTRA_TOV_scenario", {}},
                                                         {"OSTRA_Simulation", {}},    {"OSTRA_Rendering", {}}};

INSTANTIATE_TEST_SUITE_P(
    Modes, ExpansionModeTest,
    ::testing::Values(ModeCase{"OneLineMode1", 1, false, true, kSixRelations},
                      ModeCase{"SeveralMode1", 1, true, true, kSixRelations},
                      ModeCase{"OneLineMode2", 2, false, true, {{"OSTRA_specification", {"TOVMASTER"}}}},
                      ModeCase{"OneLineMode3", 3, false, true, {}}, ModeCase{"SeveralMode3", 3, true, false, {}},
                      ModeCase{"OneLineMode0", 0, false, true, {}}, ModeCase{"SeveralMinus1", -1, true, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BomTest, ExpandingALineWithAParentRegistersOnlyItsChildren) {
  auto children = Own(table->KESTREL_expand_bom_line(TopLine("K-1000", "B"), 2));
  objmodel::testing::reset();  // the host forgets what it was told

  Own(table->KESTREL_expand_bom_line(children[0], 2));

  EXPECT_FALSE(HostHolds("rev-K-1100-A"));
  EXPECT_FALSE(HostHolds("ds-K-1100-A-master"));
  EXPECT_TRUE(HostHolds("rev-K-1110-C"));
  EXPECT_TRUE(HostHolds("ds-K-1110-C-master"));
  EXPECT_FALSE(HostHolds("ds-K-1110-C-spec")) << "mode 2 asks for master models alone";
}

TEST_F(BomTest, SurplusOutputsGiveListsButNoParentRegistration) {
  BomLine* top = TopLine("K-1000", "B");
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(_, _)).WillOnce([&](const auto& lines, const auto& info) {
    auto reply = world.structuremanagement.expandBomLinesOneLevel(lines, info);
    // An output for a line of another window that nobody asked for.
    auto other = world.structuremanagement.createBomWindows({BomWindowRequest{"", "", "rev-K-1200-A", "", {}}});
    auto extra = world.structuremanagement.expandBomLinesOneLevel({other.outputs[0].top_line_uid}, info);
    reply.outputs.push_back(extra.outputs[0]);
    reply.data.objects.insert(reply.data.objects.end(), other.data.objects.begin(), other.data.objects.end());
    reply.data.objects.insert(reply.data.objects.end(), extra.data.objects.begin(), extra.data.objects.end());
    return reply;
  });

  auto lists = Own(table->KESTREL_expand_bom_lines({top}, 0));

  ASSERT_THAT(lists, SizeIs(2));
  EXPECT_THAT(Shown(lists[1]), ElementsAre("K-1210/A", "K-1220/A", "K-1230/B"));
  EXPECT_TRUE(HostHolds("ds-K-1000-B-notes"));
  EXPECT_FALSE(HostHolds("ds-K-1200-A-master")) << "the surplus output's parent has no line to ask";
}

TEST_F(BomTest, ShortRepliesGiveFewerListsAndAnEmptyListForOneLine) {
  BomLine* top = TopLine("K-1000", "B");
  auto children = Own(table->KESTREL_expand_bom_line(top, 0));
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(_, _))
      .WillOnce([&](const auto& lines, const auto& info) {
        auto reply = world.structuremanagement.expandBomLinesOneLevel(lines, info);
        reply.outputs.resize(1);
        return reply;
      })
      .WillOnce([](const auto&, const auto&) { return ExpandBomLinesReply{}; });

  EXPECT_THAT(Own(table->KESTREL_expand_bom_lines({children[0], children[1]}, 0)), SizeIs(1));
  EXPECT_THAT(Own(table->KESTREL_expand_bom_line(top, 0)), IsEmpty());
}

TEST_F(BomTest, NoLinesSendOneEmptyRequest) {
  ClearRequests();
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(IsEmpty(), _));
  EXPECT_THAT(Own(table->KESTREL_expand_bom_lines({}, 0)), IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("expandBomLinesOneLevel"));
}

// A child the server sends without a line gets no host line; its related
// data still reaches the host.
TEST_F(BomTest, ChildWithoutAServerLineGetsNoHostLine) {
  BomLine* top = TopLine("K-1000", "B");
  EXPECT_CALL(structuremanagement, expandBomLinesOneLevel(_, _)).WillOnce([&](const auto& lines, const auto& info) {
    auto reply = world.structuremanagement.expandBomLinesOneLevel(lines, info);
    reply.outputs[0].children[0].line_uid.clear();
    return reply;
  });

  auto children = Own(table->KESTREL_expand_bom_line(top, 0));

  EXPECT_THAT(Shown(children), ElementsAre("K-1200/B", "K-1200/B", "K-1300/A", "K-9001/A", "K-9002/A"));
  EXPECT_TRUE(HostHolds("ds-K-1100-A-jt"));
}

// --- paths -------------------------------------------------------------------

TEST_F(BomTest, PathsFindLinesByTheirLastNameInOneRequest) {
  BomWindow* window = Window("K-1000", "B");
  ClearRequests();
  Halden::Soa::Client::setActivePolicyId(-1);
  std::vector<BomPathRequest> sent;
  EXPECT_CALL(structuremanagement, getBomLinesByPath(_)).WillOnce(DoAll(SaveArg<0>(&sent), [&](const auto& requests) {
    return world.structuremanagement.getBomLinesByPath(requests);
  }));
  std::vector<BomLine*> out;

  table->KESTREL_ask_bom_lines_by_path(
      window, {{"K-1100", "K-1110"}, {"wheel-left", "K-1230"}, {"wheel-right", "K-1230"}, {"nothing"}, {}, {"K-1300"}},
      &out);

  ASSERT_THAT(Requests(), ElementsAre("getBomLinesByPath"));
  EXPECT_EQ(server.requests[0].policy, -1) << "no policy is set for the path request";
  ASSERT_THAT(sent, SizeIs(6));
  EXPECT_EQ(sent[0].client_id, "");
  EXPECT_EQ(sent[0].scope_uid, "bomwindow-1");
  EXPECT_FALSE(sent[0].flag);
  ASSERT_THAT(sent[0].entries, SizeIs(1));
  EXPECT_EQ(sent[0].entries[0].name, "");
  EXPECT_THAT(sent[0].entries[0].path, ElementsAre("K-1100", "K-1110"));
  EXPECT_THAT(sent[4].entries[0].path, IsEmpty());

  // Both paths ending in "K-1230" get the line the reply keys by it.
  ASSERT_THAT(Shown(out), ElementsAre("K-1110/C", "K-1230/B", "K-1230/B", "K-1300/A"));
  EXPECT_EQ(out[1], out[2]);
  for (BomLine* line : out) EXPECT_EQ(SoaManager::GetObjectManager()->FindObject(line->GetUid()), line);
}

TEST_F(BomTest, PathsBelowALine) {
  auto children = Own(table->KESTREL_expand_bom_line(TopLine("K-1000", "B"), 0));
  std::vector<BomLine*> out;
  table->KESTREL_ask_bom_lines_by_path(children[2], {{"K-1230"}}, &out);
  ASSERT_THAT(out, SizeIs(1));
  EXPECT_EQ(LineText(out[0]->GetPropertyObject("bl_parent"), "bl_line_name"), "wheel-right");
}

TEST_F(BomTest, PathReplyLineThatIsNoBomLineAddsNothing) {
  BomWindow* window = Window("K-1000", "B");
  EXPECT_CALL(structuremanagement, getBomLinesByPath(_)).WillOnce([&](const auto& requests) {
    auto reply = world.structuremanagement.getBomLinesByPath(requests);
    reply.lines["K-1000"] = "rev-K-1000-B";  // held by the host as a revision
    return reply;
  });
  std::vector<BomLine*> out;

  table->KESTREL_ask_bom_lines_by_path(window, {{"K-1000"}, {"K-1300"}}, &out);

  EXPECT_THAT(Shown(out), ElementsAre("K-1300/A"));
}

// --- caller input ------------------------------------------------------------

struct NullCase {
  const char* name;
  std::function<void(const KESTREL_interface_s*, BomWindow*)> call;
  const char* text;
};
void PrintTo(const NullCase& c, std::ostream* os) { *os << c.name; }

class NullArgumentTest : public BomTest, public ::testing::WithParamInterface<NullCase> {};

// A missing argument is the caller's error, raised before any request.
TEST_P(NullArgumentTest, RaisesCallerInputBeforeAnyRequest) {
  BomWindow* window = Window("K-1000", "B");
  ClearRequests();
  EXPECT_THAT([&] { GetParam().call(table, window); }, RaisesFrom(940208, GetParam().text, "kestrel_bom.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Nulls, NullArgumentTest,
    ::testing::Values(NullCase{"CloseWindow", [](auto* t, BomWindow*) { t->KESTREL_close_bom_window(nullptr); },
                               "KRAL SOA: Null BOM window in KESTREL_close_bom_window"},
                      NullCase{"TopLine", [](auto* t, BomWindow*) { t->KESTREL_ask_bom_top_line(nullptr); },
                               "KRAL SOA: Null BOM window in KESTREL_ask_bom_top_line"},
                      NullCase{"ExpandLine", [](auto* t, BomWindow*) { t->KESTREL_expand_bom_line(nullptr, 0); },
                               "KRAL SOA: Null BOM line in KESTREL_expand_bom_line"},
                      NullCase{"ExpandLines",
                               [](auto* t, BomWindow* w) {
                                 t->KESTREL_expand_bom_lines({t->KESTREL_ask_bom_top_line(w), nullptr}, 0);
                               },
                               "KRAL SOA: Null BOM line in KESTREL_expand_bom_lines"},
                      NullCase{"PathScope",
                               [](auto* t, BomWindow*) {
                                 std::vector<BomLine*> out;
                                 t->KESTREL_ask_bom_lines_by_path(nullptr, {{"K-1300"}}, &out);
                               },
                               "KRAL SOA: Null scope in KESTREL_ask_bom_lines_by_path"},
                      NullCase{
                          "PathOutput",
                          [](auto* t, BomWindow* w) { t->KESTREL_ask_bom_lines_by_path(w, {{"K-1300"}}, nullptr); },
                          "KRAL SOA: Null output list in KESTREL_ask_bom_lines_by_path"}),
    [](const auto& info) { return std::string(info.param.name); });

// A host window or line without a server object is refused before any
// request, as the top line refuses it.
TEST_F(BomTest, HostObjectsWithoutServerObjectsRaiseBeforeAnyRequest) {
  BomLine* top = TopLine("K-1000", "B");
  BomWindow orphan_window(nullptr);
  BomLine orphan_line(nullptr);
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"close", [&] { table->KESTREL_close_bom_window(&orphan_window); }},
      {"expand one", [&] { delete table->KESTREL_expand_bom_line(&orphan_line, 0); }},
      {"expand several",
       [&] {
         delete table->KESTREL_expand_bom_lines({top, &orphan_line}, 0);
       }},
      {"paths", [&] {
         std::vector<BomLine*> out;
         table->KESTREL_ask_bom_lines_by_path(&orphan_window, {{"K-1300"}}, &out);
       }}};
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    ClearRequests();
    EXPECT_THAT(call, RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_bom.cpp"));
    EXPECT_THAT(Requests(), IsEmpty());
  }
}

// The host failing while child lines are made frees every line made so far.
TEST_F(BomTest, HostThrowingMidExpansionLeaksNoLine) {
  BomLine* top = TopLine("K-1000", "B");
  auto level1 = Own(table->KESTREL_expand_bom_line(top, 0));
  ASSERT_THAT(level1, SizeIs(::testing::Ge(2u)));
  const long before = corerun::testing::cpp_live_blocks();
  for (int wraps = 0; wraps < 6; ++wraps) {
    SCOPED_TRACE(wraps);
    objmodel::testing::fail_wrapping_after(wraps);
    EXPECT_THROW(delete table->KESTREL_expand_bom_line(top, 0), std::bad_alloc);
    objmodel::testing::fail_wrapping_after(wraps);
    EXPECT_THROW(delete table->KESTREL_expand_bom_lines({level1[0], level1[1]}, 0), std::bad_alloc);
    EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
  }
  objmodel::testing::fail_wrapping_after(-1);
}

// --- framework exceptions ----------------------------------------------------

class BomConversion : public ConversionTest<BomConversion, BomTest> {
 public:
  static constexpr const char* kFile = "kestrel_bom.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"CreateWindow",
         [](BomConversion& t, const auto& fail) {
           ON_CALL(t.structuremanagement, createBomWindows(_)).WillByDefault([fail](const auto&) -> BomWindowsReply {
             fail();
             return {};
           });
         },
         [](BomConversion& t) { t.Window("K-1000", "B"); }},
        {"CloseWindow",
         [](BomConversion& t, const auto& fail) {
           ON_CALL(t.structuremanagement, closeBomWindows(_))
               .WillByDefault([fail](const auto&) -> Halden::Soa::Server::WireServiceData {
                 fail();
                 return {};
               });
         },
         [](BomConversion& t) { t.table->KESTREL_close_bom_window(t.Window("K-1000", "B")); }},
        {"ExpandLines",
         [](BomConversion& t, const auto& fail) {
           ON_CALL(t.structuremanagement, expandBomLinesOneLevel(_, _))
               .WillByDefault([fail](const auto&, const auto&) -> ExpandBomLinesReply {
                 fail();
                 return {};
               });
         },
         [](BomConversion& t) { delete t.table->KESTREL_expand_bom_lines({t.TopLine("K-1000", "B")}, 0); }},
        {"Paths",
         [](BomConversion& t, const auto& fail) {
           ON_CALL(t.structuremanagement, getBomLinesByPath(_))
               .WillByDefault([fail](const auto&) -> BomLinesByPathReply {
                 fail();
                 return {};
               });
         },
         [](BomConversion& t) {
           std::vector<BomLine*> out;
           t.table->KESTREL_ask_bom_lines_by_path(t.Window("K-1000", "B"), {{"K-1300"}}, &out);
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(BomConversion);

}  // namespace
}  // namespace kestrel::test
