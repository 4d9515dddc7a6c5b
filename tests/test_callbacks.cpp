// What the framework calls back during a request: the credential manager,
// the exception handler and the model-change listener.
#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::CanceledOperationException;
using Halden::Soa::Client::ConnectionException;
using Halden::Soa::Client::InternalServerException;
using Halden::Soa::Client::ProtocolException;
using Halden::Soa::Common::Exceptions::InvalidCredentialsException;
using Halden::Soa::Common::Exceptions::InvalidUserException;
using Halden::Soa::Server::PreferencesReply;
using Halden::Soa::Server::WireErrorStack;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Throw;

constexpr const char* kUnreachable =
    "Unable to connect to the Halden Server. Most likely the Web tier is down. Contact your system administrator "
    "to restore the Web tier and try again later\n";
constexpr const char* kInternal = "An internal error occurred in the Halden SOA client.\n";

class CallbackTest : public SessionTest {
 protected:
  void DebugOn() {
    MACH__checking_level = 1;
    corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  }
  std::vector<std::string> AskPreference() {
    return table->KESTREL_ask_preference_values("user", "HX_config_rule_name");
  }
};

// The first rejection while the connection is being made only logs and lets
// the request go on; the next one follows the normal rules.
TEST_F(CallbackTest, FirstRejectionWhileInitialisingIsLetPass) {
  DebugOn();
  EXPECT_CALL(session, getAvailableServices())
      .WillOnce(Throw(InvalidCredentialsException("session expired")))
      .WillRepeatedly([&] { return world.session.getAvailableServices(); });
  Connect();
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
  EXPECT_THAT(log_text(), HasSubstr("KRAL SOA debug: credentials exception, proceeding with SOA initialisation - "
                                    "exception = session expired\n"));
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "wrong", true); },
              Raises(940207, "SOA invalid credentials exception: Invalid password for engineer."));
}

TEST_F(CallbackTest, InvalidUserWhileInitialisingLogsItsOwnText) {
  DebugOn();
  EXPECT_CALL(session, getAvailableServices()).WillOnce(Throw(InvalidUserException("who?"))).WillRepeatedly([&] {
    return world.session.getAvailableServices();
  });
  Connect();
  EXPECT_THAT(log_text(),
              HasSubstr("KRAL SOA debug: user exception, proceeding with SOA initialisation - exception = who?\n"));
}

TEST_F(CallbackTest, RejectionsDuringLogoutOnlyLog) {
  ConnectAndLogin();
  DebugOn();
  EXPECT_CALL(session, logout()).WillRepeatedly(Throw(InvalidCredentialsException("late")));
  EXPECT_EQ(table->KESTREL_logout(true), 0);
  EXPECT_THAT(log_text(), HasSubstr("KRAL SOA debug: credentials exception late during SOA logout\n"));
  EXPECT_THAT(log_text(), HasSubstr("KRAL SOA: SOA exception on exit: late\n"));
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
}

TEST_F(CallbackTest, DebugLinesNeedCheckingLevelAndFlag) {
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);  // checking level stays 0
  EXPECT_CALL(session, getAvailableServices()).WillOnce(Throw(InvalidUserException("who?"))).WillRepeatedly([&] {
    return world.session.getAvailableServices();
  });
  Connect();
  EXPECT_THAT(log_text(), Not(HasSubstr("KRAL SOA debug")));
}

using HandlerTest = CallbackTest;

TEST_F(HandlerTest, LostConnectionAnsweredOneRaisesUnreachable) {
  Connect();
  cadlink::testing::set_dialog_answer(1);
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce(Throw(ConnectionException("web tier down")));
  EXPECT_THAT([&] { AskPreference(); }, RaisesFrom(940235, kUnreachable, "KestrelInternalServerException.cpp"));
  EXPECT_EQ(cadlink::testing::dialog_shows(), 1);
  EXPECT_THAT(log_text(), HasSubstr("Halden Integration: The server returned a connection error : web tier down\n"));
}

TEST_F(HandlerTest, LostConnectionAnsweredOtherwiseLetsTheFrameworkGoOn) {
  Connect();
  for (int answer : {0, 2}) {
    cadlink::testing::set_dialog_answer(answer);
    EXPECT_CALL(session, getPreferences(_, _))
        .WillOnce(Throw(ConnectionException("blip")))
        .WillRepeatedly([&](auto& scope, auto& names) { return world.session.getPreferences(scope, names); });
    EXPECT_THAT(AskPreference(), ElementsAre("Latest Working"));
  }
  EXPECT_EQ(cadlink::testing::dialog_shows(), 2);  // one per failure: the guard was clear again
}

TEST_F(HandlerTest, FailureWhileTheDialogIsUpRaisesAtOnce) {
  Connect();
  EXPECT_CALL(session, getPreferences(_, _)).WillRepeatedly(Throw(ConnectionException("down")));
  cadlink::testing::set_dialog_action([&] { EXPECT_THAT([&] { AskPreference(); }, Raises(940235, kUnreachable)); });
  cadlink::testing::set_dialog_answer(1);
  EXPECT_THAT([&] { AskPreference(); }, Raises(940235, kUnreachable));
  EXPECT_EQ(cadlink::testing::dialog_shows(), 1);
}

