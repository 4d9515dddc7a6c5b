// Revision rules: the rule cache, the entry points of slots 128 to 134 and the
// rule configuration handed to structure requests.
#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_rev_rule.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Server::PreferenceScope;
using Halden::Soa::Server::RevisionRulesReply;
using ::testing::_;
using ::testing::DoDefault;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Return;
using ::testing::Throw;

const std::vector<std::string> kWorldRules = {"Latest Working",   "Latest Released",  "Released Effective Date",
                                              "Released by Date", "Unit Effectivity", "Precise; Working"};

constexpr const char* kSource = "kestrel_rev_rule.cpp";

// A text the library handed over, taken and freed as the host does.
std::optional<std::string> take(char* text) {
  if (!text) return std::nullopt;
  std::string copy = text;
  SM_free(text);
  return copy;
}

struct Status {
  int status = -1;
  bool has_date = false, today = false, has_unit = false, use_unit = false;
  std::optional<std::string> date;
  int unit_no = -1;
};

class RevRuleTest : public SessionTest {
 protected:
  RevRuleTest() {
    ConnectAndLogin();
    ClearRequests();
    clear_log();
  }

  int Count(const std::string& operation) const {
    const auto names = Requests();
    return static_cast<int>(std::count(names.begin(), names.end(), operation));
  }

  std::vector<std::string> ListRules(int* status = nullptr) {
    int count = -1;
    char** names = nullptr;
    const int s = table->KESTREL_list_configuration_rules(&count, &names);
    if (status) *status = s;
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(*take(names[i]));
    SM_free(names);
    return out;
  }

  std::optional<std::string> RuleName(bool from_preference, int* status = nullptr) {
    char* name = nullptr;
    const int s = table->KESTREL_ask_configuration_rule(from_preference, &name);
    if (status) *status = s;
    return take(name);
  }

  std::optional<std::string> RuleGuid(bool from_preference, int* status = nullptr) {
    char* guid = nullptr;
    const int s = table->KESTREL_ask_config_rule_GUID(from_preference, &guid);
    if (status) *status = s;
    return take(guid);
  }

  Status RuleStatus(const char* name, bool from_preference = false) {
    Status out;
    char* date = nullptr;
    out.status = table->KESTREL_ask_config_rule_status(name, from_preference, &out.has_date, &out.today, &out.has_unit,
                                                       &out.use_unit, &date, &out.unit_no);
    out.date = take(date);
    return out;
  }
};

// The cache

TEST_F(RevRuleTest, BuildsTheCacheOnceFromTheServerRules) {
  int status = -1;
  EXPECT_THAT(ListRules(&status), ElementsAreArray(kWorldRules));
  EXPECT_EQ(status, 0);
  ASSERT_FALSE(server.requests.empty());
  EXPECT_EQ(server.requests[0].operation, "getRevisionRules");
  EXPECT_EQ(server.requests[0].policy, 2);

  EXPECT_EQ(RuleName(false, &status), "Latest Working");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RuleGuid(false), "rule-latest-working");
  ListRules();
  RuleStatus("Unit Effectivity");
  EXPECT_EQ(Count("getRevisionRules"), 1);
}

struct RuleFlags {
  const char* name;
  bool has_date, has_unit;
};

void PrintTo(const RuleFlags& c, std::ostream* out) {
  for (const char* p = c.name; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) *out << *p;
}

class RuleFlagsTest : public RevRuleTest, public ::testing::WithParamInterface<RuleFlags> {};

TEST_P(RuleFlagsTest, ComeFromTheRuleEntries) {
  const Status s = RuleStatus(GetParam().name);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.has_date, GetParam().has_date);
  EXPECT_EQ(s.has_unit, GetParam().has_unit);
  EXPECT_FALSE(s.today);
  EXPECT_FALSE(s.use_unit);
  EXPECT_EQ(s.unit_no, 0);
  EXPECT_EQ(s.date, std::nullopt);
}

