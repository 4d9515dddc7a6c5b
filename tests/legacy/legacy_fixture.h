// What the legacy build's suites share: the sample server, the 48-slot table
// as the older host gets it, and the host's part in owning what the library
// builds on its memory.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corerun/memory.h"
#include "halden/server/TestServer.h"
#include "kestrel/legacy/kestrel_interface.h"
#include "support/raises.h"

namespace kestrel::test {

constexpr const char* kHost = "http://world:7001/kestrel";
// Every error of the legacy build reports the table's file.
constexpr const char* kLegacyFile = "kestrel_vtbl.cpp";

class LegacyTest : public ::testing::Test {
 protected:
  LegacyTest();

  // Slot 1 against the world, with the world's user.
  void Connect(const char* protocol = "HTTP");
  // The operations that reached the server, in order.
  std::vector<std::string> Requests() const;
  void ClearRequests() { server.requests.clear(); }

  // Host objects the library built on the host's memory; the test is the host.
  template <class T>
  static void Destroy(T* object) {
    object->~T();
    Orvane::Memory::CppMemory::deallocate(object);
  }

  KESTREL_interface_s* table = nullptr;
  Halden::Soa::Server::TestServer test_server{kHost};
  Halden::Soa::Server::SampleWorld& world = test_server.world;
  ::testing::NiceMock<Halden::Soa::Server::MockSessionStub>& session = test_server.session;
  ::testing::NiceMock<Halden::Soa::Server::MockDataManagementStub>& datamanagement = test_server.datamanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockStructureManagementStub>& structuremanagement =
      test_server.structuremanagement;
  ::testing::NiceMock<Halden::Soa::Server::MockCadDataManagementStub>& caddatamanagement =
      test_server.caddatamanagement;
  Halden::Soa::Server::Server& server = test_server.server;
};

}  // namespace kestrel::test
