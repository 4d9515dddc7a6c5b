// The legacy build's own connect and logout, and its three operations of
// its own: type names by UID, cookie information and the gateway IOR.
#include <string>
#include <vector>

#include "corba/corba.h"
#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "legacy_fixture.h"
#include "srvtools/testing.h"

namespace kestrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Return;
using ::testing::Throw;
namespace ClientTesting = Halden::Soa::Client::testing;
using Gateway = ClientTesting::GatewayAnswer;

TEST_F(LegacyTest, ConnectSendsTheNamedPolicyOnceAndNothingElse) {
  EXPECT_CALL(session, setObjectPropertyPolicy("VirelManagerDefault"));
  Connect();
  ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_EQ(table->KESTREL_ask_connection()->getProtocol(), Halden::Soa::Client::HTTP);
  EXPECT_THAT(Requests(), ElementsAre("setObjectPropertyPolicy"));
  EXPECT_EQ(server.requests.front().policy, -1);
  EXPECT_THAT(log_lines(), ElementsAre("SOA connection created for user engineer, group Engineering, role Designer",
                                       "SOA: Successfully set property policy"));
  // A second connect does nothing.
  Connect();
  EXPECT_EQ(server.requests.size(), 1U);
}

struct PolicyCase {
  const char* name;
  std::function<bool(const std::string&)> answer;
  const char* logged;
  friend void PrintTo(const PolicyCase& c, std::ostream* os) { *os << c.name; }
};

