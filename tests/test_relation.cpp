// Trace links, the server-generation probe and the requirement full-text
// export.
#include <cctype>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "kestrel_relation.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
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

}  // namespace
}  // namespace kestrel::test
