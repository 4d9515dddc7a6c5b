// Behaviours the rest of the suite passes by chance: each test here fails
// when its one rule is broken, where the area's own tests would not notice.
#include <memory>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"
#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "kestrel_connection.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "srvtools/testing.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::ProtocolException;
using Halden::Soa::Common::Exceptions::InvalidCredentialsException;
using Halden::Soa::Common::Exceptions::InvalidUserException;
using Halden::Soa::Server::BomWindowRequest;
using Halden::Soa::Server::LoginRequest;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Throw;

class RegressionTest : public SessionTest {
 protected:
  void DebugOn() {
    MACH__checking_level = 1;
    corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  }
  std::string Uid(const Orvane::PdmSoa::ModelObject* object) { return object ? object->GetUid().utf8() : "(none)"; }
  bool HostHolds(const std::string& uid) { return SoaManager::GetObjectManager()->FindObject(UString(uid)); }
};

// --- connect and login ---------------------------------------------------------

// Only the first rejection while connecting is let pass.
TEST_F(RegressionTest, SecondRejectionWhileConnectingRaises) {
  EXPECT_CALL(session, getAvailableServices())
      .WillOnce(Throw(InvalidCredentialsException("expired")))
      .WillOnce(Throw(InvalidCredentialsException("expired again")))
      .WillRepeatedly([&] { return world.session.getAvailableServices(); });
  EXPECT_THAT([&] { Connect(); }, Raises(940207, "SOA invalid credentials exception: expired again"));
}

// The listener hears the POM refresh reply, and a rejection of that request
// is no longer part of connecting.
TEST_F(RegressionTest, PomRefreshComesAfterTheListenerAndOutsideInitialisation) {
  EXPECT_CALL(session, refreshPOMCachePerRequest(_)).WillOnce([](bool) {
    WireServiceData data;
    data.deleted = {"stale-1"};
    return data;
  });
  Connect();
  EXPECT_THAT(SoaManager::GetObjectManager()->deleted_reports,
              ::testing::ElementsAre(::testing::ElementsAre("stale-1")));
  table->KESTREL_logout(false);

  EXPECT_CALL(session, refreshPOMCachePerRequest(_))
      .WillOnce(Throw(InvalidCredentialsException("refresh refused")))
      .WillRepeatedly(::testing::Return(WireServiceData{}));
  EXPECT_THAT([&] { Connect(); }, Raises(940207, "SOA invalid credentials exception: refresh refused"));
}

// Outside single sign-on the discriminator given at connect is neither kept
// nor sent.
TEST_F(RegressionTest, LoginOutsideSsoSendsNoDiscriminator) {
  table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "disc-9", false);
  EXPECT_CALL(session, login(Field(&LoginRequest::discriminator, "")));
  table->KESTREL_login("engineer", "secret", true);
}

TEST_F(RegressionTest, SsoRefreshesOnARejectedUser) {
  world.add_user("sso-user", "sso-token", "Engineering", "Designer");
  srvtools::testing::set_sso_credentials("sso-user", "sso-token");
  table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "disc-7", true);
  table->KESTREL_login("nobody", "secret", true);
  EXPECT_EQ(srvtools::testing::sso_requests(), 1);
  EXPECT_EQ(world.session_user(), "sso-user");
}

// --- logout --------------------------------------------------------------------

TEST_F(RegressionTest, RejectedUserDuringLogoutLogsItsOwnText) {
  ConnectAndLogin();
  DebugOn();
  EXPECT_CALL(session, logout()).WillRepeatedly(Throw(InvalidUserException("late")));
  EXPECT_EQ(table->KESTREL_logout(true), 0);
  EXPECT_THAT(log_text(), HasSubstr("KRAL SOA debug: invalid user exception late during SOA logout\n"));
}

TEST_F(RegressionTest, LogoutLeavesADisabledAdvancedSearchAlone) {
  ConnectAndLogin();
  table->KESTREL_logout(false);
  EXPECT_EQ(cadlink::testing::advsearch_invalidations(), 0);
  EXPECT_EQ(cadlink::testing::advsearch_resets(), 0);
}

