// What every suite shares: the sample server (world and mock stubs), the
// table as the host gets it, log capture and the matcher for raised errors.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corerun/ustring.h"
#include "halden/server/TestServer.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/SoaManager.h"
#include "support/raises.h"

namespace kestrel::test {

constexpr const char* kHost = "http://world:7001/kestrel";

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
  ::testing::NiceMock<Halden::Soa::Server::MockProjectLevelSecurityStub>& projectlevelsecurity =
      test_server.projectlevelsecurity;
  ::testing::NiceMock<Halden::Soa::Server::MockClassificationStub>& classification = test_server.classification;
  ::testing::NiceMock<Halden::Soa::Server::MockManagedRelationsStub>& managedrelations = test_server.managedrelations;
  ::testing::NiceMock<Halden::Soa::Server::MockInternalDataManagementStub>& internaldatamanagement =
      test_server.internaldatamanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockRequirementsManagementStub>& requirementsmanagement =
      test_server.requirementsmanagement;
  Halden::Soa::Server::Server& server = test_server.server;
};

}  // namespace kestrel::test
