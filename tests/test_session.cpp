// Creating the connection, logging in and out, the stored identity and the
// home folder.
#include <cstdlib>
#include <functional>

#include "cadlink/testing.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/client/Connection.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "srvtools/testing.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::LoginRequest;
using ::testing::_;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Return;
using ::testing::Throw;

using CreateTest = SessionTest;

TEST_F(CreateTest, OnlyTheExactTextHttpSelectsHttp) {
  struct Case {
    const char* protocol;
    Halden::Soa::Client::Protocol expected;
  };
  for (const Case& c : {Case{"HTTP", Halden::Soa::Client::HTTP}, Case{"http", Halden::Soa::Client::IIOP},
                        Case{"HTTPS", Halden::Soa::Client::IIOP}, Case{nullptr, Halden::Soa::Client::IIOP}}) {
    Connect(c.protocol);
    ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
    EXPECT_EQ(table->KESTREL_ask_connection()->getProtocol(), c.expected) << (c.protocol ? c.protocol : "null");
    table->KESTREL_logout(false);
  }
}

TEST_F(CreateTest, LogsTheIdentityAsksServicesAndEnablesPomRefresh) {
  Connect();
  EXPECT_THAT(Requests(), ElementsAre("getAvailableServices", "refreshPOMCachePerRequest"));
  EXPECT_EQ(server.requests[1].policy, -1);
  EXPECT_TRUE(world.pom_refresh());
  EXPECT_THAT(log_lines(),
              ElementsAre("SOA connection created for user=engineer, group=Engineering, role=Designer, discriminator=",
                          "SOA: POM refresh is Enabled"));
}

TEST_F(CreateTest, PomRefreshFollowsTheEnvironmentSwitch) {
  setenv("TOVII_TOVMGR_POM_REFRESH", "off", 1);
  Connect();
  unsetenv("TOVII_TOVMGR_POM_REFRESH");
  EXPECT_EQ(world.pom_refresh_requests(), 1);
  EXPECT_FALSE(world.pom_refresh());
  EXPECT_THAT(log_text(), HasSubstr("SOA: POM refresh is Disabled\n"));
}

TEST_F(CreateTest, WithoutTheInternalSessionServiceNoPomRefreshIsSent) {
  world.set_available_services({"Core-2006-03-Session"});
  Connect();
  EXPECT_THAT(Requests(), ElementsAre("getAvailableServices"));
  EXPECT_THAT(log_text(),
              HasSubstr("SOA: Unable to set SOA POM refresh mode, service not available in this Halden version\n"));
}

TEST_F(CreateTest, SecondCreateChangesNothing) {
  Connect();
  auto* first = table->KESTREL_ask_connection();
  ClearRequests();
  clear_log();
  table->KESTREL_create_connection("iiop://elsewhere", "IIOP", "other", "pw", "g", "r", "d", true);
  EXPECT_EQ(table->KESTREL_ask_connection(), first);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(log_text(), "");
  const UserGroupRole ugr = table->KESTREL_ask_user_group_role();
  EXPECT_EQ(ugr.user, "engineer");
  EXPECT_EQ(ugr.group, "Engineering");
  EXPECT_EQ(ugr.role, "Designer");
}

TEST_F(CreateTest, NullTextsCountAsEmpty) {
  table->KESTREL_create_connection(kHost, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false);
  ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT(log_text(), HasSubstr("SOA connection created for user=, group=, role=, discriminator=\n"));
  UserGroupRole ugr = table->KESTREL_ask_user_group_role();
  EXPECT_EQ(ugr.user, "");
  EXPECT_EQ(ugr.group, "");
}

TEST_F(CreateTest, FrameworkFailureWhileCreatingLeavesNoConnection) {
  EXPECT_THAT([&] { table->KESTREL_create_connection("", "HTTP", "engineer", "secret", "", "", "", false); },
              Raises(940207, "SOA runtime exception creating connection: no server address given"));
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  Connect();  // and a later create works
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
}