TEST_F(HandlerTest, DialogFailureIsRaisedAndTheGuardCleared) {
  Connect();
  EXPECT_CALL(session, getPreferences(_, _)).WillRepeatedly(Throw(ConnectionException("down")));
  cadlink::testing::set_dialog_failure(cadlink::testing::DialogFailure::StdException);
  EXPECT_THAT([&] { AskPreference(); },
              RaisesFrom(0, "dialog could not be shown", "KestrelInternalServerException.cpp"));

  cadlink::testing::set_dialog_failure(cadlink::testing::DialogFailure::Foreign);
  EXPECT_THROW(AskPreference(), cadlink::testing::ForeignFailure);

  cadlink::testing::set_dialog_failure(cadlink::testing::DialogFailure::None);
  cadlink::testing::set_dialog_answer(1);
  EXPECT_THAT([&] { AskPreference(); }, Raises(940235, kUnreachable));
  EXPECT_EQ(cadlink::testing::dialog_shows(), 3);  // each failure showed the dialog again
}

TEST_F(HandlerTest, ProtocolErrorOverHttpWithoutStartedServerIsInternal) {
  Connect();
  objmodel::testing::set_http(true);
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce(Throw(ProtocolException("garbled")));
  EXPECT_THAT([&] { AskPreference(); }, Raises(940209, kInternal));
  EXPECT_THAT(log_text(), HasSubstr("Halden Integration: The server returned an protocol error : garbled\n"
                                    "Halden Integration: This is most likely the result of a programming error.\n"));
}

TEST_F(HandlerTest, OtherProtocolAndServerErrorsAreRethrown) {
  Connect();
  objmodel::testing::set_http(true);
  objmodel::testing::set_start_hxserver(true);
  EXPECT_CALL(session, getPreferences(_, _))
      .WillOnce(Throw(ProtocolException("garbled")))
      .WillOnce(Throw(InternalServerException("severe")));
  EXPECT_THROW(AskPreference(), ProtocolException);
  EXPECT_THAT(log_text(), HasSubstr("Halden Integration: The server returned a protocol error : garbled\n"));
  EXPECT_THROW(AskPreference(), InternalServerException);
  EXPECT_THAT(log_text(), HasSubstr("Halden Integration: The server returned an internal severe error : severe\n"));
}

TEST_F(HandlerTest, CancelledRequestIsInternal) {
  Connect();
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce(Throw(CanceledOperationException("user cancelled")));
  EXPECT_THAT([&] { AskPreference(); }, RaisesFrom(940209, kInternal, "KestrelInternalServerException.cpp"));
  EXPECT_THAT(log_text(),
              HasSubstr("Halden Integration: The server returned an internal severe error : user cancelled\n"));
}

using ListenerTest = CallbackTest;

TEST_F(ListenerTest, PartialErrorsOfAnyLevelReachTheHost) {
  Connect();
  DebugOn();
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce([&](auto&, auto&) {
    PreferencesReply reply;
    reply.data = world.reply_with({"folder-home"});
    reply.data.errors.push_back(WireErrorStack{"folder-home", -1, "", {{214001, 1, "note"}, {214002, 3, "bad"}}});
    reply.data.errors.push_back(WireErrorStack{"", -1, "", {{7, 2, "loose"}}});
    return reply;
  });
  clear_log();
  AskPreference();

  auto* host = Orvane::PdmSoa::SoaManager::GetObjectManager();
  ASSERT_EQ(host->error_reports.size(), 1u);
  const auto& stacks = *host->error_reports[0];
  ASSERT_EQ(stacks.size(), 2u);
  ASSERT_NE(stacks[0]->GetAssociatedObject(), nullptr);
  EXPECT_EQ(stacks[0]->GetAssociatedObject()->GetUid(), UString("folder-home"));
  ASSERT_EQ(stacks[0]->GetErrorValues().size(), 2u);
  EXPECT_EQ(stacks[0]->GetErrorValues()[1].code, 214002);
  EXPECT_EQ(stacks[0]->GetErrorValues()[1].message, UString("bad"));
  EXPECT_EQ(stacks[0]->GetErrorValues()[1].level, 3);
  EXPECT_EQ(stacks[1]->GetAssociatedObject(), nullptr);
  EXPECT_THAT(log_lines(),
              ElementsAre("KRAL SOA debug: Partial Errors received from SOA for - object = folder-home",
                          "KRAL SOA debug: Partial Errors received from SOA - code = 214001, level = 1, message = note",
                          "KRAL SOA debug: Partial Errors received from SOA - code = 214002, level = 3, message = bad",
                          "KRAL SOA debug: Partial Errors received from SOA - code = 7, level = 2, message = loose"));
}

TEST_F(ListenerTest, DeletionsReachTheHostButChangesDoNot) {
  Connect();
  EXPECT_CALL(session, getPreferences(_, _)).WillOnce([&](auto&, auto&) {
    PreferencesReply reply;
    reply.data = world.reply_with({"folder-home"});
    reply.data.updated = {"folder-home"};
    reply.data.deleted = {"gone-1", "gone-2"};
    return reply;
  });
  AskPreference();
  auto* host = Orvane::PdmSoa::SoaManager::GetObjectManager();
  EXPECT_THAT(host->deleted_reports, ElementsAre(ElementsAre("gone-1", "gone-2")));
  EXPECT_TRUE(host->changed_reports.empty());
}

}  // namespace
}  // namespace kestrel::test
