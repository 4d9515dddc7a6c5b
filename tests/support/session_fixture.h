// What every suite shares: the sample server (world and mock stubs), the
// table as the host gets it, log capture and the matcher for raised errors.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corerun/error.h"
#include "corerun/ustring.h"
#include "halden/server/TestServer.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/SoaManager.h"

namespace kestrel::test {

constexpr const char* kHost = "http://world:7001/kestrel";

// Everything logged since the last clear.
std::string log_text();
std::vector<std::string> log_lines();
void clear_log();

// Matches a callable that raises the base library's error with this code and
// a message matching text (a string or a matcher).
MATCHER_P2(Raises, code, text, "") {
  try {
    arg();
  } catch (const Orvane::Error::Severe& e) {
    *result_listener << "raised " << e.Code() << " \"" << e.Message() << "\"";
    return e.Code() == code && ::testing::Value(e.Message(), text);
  } catch (const std::exception& e) {
    *result_listener << "threw " << e.what();
    return false;
  } catch (...) {
    *result_listener << "threw something foreign";
    return false;
  }
  *result_listener << "raised nothing";
  return false;
}

// Raises, and the error reports this source file (its name without
// directories).
MATCHER_P3(RaisesFrom, code, text, file, "") {
  try {
    arg();
  } catch (const Orvane::Error::Severe& e) {
    *result_listener << "raised " << e.Code() << " \"" << e.Message() << "\" from " << e.File();
    return e.Code() == code && ::testing::Value(e.Message(), text) && e.File() == std::string(file);
  } catch (const std::exception& e) {
    *result_listener << "threw " << e.what();
    return false;
  } catch (...) {
    *result_listener << "threw something foreign";
    return false;
  }
  *result_listener << "raised nothing";
  return false;
}

class SessionTest : public ::testing::Test {
 protected:
  SessionTest();
  ~SessionTest() override;

  // Slot 1 against the world, with the world's user.
  void Connect(const char* protocol = "HTTP");
  void ConnectAndLogin();
  // The operations that reached the server, as "operation" names, in order.
  std::vector<std::string> Requests() const;
  void ClearRequests() { server.requests.clear(); }

  const KESTREL_interface_s* table = nullptr;
  // The sample server bound at kHost; the names below are its parts.
  Halden::Soa::Server::TestServer test_server{kHost};
  Halden::Soa::Server::SampleWorld& world = test_server.world;
  ::testing::NiceMock<Halden::Soa::Server::MockSessionStub>& session = test_server.session;
  ::testing::NiceMock<Halden::Soa::Server::MockDataManagementStub>& datamanagement = test_server.datamanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockConnectionStub>& connection = test_server.connection;
  ::testing::NiceMock<Halden::Soa::Server::MockStructureManagementStub>& structuremanagement =
      test_server.structuremanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockPreferenceManagementStub>& preferencemanagement =
      test_server.preferencemanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockReservationStub>& reservation = test_server.reservation;
  ::testing::NiceMock<Halden::Soa::Server::MockCadDataManagementStub>& caddatamanagement =
      test_server.caddatamanagement;
  Halden::Soa::Server::Server& server = test_server.server;
};

}  // namespace kestrel::test