// --- the exception handler -----------------------------------------------------

// Without HTTP a protocol error is the framework's own, whatever the server
// start setting says.
TEST_F(RegressionTest, ProtocolErrorWithoutHttpIsRethrown) {
  Connect();
  objmodel::testing::set_http(false);
  objmodel::testing::set_start_hxserver(false);
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce(Throw(ProtocolException("garbled")));
  EXPECT_THROW(table->KESTREL_ask_preference_values("user", "x"), ProtocolException);
  EXPECT_THAT(log_text(), HasSubstr("Halden Integration: The server returned a protocol error : garbled\n"));
}

// --- slot 87 -------------------------------------------------------------------

TEST_F(RegressionTest, OptionConnectionIsIiopWithUserPasswordAndGroup) {
  EXPECT_CALL(connection, getOption(7)).WillOnce([](int) {
    const Halden::Soa::Client::Connection* made = Halden::Soa::Client::testing::option_connection();
    EXPECT_NE(made, nullptr);
    if (!made) return std::string();
    EXPECT_EQ(made->getProtocol(), Halden::Soa::Client::IIOP);
    auto* credentials = dynamic_cast<LoginCredentials*>(made->getCredentialManager());
    EXPECT_NE(credentials, nullptr);
    if (!credentials) return std::string();
    const auto sent = credentials->copyCredentials();
    EXPECT_EQ(sent.user, "engineer");
    EXPECT_EQ(sent.password, "secret");
    EXPECT_EQ(sent.group, "Engineering");
    EXPECT_EQ(sent.role, "");
    EXPECT_EQ(sent.discriminator, "");
    return std::string("pool");
  });
  EXPECT_EQ(table->KESTREL_ask_connection_option(1, 0, "engineer", "secret", "Engineering"), "pool");
}

// --- revision rules ------------------------------------------------------------

// Each entry that can answer for the preference reads the preference itself.
class PreferenceReaderTest : public RegressionTest, public ::testing::WithParamInterface<int> {};

TEST_P(PreferenceReaderTest, ReadsThePreferenceItself) {
  ConnectAndLogin();
  cadlink::testing::set_hx_pref_values(TOVMGR__hx_config_rule_name, {"Released by Date"});
  switch (GetParam()) {
    case 129: {
      char* guid = nullptr;
      EXPECT_EQ(table->KESTREL_ask_config_rule_GUID(true, &guid), 0);
      EXPECT_STREQ(guid, "rule-released-by-date");
      SM_free(guid);
      break;
    }
    case 132: {
      bool has_date = false, today = false, has_unit = false, use_unit = false;
      char* date = nullptr;
      int unit_no = 0;
      EXPECT_EQ(table->KESTREL_ask_config_rule_status(nullptr, true, &has_date, &today, &has_unit, &use_unit, &date,
                                                      &unit_no),
                0);
      EXPECT_TRUE(has_date);
      SM_free(date);
      break;
    }
    case 134: {
      bool precise = true;
      EXPECT_EQ(table->KESTREL_ask_config_rule_has_precise(true, &precise), 0);
      EXPECT_FALSE(precise);
      break;
    }
  }
  EXPECT_THAT(log_text(), HasSubstr("HX_config_rule_name returned as [Released by Date]\n"));
}

INSTANTIATE_TEST_SUITE_P(Slots, PreferenceReaderTest, ::testing::Values(129, 132, 134),
                         [](const auto& info) { return "slot_" + std::to_string(info.param); });