// "Latest Released" has a status entry of date type 2, which is no date.
INSTANTIATE_TEST_SUITE_P(
    WorldRules, RuleFlagsTest,
    ::testing::Values(RuleFlags{"Latest Working", false, false}, RuleFlags{"Latest Released", false, false},
                      RuleFlags{"Released Effective Date", true, false}, RuleFlags{"Released by Date", true, false},
                      RuleFlags{"Unit Effectivity", false, true}, RuleFlags{"Precise; Working", false, false}));

TEST_F(RevRuleTest, LoadsAnEntryListOutsideThePolicy) {
  world.set_policy("RevisionRule", {"object_name"});
  EXPECT_EQ(RuleStatus("Unit Effectivity").has_unit, true);
  bool loaded = false;
  for (const auto& r : server.requests) loaded = loaded || (r.operation == "getProperties" && r.policy == 2);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(ListRules(), kWorldRules);
}

class FetchFailureTest : public RevRuleTest, public ::testing::WithParamInterface<FrameworkFailure> {};

TEST_P(FetchFailureTest, IsLoggedAndTheNextCallerFetchesAgain) {
  EXPECT_CALL(structuremanagement, getRevisionRules())
      .WillOnce([&]() -> RevisionRulesReply {
        GetParam().raise();
        return {};
      })
      .WillRepeatedly(DoDefault());
  int status = -1;
  EXPECT_THAT(ListRules(&status), ::testing::IsEmpty());
  EXPECT_EQ(status, 0);
  EXPECT_EQ(log_text(), "KRAL SOA debug: Caught error code in SOA version of list_configuration_rules " +
                            std::to_string(GetParam().code) + "\n");
  EXPECT_EQ(ListRules(), kWorldRules);
  EXPECT_EQ(Count("getRevisionRules"), 2);
}

INSTANTIATE_TEST_SUITE_P(Exceptions, FetchFailureTest, ::testing::ValuesIn(framework_failures()),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever the build meets is caught and logged, not only standard exceptions.
TEST_F(RevRuleTest, AForeignThrowInTheBuildIsLoggedToo) {
  struct Foreign {};
  EXPECT_CALL(structuremanagement, getRevisionRules())
      .WillOnce([]() -> RevisionRulesReply { throw Foreign{}; })
      .WillRepeatedly(DoDefault());
  int status = -1;
  EXPECT_THAT(ListRules(&status), ::testing::IsEmpty());
  EXPECT_EQ(status, 0);
  EXPECT_EQ(log_text(), "KRAL SOA debug: Caught error code in SOA version of list_configuration_rules 0\n");
  EXPECT_EQ(ListRules(), kWorldRules);
}

TEST_F(RevRuleTest, ABuildFailingPartWayLeavesNoPartialCache) {
  world.set_policy("RevisionRule", {"object_name"});
  // The third rule's entries cannot be loaded the first time.
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillRepeatedly(DoDefault());
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("rule-released-effective"), ElementsAre("entry_list")))
      .WillOnce(Throw(RuntimeException("entries unavailable")))
      .WillRepeatedly(DoDefault());
  EXPECT_THAT(ListRules(), ::testing::IsEmpty());
  // A framework exception is no base-library error: it has no code of its own.
  EXPECT_THAT(log_text(),
              HasSubstr("KRAL SOA debug: Caught error code in SOA version of list_configuration_rules 0\n"));
  EXPECT_EQ(ListRules(), kWorldRules);
  EXPECT_EQ(Count("getRevisionRules"), 2);
}