class PolicyAnswerTest : public LegacyTest, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(PolicyAnswerTest, IsLoggedAndTheConnectionStays) {
  EXPECT_CALL(session, setObjectPropertyPolicy).WillOnce(GetParam().answer);
  Connect();
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT(log_lines().back(), GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PolicyAnswerTest,
    ::testing::Values(PolicyCase{"False", [](const std::string&) { return false; },
                                 "SOA: setObjectPropertyPolicy returned false for success"},
                      PolicyCase{"Runtime",
                                 [](const std::string&) -> bool {
                                   throw Halden::Soa::Client::RuntimeException("policy lost");
                                 },
                                 "SOA: runtime error calling setObjectPropertyPolicy: policy lost"},
                      PolicyCase{"Soa",
                                 [](const std::string&) -> bool {
                                   throw Halden::Soa::Common::Exceptions::SoaException("no such policy");
                                 },
                                 "SOA: exception calling setObjectPropertyPolicy: no such policy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LegacyTest, UnknownPolicyNameAnswersFalse) {
  EXPECT_FALSE(world.session.setObjectPropertyPolicy("NoSuchPolicy"));
  EXPECT_TRUE(world.session.setObjectPropertyPolicy("VirelManagerDefault"));
}

TEST_F(LegacyTest, NullTextsCountAsEmptyAndANullProtocolIsIiop) {
  table->KESTREL_create_connection(kHost, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_EQ(table->KESTREL_ask_connection()->getProtocol(), Halden::Soa::Client::IIOP);
  EXPECT_EQ(log_lines().front(), "SOA connection created for user , group , role ");
}

TEST_F(LegacyTest, OnlyTheExactTextHttpIsHttp) {
  Connect("HTTPS");
  EXPECT_EQ(table->KESTREL_ask_connection()->getProtocol(), Halden::Soa::Client::IIOP);
}

TEST_F(LegacyTest, ConnectionIsMadeWithTheFirstBindingAndKeptAlive) {
  Connect();
  ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_EQ(ClientTesting::binding_of(*table->KESTREL_ask_connection()), Halden::Soa::Client::Binding(0));
  EXPECT_TRUE(ClientTesting::keep_alive_of(*table->KESTREL_ask_connection()));
}

struct ConnectFailure {
  const char* name;
  const char* host;
  ClientTesting::ServiceFailure failure;
  const char* text;
  friend void PrintTo(const ConnectFailure& c, std::ostream* os) { *os << c.name; }
};

class ConnectFailureTest : public LegacyTest, public ::testing::WithParamInterface<ConnectFailure> {};

TEST_P(ConnectFailureTest, RaisesAndLeavesNoConnection) {
  const auto& c = GetParam();
  ClientTesting::set_connection_failure(c.failure, "transport down");
  EXPECT_THAT([&] { table->KESTREL_create_connection(c.host, "HTTP", "engineer", "secret", "", "", ""); },
              RaisesFrom(940207, c.text, kLegacyFile));
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(log_text(), IsEmpty());
  // Nothing is kept of the failed attempt.
  ClientTesting::set_connection_failure(ClientTesting::ServiceFailure::None);
  Connect();
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ConnectFailureTest,
    ::testing::Values(ConnectFailure{"NoAddress", nullptr, ClientTesting::ServiceFailure::None,
                                     "SOA runtime exception creating connection: no server address given"},
                      ConnectFailure{"Runtime", kHost, ClientTesting::ServiceFailure::Runtime,
                                     "SOA runtime exception creating connection: transport down"},
                      ConnectFailure{"Soa", kHost, ClientTesting::ServiceFailure::Soa,
                                     "SOA exception creating connection: transport down"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LegacyTest, LogoutSendsNothingAndKeepsTheConnection) {
  EXPECT_EQ(table->KESTREL_logout(), 0);
  Connect();
  Halden::Soa::Client::Connection* connection = table->KESTREL_ask_connection();
  ClearRequests();
  EXPECT_EQ(table->KESTREL_logout(), 0);
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_EQ(table->KESTREL_ask_connection(), connection);
  // A connect after logout does nothing: the connection is still set.
  Connect();
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_EQ(table->KESTREL_ask_connection(), connection);
}

TEST_F(LegacyTest, LogoutWithoutTheSessionServiceAnswers940205) {
  Connect();
  clear_log();
  ClientTesting::set_get_service_failure("Core-2006-03-Session", ClientTesting::ServiceFailure::Runtime);
  EXPECT_EQ(table->KESTREL_logout(), 940205);
  EXPECT_THAT(log_lines(), ElementsAre("SOA runtime error on logout: no service Core-2006-03-Session"));
  clear_log();
  ClientTesting::set_get_service_failure("Core-2006-03-Session", ClientTesting::ServiceFailure::Soa, "EX-17");
  EXPECT_EQ(table->KESTREL_logout(), 940205);
  EXPECT_THAT(log_lines(), ElementsAre("SOA exception on logout: EX-17 service Core-2006-03-Session refused"));
}

TEST_F(LegacyTest, TypeNameOfAUidTheModelManagerHolds) {
  EXPECT_THAT([&] { table->KESTREL_ask_type_name_of_uid("rev-K-1000-B"); },
              RaisesFrom(940209, "SOA: No connection object - SOA unavailable or not initialized", kLegacyFile));
  Connect();
  EXPECT_THAT([&] { table->KESTREL_ask_type_name_of_uid("rev-K-1000-B"); },
              RaisesFrom(940209, "SOA: No SOA object found for input uid", kLegacyFile));
  table->constructObject("ItemRevision", "rev-K-1000-B");
  EXPECT_EQ(table->KESTREL_ask_type_name_of_uid("rev-K-1000-B"), "ItemRevision");
}

TEST_F(LegacyTest, CookieInfoExchangesTheThirdAndFourthParts) {
  srvtools::testing::set_cookie_info({"c1", "c2", "c3", "c4", "c5"});
  std::string out1, out2, out3, out4, out5;
  table->KESTREL_get_cookie_info("session-key", out1, out2, out3, out4, out5);
  EXPECT_EQ(out1, "c1");
  EXPECT_EQ(out2, "c2");
  EXPECT_EQ(out3, "c4");
  EXPECT_EQ(out4, "c3");
  EXPECT_EQ(out5, "c5");
  EXPECT_THAT(srvtools::testing::cookie_keys(), ElementsAre("session-key"));
}

struct IorCase {
  const char* name;
  std::vector<Gateway> answers;
  int tries, sleep_seconds;
  const char* expected;  // null: none
  std::size_t attempts;
  std::vector<int> sleeps;
  friend void PrintTo(const IorCase& c, std::ostream* os) { *os << c.name; }
};

class GatewayIorTest : public LegacyTest, public ::testing::WithParamInterface<IorCase> {};

TEST_P(GatewayIorTest, AttemptsAndPauses) {
  const auto& c = GetParam();
  ClientTesting::set_gateway_answers(c.answers);
  CORBA_Object object{"corbaloc:gateway"};
  char* ior = table->KESTREL_get_gateway_ior(&object, c.tries, c.sleep_seconds);
  if (c.expected)
    EXPECT_STREQ(ior, c.expected);
  else
    EXPECT_EQ(ior, nullptr);
  EXPECT_EQ(ClientTesting::gateway_requests().size(), c.attempts);
  for (auto* asked : ClientTesting::gateway_requests()) EXPECT_EQ(asked, &object);
  EXPECT_EQ(corerun::testing::sleeps(), c.sleeps);
}

const Gateway kThrows{Gateway::Kind::Throw, ""};
const Gateway kNull{Gateway::Kind::Null, ""};
const Gateway kIor{Gateway::Kind::Text, "IOR:0001"};

INSTANTIATE_TEST_SUITE_P(
    Answers, GatewayIorTest,
    ::testing::Values(IorCase{"NoTriesMakeOneAttempt", {kThrows}, 0, 2, nullptr, 1, {2}},
                      IorCase{"EveryThrowPausesTheLastIncluded", {kThrows}, 3, 2, nullptr, 3, {2, 2, 2}},
                      IorCase{"NullAnswersFollowAtOnce", {kNull}, 3, 2, nullptr, 3, {}},
                      IorCase{"NoPauseWithoutSleepSeconds", {kThrows}, 2, 0, nullptr, 2, {}},
                      IorCase{"TextEndsTheAttempts", {kThrows, kNull, kIor, kThrows}, 5, 1, "IOR:0001", 3, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrel::test