// Rule names match byte for byte: another case is a rule the server did not
// list, so the host's current rule stands in under that name.
TEST_F(RegressionTest, RuleNamesMatchWithCase) {
  ConnectAndLogin();
  EXPECT_EQ(table->KESTREL_set_configuration_rule("LATEST RELEASED", false), 0);
  char* guid = nullptr;
  EXPECT_EQ(table->KESTREL_ask_config_rule_GUID(false, &guid), 0);
  EXPECT_STREQ(guid, "rule-latest-working");
  SM_free(guid);
  char* name = nullptr;
  EXPECT_EQ(table->KESTREL_ask_configuration_rule(false, &name), 0);
  EXPECT_STREQ(name, "LATEST RELEASED");
  SM_free(name);
}

// --- BOM -----------------------------------------------------------------------

TEST_F(RegressionTest, WindowUnderADatedRuleCarriesTheDate) {
  ConnectAndLogin();
  ASSERT_EQ(table->KESTREL_set_config_rule_all("Released by Date", "2024-03-05T08:30:00", false, 0, false), 0);
  auto* revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
  ASSERT_NE(revision, nullptr);
  BomWindowRequest sent;
  EXPECT_CALL(structuremanagement, createBomWindows(_)).WillOnce([&](const auto& requests) {
    if (!requests.empty()) sent = requests[0];
    return world.structuremanagement.createBomWindows(requests);
  });
  ASSERT_NE(table->KESTREL_create_bom_window(Uid(revision)), nullptr);
  EXPECT_EQ(sent.config.client_id, "Released by Date");
  EXPECT_EQ(sent.config.date.toString(), "2024-03-05T08:30:00");
}

// Each output's parent line decides alone whether its data is new to the host.
TEST_F(RegressionTest, SeveralLinesEachAskTheirOwnParent) {
  ConnectAndLogin();
  auto* revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
  ASSERT_NE(revision, nullptr);
  auto* window = table->KESTREL_create_bom_window(Uid(revision));
  ASSERT_NE(window, nullptr);
  BomLine* top = table->KESTREL_ask_bom_top_line(window);
  std::vector<BomLine*> found;
  table->KESTREL_ask_bom_lines_by_path(window, {{"wheel-left"}}, &found);
  ASSERT_EQ(found.size(), 1u);
  ASSERT_FALSE(HostHolds("ds-K-1000-B-notes"));

  std::unique_ptr<std::vector<std::vector<BomLine*>*>> lists(table->KESTREL_expand_bom_lines({found[0], top}, 0));

  EXPECT_TRUE(HostHolds("ds-K-1000-B-notes")) << "the top line has no parent: its own data is new";
  for (auto* list : *lists) {
    for (BomLine* line : *list) delete line;
    delete list;
  }
}

// --- items by id ---------------------------------------------------------------

// Of several revision entries the first answers.
TEST_F(RegressionTest, FirstOfSeveralRevisionEntriesAnswers) {
  ConnectAndLogin();
  std::unique_ptr<std::vector<Orvane::PdmSoa::Item*>> items(table->KESTREL_get_items_by_id({{"K-1110", {}}}, 0));
  ASSERT_TRUE(items && items->size() == 1 && (*items)[0]);
  Orvane::PdmSoa::Item* item = (*items)[0];
  std::vector<std::string> first_datasets;
  ON_CALL(datamanagement, getItemFromId(_, _, _)).WillByDefault([&](const auto& ids, int count, const auto& filters) {
    auto asked = ids;
    for (auto& id : asked) id.revision_ids = {"A", "C"};
    auto reply = world.datamanagement.getItemFromId(asked, count, filters);
    EXPECT_EQ(reply.outputs.at(0).revisions.size(), 2u);
    first_datasets = reply.outputs.at(0).revisions.at(0).dataset_uids;
    return reply;
  });
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_by_id("K-1110", "A", 0)), "rev-K-1110-A");
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_of_item(item, "A", 0)), "rev-K-1110-A");
  std::vector<std::string> datasets;
  for (auto* dataset : table->KESTREL_get_datasets_by_id("K-1110", "A", 0)) datasets.push_back(Uid(dataset));
  EXPECT_EQ(datasets, first_datasets);
  EXPECT_FALSE(first_datasets.empty());
}

}  // namespace
}  // namespace kestrel::test