TEST_F(RevRuleTest, AServerWithoutRulesIsAskedAgainAndTheBuildDoesNotRunInsideItself) {
  EXPECT_CALL(structuremanagement, getRevisionRules()).Times(3).WillRepeatedly(Return(RevisionRulesReply{}));
  int status = -1;
  EXPECT_THAT(ListRules(&status), ::testing::IsEmpty());
  EXPECT_EQ(Count("getRevisionRules"), 1);
  EXPECT_EQ(RuleName(false, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  EXPECT_EQ(Count("getRevisionRules"), 2);
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Latest Working", false), 920000);
}

TEST_F(RevRuleTest, SkipsANullRuleOfTheServerList) {
  EXPECT_CALL(structuremanagement, getRevisionRules()).WillOnce([&] {
    RevisionRulesReply reply = world.structuremanagement.getRevisionRules();
    reply.rules.insert(reply.rules.begin() + 1, "");
    return reply;
  });
  EXPECT_EQ(ListRules(), kWorldRules);
}

TEST_F(RevRuleTest, ANullOutputPointerFailsWithoutAnyRequest) {
  char* text = nullptr;
  bool flag = false;
  int number = 0;
  char** names = nullptr;
  EXPECT_EQ(table->KESTREL_ask_config_rule_GUID(false, nullptr), 920000);
  EXPECT_EQ(table->KESTREL_ask_configuration_rule(true, nullptr), 920000);
  EXPECT_EQ(
      table->KESTREL_ask_config_rule_status("Latest Working", false, &flag, &flag, &flag, &flag, nullptr, &number),
      920000);
  EXPECT_EQ(
      table->KESTREL_ask_config_rule_status("Latest Working", false, &flag, nullptr, &flag, &flag, &text, &number),
      920000);
  EXPECT_EQ(table->KESTREL_list_configuration_rules(nullptr, &names), 920000);
  EXPECT_EQ(table->KESTREL_list_configuration_rules(&number, nullptr), 920000);
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(false, nullptr), 920000);
  EXPECT_TRUE(server.requests.empty());
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(names, nullptr);
  EXPECT_EQ(number, 0);
}

TEST_F(RevRuleTest, ListsNothingWithoutAConnection) {
  table->KESTREL_logout(false);
  ClearRequests();
  int status = -1;
  EXPECT_THAT(ListRules(&status), ::testing::IsEmpty());
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(server.requests.empty());
  EXPECT_THAT(log_text(), HasSubstr("list_configuration_rules 940209"));
}

TEST_F(RevRuleTest, TheCacheOutlivesLogout) {
  ListRules();
  table->KESTREL_logout(false);
  ClearRequests();
  EXPECT_EQ(ListRules(), kWorldRules);
  EXPECT_EQ(RuleName(false), "Latest Working");
  EXPECT_TRUE(server.requests.empty());
}

// Selecting and persisting: slot 128

TEST_F(RevRuleTest, SelectsACachedRuleWithoutWritingThePreference) {
  EXPECT_CALL(preferencemanagement, setPreferences(_)).Times(0);
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Released by Date", false), 0);
  EXPECT_EQ(RuleName(false), "Released by Date");
  EXPECT_EQ(RuleGuid(false), "rule-released-by-date");
}

TEST_F(RevRuleTest, PersistsTheRuleAsTheUserPreference) {
  ListRules();
  ClearRequests();
  EXPECT_CALL(preferencemanagement, setPreferences(_)).WillOnce([&](const std::vector<PreferenceScope>& scopes) {
    EXPECT_EQ(scopes.size(), 1u);
    EXPECT_EQ(scopes[0].scope, "User");
    EXPECT_EQ(scopes[0].preferences.size(), 1u);
    const auto& p = scopes[0].preferences.at(0);
    EXPECT_EQ(p.definition.name, "HX_config_rule_name");
    EXPECT_EQ(p.definition.category, "");
    EXPECT_EQ(p.definition.description, "");
    EXPECT_EQ(p.definition.scope, "User");
    EXPECT_EQ(p.definition.type, "STRING");
    EXPECT_FALSE(p.definition.is_array);
    EXPECT_FALSE(p.definition.is_disabled);
    EXPECT_EQ(p.values.size(), 1u);
    EXPECT_EQ(p.values.at(0).origin, "Halden");
    EXPECT_THAT(p.values.at(0).values, ElementsAre("Unit Effectivity"));
    return world.preferencemanagement.setPreferences(scopes);
  });
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Unit Effectivity", true), 0);
  EXPECT_THAT(Requests(), ElementsAre("setPreferences"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_THAT(world.session.getPreferences("user", {"HX_config_rule_name"}).preferences["HX_config_rule_name"],
              ElementsAre("Unit Effectivity"));
  EXPECT_EQ(RuleName(false), "Unit Effectivity");
}

// A failed write raises and keeps the selection; nor does the preference
// record name a rule the server never stored.
class PersistConversion : public ConversionTest<PersistConversion, RevRuleTest> {
 public:
  static constexpr const char* kFile = "kestrel_rev_rule.cpp";
  static std::vector<Operation> Operations() {
    const auto fail = [](PersistConversion& t, const std::function<void()>& fail) {
      ON_CALL(t.preferencemanagement, setPreferences(_))
          .WillByDefault([fail](const auto&) -> Halden::Soa::Server::WireServiceData {
            fail();
            return {};
          });
    };
    const auto keeps_the_selection = [](PersistConversion& t) {
      EXPECT_EQ(t.RuleName(false), "Latest Working");
      int status = -1;
      EXPECT_EQ(t.RuleGuid(true, &status), std::nullopt);
      EXPECT_EQ(status, 920000);
    };
    return {
        {"SetRule", fail,
         [](PersistConversion& t) { t.table->KESTREL_set_configuration_rule("Latest Released", true); },
         keeps_the_selection},
        {"SetRuleAll", fail,
         [](PersistConversion& t) { t.table->KESTREL_set_config_rule_all("Latest Released", "", false, 0, true); },
         keeps_the_selection},
    };
  }
};
KESTREL_CONVERSION_SUITE(PersistConversion);

TEST_F(RevRuleTest, ANullRuleNameWithPersistWritesNothingAndFails) {
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Unit Effectivity", true), 0);
  table->KESTREL_set_configuration_rule("Latest Working", false);
  ClearRequests();
  EXPECT_CALL(preferencemanagement, setPreferences(_)).Times(0);
  EXPECT_EQ(table->KESTREL_set_configuration_rule(nullptr, true), 920000);
  EXPECT_EQ(RuleName(false), "Latest Working");
  EXPECT_EQ(RuleGuid(true), "rule-unit-effectivity");
  EXPECT_TRUE(server.requests.empty());
}

TEST_F(RevRuleTest, AnUncachedNameTakesTheHostsRuleAndSettings) {
  objmodel::testing::set_config_rule_status("Site Baseline", {0, true, true, true, true, "05-Mar-2024 08:30", 12});
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Site Baseline", false), 0);
  EXPECT_EQ(RuleName(false), "Site Baseline");
  EXPECT_EQ(RuleGuid(false), "rule-latest-working");
  EXPECT_EQ(ListRules(), kWorldRules);

  const Status s = RuleStatus("Site Baseline");
  EXPECT_EQ(s.status, 0);
  EXPECT_TRUE(s.has_date);
  EXPECT_TRUE(s.today);
  EXPECT_TRUE(s.has_unit);
  EXPECT_TRUE(s.use_unit);
  EXPECT_EQ(s.unit_no, 12);
  EXPECT_EQ(s.date, "2024-03-05T08:30:00");
}

TEST_F(RevRuleTest, AnUncachedNameWithoutAHostGuidGivesARecordWithoutRule) {
  objmodel::testing::set_current_config_rule("Latest Working", nullptr);
  EXPECT_EQ(table->KESTREL_set_configuration_rule("Site Baseline", false), 0);
  int status = -1;
  EXPECT_EQ(RuleGuid(false, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  bool precise = true;
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(false, &precise), 920000);
  EXPECT_FALSE(precise);
}

struct GuidFailure {
  const char* kind;
  const char* guid;
  const char* text;
};

void PrintTo(const GuidFailure& c, std::ostream* out) { *out << c.kind; }

class GuidFailureTest : public RevRuleTest, public ::testing::WithParamInterface<GuidFailure> {};

TEST_P(GuidFailureTest, RaisesFromTheEntryPointButIsLoggedByTheBuild) {
  Halden::Soa::Client::testing::set_unconstructible_uids({"rule-gone"});
  objmodel::testing::set_current_config_rule("Ghost Rule", GetParam().guid);
  EXPECT_EQ(ListRules(), kWorldRules);
  EXPECT_THAT(log_text(),
              HasSubstr("KRAL SOA debug: Caught error code in SOA version of list_configuration_rules 940032\n"));
  EXPECT_EQ(RuleName(false), std::nullopt);

  EXPECT_THAT([&] { table->KESTREL_set_configuration_rule("Ghost Rule", false); },
              RaisesFrom(940032, GetParam().text, kSource));
  EXPECT_THAT([&] { RuleStatus("Ghost Rule"); }, RaisesFrom(940032, GetParam().text, kSource));
  EXPECT_EQ(RuleName(false), std::nullopt);
}

// The texts end in a backslash and an n, not in a line break.
INSTANTIATE_TEST_SUITE_P(
    HostGuids, GuidFailureTest,
    ::testing::Values(GuidFailure{"no_object", "rule-gone", "KRAL SOA: construct object failed on uid = rule-gone\\n"},
                      // A rule entry, which the rule list brings into the model manager.
                      GuidFailure{"no_rule", "entry-working",
                                  "KRAL SOA: Cast to item revision failed, uid = entry-working\\n"}));

// Reading: slots 129, 130, 132

TEST_F(RevRuleTest, ReadsTheRuleTheUserPreferenceNames) {
  cadlink::testing::set_hx_pref_values(TOVMGR__hx_config_rule_name, {"Released by Date", "ignored"});
  ListRules();
  clear_log();
  int status = -1;
  EXPECT_EQ(RuleName(true, &status), "Released by Date");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(log_text(), "HX_config_rule_name returned as [Released by Date]\n");
  EXPECT_EQ(objmodel::testing::allow_all_errors_calls(), 1);
  EXPECT_EQ(RuleGuid(true), "rule-released-by-date");
  EXPECT_TRUE(RuleStatus(nullptr, true).has_date);
  EXPECT_EQ(RuleName(false), "Latest Working");
}

TEST_F(RevRuleTest, AnUncachedPreferenceNameKeepsThePreviousPreferenceRecord) {
  cadlink::testing::set_hx_pref_values(TOVMGR__hx_config_rule_name, {"Unit Effectivity"});
  RuleName(true);
  cadlink::testing::set_hx_pref_values(TOVMGR__hx_config_rule_name, {"Retired Rule"});
  int status = -1;
  EXPECT_EQ(RuleName(true, &status), "Retired Rule");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RuleGuid(true), "rule-unit-effectivity");
}

struct NoPreference {
  std::vector<std::string> values;
  int answer;
};

void PrintTo(const NoPreference& c, std::ostream* out) { *out << "answer_" << c.answer; }

class NoPreferenceTest : public RevRuleTest, public ::testing::WithParamInterface<NoPreference> {};

TEST_P(NoPreferenceTest, FailsEveryPreferenceRead) {
  cadlink::testing::set_hx_pref_values(TOVMGR__hx_config_rule_name, GetParam().values, GetParam().answer);
  int status = -1;
  EXPECT_EQ(RuleName(true, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  EXPECT_EQ(RuleGuid(true, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  Status untouched;
  char* date = nullptr;
  EXPECT_EQ(table->KESTREL_ask_config_rule_status(nullptr, true, &untouched.has_date, &untouched.today,
                                                  &untouched.has_unit, &untouched.use_unit, &date, &untouched.unit_no),
            920000);
  EXPECT_EQ(untouched.unit_no, -1);
  EXPECT_EQ(date, nullptr);
  bool precise = true;
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(true, &precise), 920000);
  EXPECT_FALSE(precise);
}

INSTANTIATE_TEST_SUITE_P(HostAnswers, NoPreferenceTest,
                         ::testing::Values(NoPreference{{}, 0}, NoPreference{{"Latest Released"}, 5}));

TEST_F(RevRuleTest, WithoutACurrentRuleTheCurrentReadsFail) {
  objmodel::testing::set_current_config_rule(nullptr, nullptr, 920000);
  int status = -1;
  EXPECT_EQ(RuleName(false, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  EXPECT_EQ(RuleGuid(false, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  EXPECT_EQ(RuleStatus(nullptr).status, 920000);
  EXPECT_EQ(KESTREL_get_soa_config_rule(), nullptr);
}

TEST_F(RevRuleTest, WritesTheDebugLinesUnderTheSoaFlag) {
  ListRules();
  bool precise = false;
  const struct {
    std::function<void()> call;
    std::string log;
  } cases[] = {
      {[&] { table->KESTREL_set_configuration_rule("Latest Working", false); },
       "KESTREL_set_configuration_rule returns status = 0,setting rule = Latest Working"},
      {[&] { ListRules(); },
       "KRAL SOA debug: Using SOA version of list_configuration_rules"
       "KRAL SOA debug: KESTREL_list_configuration_rules returning status = 0"},
      {[&] { RuleName(false); }, "KESTREL_ask_configuration_rule returns: status = 0, Name = Latest Working"},
      {[&] { RuleGuid(false); }, "KESTREL_ask_config_rule_GUID returns: status = 0, GUID = rule-latest-working"},
      {[&] { RuleStatus("Unit Effectivity"); }, "KESTREL_ask_config_rule_status"},
      {[&] { table->KESTREL_set_configuration_rule("Precise; Working", false); },
       "KESTREL_set_configuration_rule returns status = 0,setting rule = Precise; Working"},
      {[&] { table->KESTREL_ask_config_rule_has_precise(false, &precise); },
       "KRAL SOA debug: KESTREL_ask_config_rule_has_precise::ask_reprev_precise returning has_precise = TRUE"},
      {[&] { table->KESTREL_set_config_rule_all(nullptr, "", false, 0, false); }, "KESTREL_set_config_rule_all"},
      {[&] { RuleName(false); }, "KESTREL_ask_configuration_rule returns: status = 920000, Name = "},
  };
  const auto run = [&](bool debugging) {
    for (const auto& c : cases) {
      clear_log();
      c.call();
      EXPECT_EQ(log_text(), debugging ? c.log : "");
    }
  };
  run(false);
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  run(false);  // checking level 0
  MACH__checking_level = 1;
  run(true);
  EXPECT_TRUE(precise);
}

// Precise entries: slot 134

TEST_F(RevRuleTest, FindsAPreciseEntry) {
  bool precise = true;
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(false, &precise), 0);
  EXPECT_FALSE(precise);
  table->KESTREL_set_configuration_rule("Precise; Working", false);
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(false, &precise), 0);
  EXPECT_TRUE(precise);
}

class HiddenRuleTest : public RevRuleTest {
 protected:
  HiddenRuleTest() {
    // A rule the server does not list, named by the host.
    world.add_object("rule-hidden", {"RevisionRule", "POM_application_object", "POM_object"},
                     {Halden::Soa::Server::props::str("object_name", "Hidden Rule"),
                      Halden::Soa::Server::props::refs("entry_list", {"entry-precise"})});
    objmodel::testing::set_current_config_rule("Hidden Rule", "rule-hidden");
  }
};

TEST_F(HiddenRuleTest, LoadsTheEntryListOfTheHostsRuleForPrecision) {
  ListRules();
  ClearRequests();
  bool precise = false;
  EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(false, &precise), 0);
  EXPECT_TRUE(precise);
  EXPECT_THAT(Requests(), ElementsAre("getProperties"));
  EXPECT_EQ(server.requests[0].policy, 2);
}

TEST_F(HiddenRuleTest, AFailedEntryListLoadPassesTheFrameworkExceptionOn) {
  ListRules();
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillRepeatedly(DoDefault());
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("rule-hidden"), ElementsAre("entry_list")))
      .WillOnce(Throw(RuntimeException("entries unavailable")));
  bool precise = false;
  EXPECT_THROW(table->KESTREL_ask_config_rule_has_precise(false, &precise), RuntimeException);
}

// The rule cache outlives the session; its entry list is not asked of a
// connection that is gone.
TEST_F(HiddenRuleTest, AnEntryListLoadWithoutAConnectionRaises) {
  ListRules();
  table->KESTREL_logout(false);
  ClearRequests();
  bool precise = true;
  EXPECT_THAT([&] { table->KESTREL_ask_config_rule_has_precise(false, &precise); },
              RaisesFrom(940209, "SOA: No connection object - SOA unavailable or not initialized", kSource));
  EXPECT_TRUE(server.requests.empty());
}

// Rule, date and unit together: slot 131

struct DateCase {
  const char* given;
  std::optional<std::string> stored;
};

void PrintTo(const DateCase& c, std::ostream* out) { *out << (!c.given ? "null" : *c.given ? c.given : "empty"); }

class RuleDateTest : public RevRuleTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(RuleDateTest, StoresAValidDate) {
  EXPECT_EQ(table->KESTREL_set_config_rule_all("Released by Date", "2020-01-01", false, 0, false), 0);
  EXPECT_EQ(table->KESTREL_set_config_rule_all("Released by Date", GetParam().given, true, 4, false), 0);
  const Status s = RuleStatus("Released by Date");
  EXPECT_EQ(s.date, GetParam().stored);
  EXPECT_TRUE(s.use_unit);
  EXPECT_EQ(s.unit_no, 4);
  EXPECT_FALSE(s.today);
  EXPECT_EQ(RuleName(false), "Released by Date");
}

INSTANTIATE_TEST_SUITE_P(Dates, RuleDateTest,
                         ::testing::Values(DateCase{nullptr, std::nullopt}, DateCase{"", std::nullopt},
                                           DateCase{"Today", "Today"}, DateCase{"2024-03-05", "2024-03-05"},
                                           DateCase{"2024-03-05T08:30:00Z", "2024-03-05T08:30:00Z"},
                                           DateCase{"1000-01-01", "1000-01-01"}));

class BadDateTest : public RevRuleTest, public ::testing::WithParamInterface<const char*> {};

// The old date is dropped before the new one is checked; the unit settings
// and the selection stay as they were.
TEST_P(BadDateTest, RaisesAfterDroppingTheOldDate) {
  table->KESTREL_set_config_rule_all("Released by Date", "2020-01-01", true, 3, false);
  table->KESTREL_set_configuration_rule("Latest Working", false);
  ClearRequests();
  EXPECT_THAT([&] { table->KESTREL_set_config_rule_all("Released by Date", GetParam(), false, 9, false); },
              Raises(920029, "Invalid date string."));
  EXPECT_TRUE(server.requests.empty());
  const Status s = RuleStatus("Released by Date");
  EXPECT_EQ(s.date, std::nullopt);
  EXPECT_TRUE(s.use_unit);
  EXPECT_EQ(s.unit_no, 3);
  EXPECT_EQ(RuleName(false), "Latest Working");
}

INSTANTIATE_TEST_SUITE_P(Dates, BadDateTest,
                         ::testing::Values("0999-12-31", "2024-02-30", "05-Mar-2024", "2024-03-05T25:00:00", "tomorrow",
                                           "40000-01-01"));

TEST_F(RevRuleTest, ABadDateWithPersistRaisesAfterTheRuleWasPersistedAndSelected) {
  table->KESTREL_set_config_rule_all("Released by Date", "2020-01-01", false, 0, false);
  table->KESTREL_set_configuration_rule("Latest Working", false);
  EXPECT_THAT([&] { table->KESTREL_set_config_rule_all("Released by Date", "0999-12-31", false, 0, true); },
              RaisesFrom(920029, "Invalid date string.", kSource));
  EXPECT_THAT([&] { table->KESTREL_set_config_rule_all("Released by Date", "x", false, 0, false); },
              RaisesFrom(920029, "Invalid date string.", kSource));
  EXPECT_EQ(Count("setPreferences"), 1);
  EXPECT_EQ(RuleName(false), "Released by Date");
  EXPECT_EQ(RuleStatus(nullptr, true).date, std::nullopt);
}

TEST_F(RevRuleTest, PersistingWithADateSelectsThePreferenceRecord) {
  EXPECT_EQ(table->KESTREL_set_config_rule_all("Released Effective Date", "2024-06-01", false, 0, true), 0);
  EXPECT_EQ(Count("setPreferences"), 1);
  const Status s = RuleStatus(nullptr, true);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.date, "2024-06-01");
  EXPECT_EQ(RuleName(false), "Released Effective Date");
}

// Without a record no date is checked.
TEST_F(RevRuleTest, ANullRuleNameClearsTheCurrentRule) {
  EXPECT_EQ(table->KESTREL_set_config_rule_all(nullptr, "tomorrow", false, 0, false), 0);
  int status = -1;
  EXPECT_EQ(RuleName(false, &status), std::nullopt);
  EXPECT_EQ(status, 920000);
  EXPECT_EQ(KESTREL_get_soa_config_rule(), nullptr);
}

// The configuration of requests

TEST_F(RevRuleTest, ConfiguresTheCurrentRule) {
  auto config = KESTREL_get_soa_config_rule();
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(config->clientId, "Latest Working");
  ASSERT_NE(config->revRule, nullptr);
  EXPECT_EQ(config->revRule->getUid(), "rule-latest-working");
  EXPECT_TRUE(config->date.isNullDate());
  EXPECT_FALSE(config->today);
  EXPECT_EQ(config->endItem, nullptr);
  EXPECT_EQ(config->endItemRevision, nullptr);
  EXPECT_TRUE(config->overrideFolders.empty());
}

struct ConfigDate {
  const char* rule;
  const char* given;
  std::string sent;  // as DateTime::toString, "" for the null date
};

void PrintTo(const ConfigDate& c, std::ostream* out) {
  for (const char* p = c.rule; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) *out << *p;
  *out << "_" << c.given;
}

class ConfigDateTest : public RevRuleTest, public ::testing::WithParamInterface<ConfigDate> {};

TEST_P(ConfigDateTest, CompletesADateWithoutTime) {
  ASSERT_EQ(table->KESTREL_set_config_rule_all(GetParam().rule, GetParam().given, true, 7, false), 0);
  auto config = KESTREL_get_soa_config_rule();
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(config->clientId, GetParam().rule);
  EXPECT_EQ(config->unitNo, 0);
  EXPECT_FALSE(config->today);
  if (GetParam().sent.empty()) {
    EXPECT_TRUE(config->date.isNullDate()) << config->date.toString();
  } else {
    EXPECT_EQ(config->date.toString(), GetParam().sent);
  }
  // The cached record keeps what the host gave.
  const Status s = RuleStatus(GetParam().rule);
  EXPECT_EQ(s.date, GetParam().given);
  EXPECT_EQ(s.unit_no, 7);
}

INSTANTIATE_TEST_SUITE_P(Dates, ConfigDateTest,
                         ::testing::Values(ConfigDate{"Released by Date", "2024-03-05", "2024-03-05T12:00:00"},
                                           ConfigDate{"Released by Date", "2024-03-05T08:30:00", "2024-03-05T08:30:00"},
                                           ConfigDate{"Released Effective Date", "2024-03-05T23:59:59Z",
                                                      "2024-03-05T23:59:59"},
                                           ConfigDate{"Released by Date", "Today", ""},
                                           // A rule without a date entry configures by no date.
                                           ConfigDate{"Latest Released", "2024-03-05", ""}));

TEST_F(RevRuleTest, ARecordForAnUncachedRuleIsReleasedAfterEachConfiguration) {
  objmodel::testing::set_config_rule_status("Site Baseline", {0, true, false, false, false, "05-Mar-2024", 0});
  table->KESTREL_set_configuration_rule("Site Baseline", false);
  auto first = KESTREL_get_soa_config_rule();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->clientId, "Site Baseline");
  EXPECT_EQ(first->revRule->getUid(), "rule-latest-working");
  EXPECT_EQ(first->date.toString(), "2024-03-05T00:00:00");
  first.reset();

  const long live = corerun::testing::sm_live_blocks();
  for (int i = 0; i < 5; ++i) EXPECT_NE(KESTREL_get_soa_config_rule(), nullptr);
  EXPECT_EQ(corerun::testing::sm_live_blocks(), live);
}

TEST_F(RevRuleTest, HandsOverTextsTheHostFrees) {
  const long live = corerun::testing::sm_live_blocks();
  table->KESTREL_set_config_rule_all("Released by Date", "2024-03-05", false, 0, false);
  const long kept = corerun::testing::sm_live_blocks();
  ListRules();
  RuleName(false);
  RuleGuid(false);
  RuleStatus("Released by Date");
  EXPECT_EQ(corerun::testing::sm_live_blocks(), kept);
  EXPECT_EQ(kept, live + 1);  // the record's own date
}

}  // namespace
}  // namespace kestrel::test
