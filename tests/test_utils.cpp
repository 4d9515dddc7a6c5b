// Preferences, dates, the services list and the connection option probe.
#include "corerun/clock.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::Exceptions::SoaException;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::Return;
using ::testing::Throw;

using PreferenceTest = SessionTest;

TEST_F(PreferenceTest, OneValueListUnderPolicyTwo) {
  ConnectAndLogin();
  ClearRequests();
  EXPECT_CALL(session, getPreferences("user", ElementsAre("HX_config_rule_name")));
  EXPECT_THAT(table->KESTREL_ask_preference_values("user", "HX_config_rule_name"), ElementsAre("Latest Working"));
  ASSERT_THAT(Requests(), ElementsAre("getPreferences"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_CALL(session, getPreferences("site", ElementsAre("no such preference")));
  EXPECT_THAT(table->KESTREL_ask_preference_values("site", "no such preference"), IsEmpty());
}

TEST_F(PreferenceTest, SeveralPreferencesInANewMap) {
  ConnectAndLogin();
  world.set_preference("site", "b_pref", {"2", "3"});
  world.set_preference("site", "a_pref", {"1"});
  std::unique_ptr<std::map<std::string, std::vector<std::string>>> map(
      table->KESTREL_ask_preferences("site", {"b_pref", "a_pref", "missing"}));
  ASSERT_NE(map, nullptr);
  EXPECT_THAT(*map, ElementsAre(Pair("a_pref", ElementsAre("1")), Pair("b_pref", ElementsAre("2", "3"))));
  EXPECT_EQ(server.requests.back().policy, 2);
}

class PreferenceConversion : public ConversionTest<PreferenceConversion, PreferenceTest> {
 public:
  static constexpr const char* kFile = "kestrel_utils.cpp";
  static std::vector<Operation> Operations() {
    const auto fail = [](PreferenceConversion& t, const std::function<void()>& fail) {
      t.ConnectAndLogin();
      ON_CALL(t.session, getPreferences(_, _))
          .WillByDefault([fail](const auto&, const auto&) -> Halden::Soa::Server::PreferencesReply {
            fail();
            return {};
          });
    };
    return {
        {"Values", fail, [](PreferenceConversion& t) { t.table->KESTREL_ask_preference_values("user", "x"); }},
        {"Map", fail, [](PreferenceConversion& t) { delete t.table->KESTREL_ask_preferences("user", {"x"}); }},
    };
  }
};
KESTREL_CONVERSION_SUITE(PreferenceConversion);

TEST_F(PreferenceTest, AfterLogoutTheModelManagerIsGone) {
  ConnectAndLogin();
  table->KESTREL_ask_preference_values("user", "HX_config_rule_name");
  ASSERT_NE(table->constructObject("RevisionRule", "rule-1"), nullptr);  // the model manager is cached now
  table->KESTREL_logout(false);
  EXPECT_THAT([&] { table->KESTREL_ask_preference_values("user", "HX_config_rule_name"); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
  EXPECT_THAT([&] { table->constructObject("RevisionRule", "rule-1"); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

using DateTextTest = SessionTest;

TEST_F(DateTextTest, FrameworkTextOfTheDateOrOfTheNullDate) {
  struct Case {
    const date_s* date;
    const char* text;
  };
  const date_s march{2009, 2, 7, 13, 5, 9};
  const date_s late{2040, 11, 31, 23, 59, 59};
  const date_s bad_month{2009, 12, 1, 0, 0, 0};
  const date_s bad_day{2009, 1, 30, 0, 0, 0};
  for (const Case& c : {Case{&march, "2009-03-07T13:05:09"}, Case{&late, "2040-12-31T23:59:59"},
                        Case{nullptr, "0001-01-01T00:00:00"}, Case{&null_date, "0001-01-01T00:00:00"},
                        Case{&bad_month, "0001-01-01T00:00:00"}, Case{&bad_day, "0001-01-01T00:00:00"}})
    EXPECT_EQ(table->KESTREL_get_datetime_string(c.date), UString(c.text));
}

TEST_F(DateTextTest, DebugLineNamesTheText) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  const date_s march{2009, 2, 7, 0, 0, 0};
  table->KESTREL_get_datetime_string(&march);
  EXPECT_EQ(log_text(), "KRAL SOA debug: KESTREL_get_datetime_string  time=2009-03-07T00:00:00\n");
}

using ServicesTest = SessionTest;

TEST_F(ServicesTest, NewListInReplyOrderWithoutPolicy) {
  Connect();
  world.set_available_services({"Core-2006-03-Session", "Internal-Core-2007-05-Session"});
  SetActivePropertyPolicy(-1);
  ClearRequests();
  std::unique_ptr<std::vector<std::string>> names(table->KESTREL_list_available_services());
  EXPECT_THAT(*names, ElementsAre("Core-2006-03-Session", "Internal-Core-2007-05-Session"));
  EXPECT_EQ(server.requests.at(0).policy, -1);
}

TEST_F(ServicesTest, DebugListing) {
  Connect();
  world.set_available_services({"A", "B"});
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  clear_log();
  delete table->KESTREL_list_available_services();
  EXPECT_EQ(log_text(),
            "KRAL SOA debug: Halden server reports following SOA services available:AB"
            "KRAL SOA debug: End of available services\n");
}

using OptionTest = SessionTest;

TEST_F(OptionTest, AnswerOfTheFirstAttemptOnATemporaryConnection) {
  EXPECT_CALL(connection, getOption(7));
  EXPECT_EQ(table->KESTREL_ask_connection_option(3, 2, "engineer", "secret", "Engineering"), "hxserver-pool");
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT(corerun::testing::sleeps(), IsEmpty());
}

TEST_F(OptionTest, RetriesWithPausesButNoneAfterTheLast) {
  struct Case {
    int attempts, sleep_seconds;
    int calls;
    std::vector<int> sleeps;
  };
  for (const Case& c : {Case{3, 2, 3, {2, 2}}, Case{0, 2, 1, {}}, Case{-4, 2, 1, {}}, Case{3, 0, 3, {}}}) {
    corerun::testing::clear_sleeps();
    EXPECT_CALL(connection, getOption(7)).Times(c.calls).WillRepeatedly(Return(""));
    EXPECT_EQ(table->KESTREL_ask_connection_option(c.attempts, c.sleep_seconds, "u", "p", "g"), "");
    EXPECT_EQ(corerun::testing::sleeps(), c.sleeps) << c.attempts << " attempts, sleep " << c.sleep_seconds;
    ::testing::Mock::VerifyAndClearExpectations(&connection);
  }
}

TEST_F(OptionTest, FailedAttemptsAreLoggedAndTheNextFollows) {
  EXPECT_CALL(connection, getOption(7))
      .WillOnce(Throw(RuntimeException("refused", 4)))
      .WillOnce(Throw(SoaException("odd")))
      .WillOnce(Return("pool-2"));
  EXPECT_EQ(table->KESTREL_ask_connection_option(5, 1, "u", "p", "g"), "pool-2");
  EXPECT_THAT(log_text(), HasSubstr("SOA: getOption failed: exception type: 4: refused\n"));
  EXPECT_THAT(log_text(), HasSubstr("SOA: runtime error calling getOption\n"));
  EXPECT_EQ(corerun::testing::sleeps(), (std::vector<int>{1, 1}));
}

// Without a default address no connection can be made: logged as a failed
// attempt, answered empty, and nothing more is tried.
TEST_F(OptionTest, AConnectionThatCannotBeMadeIsAFailedAttempt) {
  objmodel::testing::set_default_iiop_string("");
  EXPECT_CALL(connection, getOption(_)).Times(0);
  std::string answer = "unset";
  EXPECT_NO_THROW(answer = table->KESTREL_ask_connection_option(3, 2, "u", "p", "g"));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(log_text(), "SOA: getOption failed: exception type: 0: no server address given\n");
  EXPECT_THAT(corerun::testing::sleeps(), IsEmpty());
}

TEST_F(OptionTest, LeavesTheSessionConnectionAlone) {
  Connect();
  auto* session_connection = table->KESTREL_ask_connection();
  table->KESTREL_ask_connection_option(1, 0, "u", "p", "g");
  EXPECT_EQ(table->KESTREL_ask_connection(), session_connection);
}

}  // namespace
}  // namespace kestrel::test