// After the connection is set, a failure reaches the host and the connection
// stays; the session is no longer initialising, so rejected credentials end it.
TEST_F(CreateTest, FailureAfterConnectingKeepsTheConnectionAndEndsInitialisation) {
  EXPECT_CALL(session, getAvailableServices())
      .WillOnce(Throw(RuntimeException("services refused")))
      .WillRepeatedly([&] { return world.session.getAvailableServices(); });
  EXPECT_CALL(session, refreshPOMCachePerRequest(true)).WillOnce(Throw(RuntimeException("refresh refused")));
  for (const char* text :
       {"KRAL SOA: SOA runtime exception: services refused", "KRAL SOA: SOA runtime exception: refresh refused"}) {
    EXPECT_THAT([&] { Connect(); }, Raises(940222, text));
    ASSERT_NE(table->KESTREL_ask_connection(), nullptr);
    EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); },
                Raises(940207, "SOA invalid credentials exception: Invalid password for engineer."));
    EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  }
}

// A listener the framework may still call through a forgotten connection is
// never deleted, not even by the logout of a later session whose create failed.
TEST_F(CreateTest, ListenerOfAForgottenConnectionOutlivesTheNextSession) {
  ConnectAndLogin();
  auto* forgotten = table->KESTREL_ask_connection();
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); }, Raises(940207, _));
  EXPECT_CALL(session, getAvailableServices())
      .WillOnce(Throw(RuntimeException("services refused")))
      .WillRepeatedly([&] { return world.session.getAvailableServices(); });
  EXPECT_THAT([&] { Connect(); }, Raises(940222, _));
  table->KESTREL_logout(false);

  ON_CALL(datamanagement, getProperties).WillByDefault([](auto&, auto&) {
    Halden::Soa::Server::WireServiceData data;
    data.deleted = {"doomed"};
    return data;
  });
  Halden::Services::Core::DatamanagementService::getService(forgotten)->getProperties({}, {});
  EXPECT_THAT(Orvane::PdmSoa::SoaManager::GetObjectManager()->deleted_reports, ElementsAre(ElementsAre("doomed")));
}

// Whichever way the connection is lost, the next session caches its own model
// manager and asks for its own session information.
TEST_F(CreateTest, LosingTheConnectionForgetsWhatWasCachedForIt) {
  struct Case {
    const char* how;
    std::function<void()> lose;
  };
  const Case cases[] = {
      {"logout", [&] { table->KESTREL_logout(false); }},
      {"rejected credentials",
       [&] { EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); }, Raises(940207, _)); }},
  };
  for (const Case& c : cases) {
    ConnectAndLogin();
    ASSERT_NE(table->constructObject("RevisionRule", "rule-old"), nullptr);
    ASSERT_NE(table->KESTREL_ask_home_folder(), nullptr);
    c.lose();
    ASSERT_EQ(table->KESTREL_ask_connection(), nullptr) << c.how;

    ConnectAndLogin();
    ClearRequests();
    auto* rule = table->constructObject("RevisionRule", "rule-new");
    EXPECT_EQ(table->KESTREL_ask_connection()->getModelManager()->findObject("rule-new"), rule) << c.how;
    EXPECT_NE(table->KESTREL_ask_home_folder(), nullptr) << c.how;
    EXPECT_THAT(Requests(), ElementsAre("getSessionInfo")) << c.how;
    table->KESTREL_logout(false);
  }
}

