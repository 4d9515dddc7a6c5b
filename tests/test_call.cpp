// The call layer the operations share: the request styles and the check of
// host objects' server objects; reached directly, as later operations will.
#include <functional>
#include <string>
#include <vector>

#include "halden/services/core/SessionService.h"
#include "halden/soa/client/Exceptions.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_request.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Services::Core::SessionService;
using Halden::Soa::Client::RuntimeException;
using ::testing::Throw;

class CallTest : public SessionTest {
 protected:
  // The policy of the last request; -99 when none was sent.
  int LastPolicy() const { return server.requests.empty() ? -99 : server.requests.back().policy; }
};

struct Style {
  const char* name;
  std::function<std::vector<std::string>()> call;
  int policy;     // in force for the request
  bool converts;  // the framework's exceptions become errors
};

std::vector<Style> Styles() {
  const auto ask = [](SessionService& session) { return session.getAvailableServices(); };
  return {
      {"soa_request", [=] { return soa_request<SessionService>(KESTREL_HERE, ask); }, 2, true},
      {"without_policy", [=] { return soa_request_without_policy<SessionService>(KESTREL_HERE, ask); }, -1, true},
      {"unconverted", [=] { return soa_request_unconverted<SessionService>(KESTREL_HERE, ask); }, 2, false},
      {"on_connection", [=] { return soa_request_on<SessionService>(*KESTREL_ask_connection(), ask); }, -1, false},
  };
}

TEST_F(CallTest, EachStyleSetsItsPolicyAndConvertsOrNot) {
  Connect();
  for (const Style& style : Styles()) {
    SCOPED_TRACE(style.name);
    SetActivePropertyPolicy(-1);
    style.call();
    EXPECT_EQ(LastPolicy(), style.policy);

    EXPECT_CALL(session, getAvailableServices()).WillOnce(Throw(RuntimeException("boom")));
    if (style.converts)
      EXPECT_THAT([&] { style.call(); }, RaisesFrom(940222, "KRAL SOA: SOA runtime exception: boom", "test_call.cpp"));
    else
      EXPECT_THROW(style.call(), RuntimeException);
    ::testing::Mock::VerifyAndClearExpectations(&session);
  }
}

TEST_F(CallTest, WithoutAConnectionEveryStyleOfTheSessionRaisesFromItsSite) {
  const auto ask = [](SessionService& session) { return session.getAvailableServices(); };
  const std::function<void()> calls[] = {
      [&] { soa_request<SessionService>(KESTREL_HERE, ask); },
      [&] { soa_request_without_policy<SessionService>(KESTREL_HERE, ask); },
      [&] { soa_request_unconverted<SessionService>(KESTREL_HERE, ask); },
  };
  for (const auto& call : calls) EXPECT_THAT(call, RaisesFrom(940209, kNoConnection, "test_call.cpp"));
  EXPECT_TRUE(server.requests.empty());
}

class HostCheckTest : public CallTest {
 protected:
  HostCheckTest() {
    ConnectAndLogin();
    world.add_object("obj-a", {"Folder", "WorkspaceObject", "POM_object"}, {});
    world.add_object("obj-b", {"Folder", "WorkspaceObject", "POM_object"}, {});
    a = table->constructObject("Folder", "obj-a");
    b = table->constructObject("Folder", "obj-b");
  }
  Halden::Soa::Client::ModelObject *a = nullptr, *b = nullptr;
  Orvane::PdmSoa::Folder orphan{nullptr};  // a host object without a server object
};

TEST_F(HostCheckTest, ServerObjectsInOrder) {
  EXPECT_EQ(server_objects_of(KESTREL_HERE, {host_object_of(b), host_object_of(a)}, "X", 940205, "none %s"),
            (std::vector<Halden::Soa::Client::ModelObject*>{b, a}));
  EXPECT_EQ(wrap_as<Orvane::PdmSoa::Folder>(a), host_object_of(a));
  EXPECT_EQ(wrap_as<Orvane::PdmSoa::Folder>(nullptr), nullptr);
}

TEST_F(HostCheckTest, ANullEntryOrAMissingServerObjectRaisesWithTheCallersCodeAndText) {
  const auto missing = "KRAL SOA: No SOA object found for Virel/Mgr object with UID %s\n";
  EXPECT_THAT(
      [&] {
        server_objects_of(KESTREL_HERE, {host_object_of(a), nullptr}, "KESTREL_refresh", 940205, missing);
      },
      RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_refresh", "test_call.cpp"));
  EXPECT_THAT(
      [&] {
        server_objects_of(KESTREL_HERE, {host_object_of(a), &orphan}, "KESTREL_refresh", 940205, missing);
      },
      RaisesFrom(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID \n", "test_call.cpp"));
  EXPECT_THAT([&] { server_object_of(KESTREL_HERE, nullptr, 940209, "KRAL SOA: none for uid %s"); },
              RaisesFrom(940209, "KRAL SOA: none for uid ", "test_call.cpp"));
}

}  // namespace
}  // namespace kestrel::test