TEST_F(CreateTest, ErrorsReportTheirOwnSourceFile) {
  constexpr const char* kNoConnection = "SOA: No connection object - SOA unavailable or not initialized";
  EXPECT_THAT([&] { table->KESTREL_create_connection("", "HTTP", "u", "p", "", "", "", false); },
              RaisesFrom(940207, _, "kestrel_connection.cpp"));
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "secret", true); },
              RaisesFrom(940209, kNoConnection, "kestrel_connection.cpp"));
  EXPECT_THAT([&] { table->KESTREL_ask_user_group_role(); },
              RaisesFrom(940209, kNoConnection, "kestrel_connection.cpp"));
  EXPECT_THAT([&] { table->KESTREL_ask_home_folder(); }, RaisesFrom(940209, kNoConnection, "kestrel_connection.cpp"));
  EXPECT_THAT([&] { table->constructObject("RevisionRule", "r"); },
              RaisesFrom(940209, kNoConnection, "kestrel_utils.cpp"));
  Connect();
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce(Throw(RuntimeException("boom")));
  EXPECT_THAT([&] { table->KESTREL_ask_preference_values("user", "x"); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: boom", "kestrel_utils.cpp"));
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); },
              RaisesFrom(940207, _, "kestrel_connection.cpp"));
}

using LoginTest = SessionTest;

TEST_F(LoginTest, SendsCallersUserWithStoredGroupRoleAndEmptyDiscriminator) {
  Connect();
  EXPECT_CALL(session, login(AllOf(Field(&LoginRequest::user, "engineer"), Field(&LoginRequest::password, "secret"),
                                   Field(&LoginRequest::group, "Engineering"), Field(&LoginRequest::role, "Designer"),
                                   Field(&LoginRequest::discriminator, ""))));
  ClearRequests();
  table->KESTREL_login("engineer", "secret", true);
  ASSERT_THAT(Requests(), ElementsAre("login"));
  EXPECT_EQ(server.requests[0].policy, -1);
  EXPECT_EQ(world.session_user(), "engineer");
}

TEST_F(LoginTest, DoLoginFalseSendsNothing) {
  Connect();
  ClearRequests();
  EXPECT_CALL(session, login(_)).Times(0);
  table->KESTREL_login("engineer", "secret", false);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(LoginTest, WithoutConnectionRaises) {
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "secret", true); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
  EXPECT_THAT([&] { table->KESTREL_ask_user_group_role(); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

TEST_F(LoginTest, RejectedCredentialsEndTheSession) {
  Connect();
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); },
              Raises(940207, "SOA invalid credentials exception: Invalid password for engineer."));
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT([&] { table->KESTREL_ask_preference_values("user", "HX_config_rule_name"); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

// A rejected user is let pass: the framework tries again with the
// credentials the manager hands back, which are the stored ones.
TEST_F(LoginTest, RejectedUserIsTriedAgainWithTheStoredCredentials) {
  Connect();
  EXPECT_CALL(session, login(Field(&LoginRequest::user, "nobody")));
  EXPECT_CALL(session, login(Field(&LoginRequest::user, "engineer")));
  table->KESTREL_login("nobody", "secret", true);
  EXPECT_EQ(world.session_user(), "engineer");
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
}

TEST_F(LoginTest, RejectionsThatNeverEndFailAfterTheFrameworksRetries) {
  Connect();
  EXPECT_CALL(session, login(_))
      .Times(3)
      .WillRepeatedly(Throw(Halden::Soa::Common::Exceptions::InvalidUserException("locked")));
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "secret", true); },
              Raises(940222, "KRAL SOA: SOA exception: locked"));
}

TEST_F(LoginTest, SsoRejectionFetchesFreshCredentials) {
  world.add_user("sso-user", "sso-token", "Engineering", "Designer");
  srvtools::testing::set_sso_credentials("sso-user", "sso-token");
  table->KESTREL_create_connection(kHost, "HTTP", "engineer", "stale", "Engineering", "Designer", "disc-7", true);
  EXPECT_CALL(session, login(Field(&LoginRequest::discriminator, "disc-7"))).Times(2);
  table->KESTREL_login("engineer", "stale", true);
  EXPECT_EQ(world.session_user(), "sso-user");
  EXPECT_EQ(srvtools::testing::sso_requests(), 1);
  UserGroupRole ugr = table->KESTREL_ask_user_group_role();
  EXPECT_EQ(ugr.user, "sso-user");
  EXPECT_EQ(ugr.group, "Engineering");
  EXPECT_EQ(ugr.role, "Designer");
  EXPECT_EQ(table->KESTREL_ask_connection()->getCredentialManager()->credentialType(), 1);
}

TEST_F(LoginTest, FailedSsoRefreshKeepsTheStoredCredentials) {
  srvtools::testing::set_sso_credentials("", "", 5);
  table->KESTREL_create_connection(kHost, "HTTP", "engineer", "stale", "Engineering", "Designer", "disc-7", true);
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "stale", true); },
              Raises(940222, "KRAL SOA: SOA exception: Invalid password for engineer."));
  EXPECT_EQ(table->KESTREL_ask_user_group_role().user, "engineer");
}

using LogoutTest = SessionTest;

TEST_F(LogoutTest, ForgetsTheSessionWithoutTerminatingTheServer) {
  ConnectAndLogin();
  auto* old = table->KESTREL_ask_connection();
  ClearRequests();
  EXPECT_EQ(table->KESTREL_logout(false), 0);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  EXPECT_EQ(Orvane::PdmSoa::SoaManager::GetObjectManager()->clear_count, 1);

  // The listener is gone: a deletion the old connection hears no longer
  // reaches the host.
  world.add_object("doomed", {"Folder", "WorkspaceObject", "POM_object"});
  ON_CALL(datamanagement, getProperties).WillByDefault([](auto&, auto&) {
    Halden::Soa::Server::WireServiceData data;
    data.deleted = {"doomed"};
    return data;
  });
  Halden::Services::Core::DatamanagementService::getService(old)->getProperties({}, {});
  EXPECT_TRUE(Orvane::PdmSoa::SoaManager::GetObjectManager()->deleted_reports.empty());
}

TEST_F(LogoutTest, TerminatingSendsTheServerLogout) {
  ConnectAndLogin();
  ClearRequests();
  clear_log();
  // The listener is unregistered first: what the logout reply reports stays
  // with the framework.
  EXPECT_CALL(session, logout()).WillOnce([&] {
    auto data = world.session.logout();
    data.deleted = {"gone"};
    data.errors.push_back(Halden::Soa::Server::WireErrorStack{"", -1, "", {{1, 3, "late"}}});
    return data;
  });
  EXPECT_EQ(table->KESTREL_logout(true), 0);
  EXPECT_THAT(Requests(), ElementsAre("logout"));
  EXPECT_EQ(log_text(), "Halden Integration: Terminating hxserver.\n");
  EXPECT_EQ(world.session_user(), "");
  EXPECT_TRUE(Orvane::PdmSoa::SoaManager::GetObjectManager()->deleted_reports.empty());
  EXPECT_TRUE(Orvane::PdmSoa::SoaManager::GetObjectManager()->error_reports.empty());
}

TEST_F(LogoutTest, ResetsAdvancedSearchWhenEnabled) {
  cadlink::testing::set_advanced_search(true);
  Connect();
  table->KESTREL_logout(false);
  EXPECT_EQ(cadlink::testing::advsearch_invalidations(), 1);
  EXPECT_EQ(cadlink::testing::advsearch_resets(), 1);
}

TEST_F(LogoutTest, WithoutConnectionStillClearsAndReturnsZero) {
  EXPECT_EQ(table->KESTREL_logout(true), 0);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(Orvane::PdmSoa::SoaManager::GetObjectManager()->clear_count, 1);
  EXPECT_EQ(log_text(), "");
}

TEST_F(LogoutTest, FailedServerLogoutIsLoggedAndTheSessionStillEnds) {
  struct Case {
    std::function<Halden::Soa::Server::WireServiceData()> fail;
    const char* line;
  };
  const Case cases[] = {
      {[]() -> Halden::Soa::Server::WireServiceData { throw RuntimeException("gone"); },
       "KRAL SOA: SOA runtime exception on exit: gone\n"},
      {[]() -> Halden::Soa::Server::WireServiceData { throw SoaException("refused"); },
       "KRAL SOA: SOA exception on exit: refused\n"},
      {[]() -> Halden::Soa::Server::WireServiceData { throw std::logic_error("odd"); },
       "KRAL SOA: Unknown SOA exception on exit\n"},
  };
  for (const Case& c : cases) {
    ConnectAndLogin();
    EXPECT_CALL(session, logout()).WillOnce(c.fail);
    clear_log();
    EXPECT_EQ(table->KESTREL_logout(true), 0);
    EXPECT_THAT(log_text(), HasSubstr(c.line));
    EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  }
}

TEST_F(LogoutTest, CreateAfterLogoutBuildsAFreshSession) {
  ConnectAndLogin();
  ASSERT_NE(table->KESTREL_ask_home_folder(), nullptr);
  auto* first = table->KESTREL_ask_connection();
  table->KESTREL_logout(false);
  ConnectAndLogin();
  EXPECT_NE(table->KESTREL_ask_connection(), first);
  ClearRequests();
  // The new session asks for its own session information.
  ASSERT_NE(table->KESTREL_ask_home_folder(), nullptr);
  EXPECT_THAT(Requests(), ElementsAre("getSessionInfo"));
}

using HomeFolderTest = SessionTest;

TEST_F(HomeFolderTest, AnswersTheUsersFolderAndAsksTheSessionOnce) {
  ConnectAndLogin();
  ClearRequests();
  Orvane::PdmSoa::Folder* folder = table->KESTREL_ask_home_folder();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->GetUid(), UString("folder-home"));
  EXPECT_EQ(table->KESTREL_ask_home_folder(), folder);
  EXPECT_THAT(Requests(), ElementsAre("getSessionInfo"));
  EXPECT_EQ(server.requests[0].policy, -1);
}

TEST_F(HomeFolderTest, LoadsTheHomeFolderPropertyWhenTheReplyLacksIt) {
  world.set_policy("User", {"user_id"});
  ConnectAndLogin();
  ClearRequests();
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("user-engineer"), ElementsAre("home_folder")));
  Orvane::PdmSoa::Folder* folder = table->KESTREL_ask_home_folder();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->GetUid(), UString("folder-home"));
  EXPECT_THAT(Requests(), ElementsAre("getSessionInfo", "getProperties"));
}

TEST_F(HomeFolderTest, FailedLoadOfTheHomeFolderIsConverted) {
  world.set_policy("User", {"user_id"});
  ConnectAndLogin();
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(NotLoadedException("no folder")));
  EXPECT_THAT([&] { table->KESTREL_ask_home_folder(); },
              Raises(940223, "KRAL SOA: SOA not loaded exception: no folder"));
}

TEST_F(HomeFolderTest, FailedSecondReadPassesUnchanged) {
  world.set_policy("User", {"user_id"});
  ConnectAndLogin();
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Return(Halden::Soa::Server::WireServiceData{}));
  EXPECT_THROW(table->KESTREL_ask_home_folder(), NotLoadedException);
}

TEST_F(HomeFolderTest, FailedFetchIsTriedAgainByTheNextCall) {
  ConnectAndLogin();
  EXPECT_CALL(session, getSessionInfo()).WillOnce(Throw(RuntimeException("busy"))).WillRepeatedly([&] {
    return world.session.getSessionInfo();
  });
  EXPECT_THAT([&] { table->KESTREL_ask_home_folder(); }, Raises(940222, "KRAL SOA: SOA runtime exception: busy"));
  EXPECT_NE(table->KESTREL_ask_home_folder(), nullptr);
}

TEST_F(HomeFolderTest, NoSessionUserAnswersNull) {
  Connect();  // never logged in
  EXPECT_EQ(table->KESTREL_ask_home_folder(), nullptr);
}

TEST_F(HomeFolderTest, WithoutConnectionRaises) {
  EXPECT_THAT([&] { table->KESTREL_ask_home_folder(); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

}  // namespace
}  // namespace kestrel::test
