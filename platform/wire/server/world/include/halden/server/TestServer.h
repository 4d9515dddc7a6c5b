// The whole sample server in one object: the world, a NiceMock stub per
// family answering from the world's part, and the endpoint they are
// installed on, bound at a host for as long as the object lives. Tests,
// the demo and the benchmarks all assemble the server here, so a family
// added below is at once in all of them.
#pragma once

#include <gmock/gmock.h>

#include <string>

#include "halden/server/Endpoint.h"
#include "halden/server/SampleWorld.h"
#include "halden/server/Server.h"
#include "halden/server/mocks/MockAiStub.h"
#include "halden/server/mocks/MockCadDataManagementStub.h"
#include "halden/server/mocks/MockClassificationStub.h"
#include "halden/server/mocks/MockConnectionStub.h"
#include "halden/server/mocks/MockDataManagementStub.h"
#include "halden/server/mocks/MockFileManagementStub.h"
#include "halden/server/mocks/MockInternalDataManagementStub.h"
#include "halden/server/mocks/MockManagedRelationsStub.h"
#include "halden/server/mocks/MockPreferenceManagementStub.h"
#include "halden/server/mocks/MockProjectLevelSecurityStub.h"
#include "halden/server/mocks/MockPropDescriptorStub.h"
#include "halden/server/mocks/MockRequirementsManagementStub.h"
#include "halden/server/mocks/MockReservationStub.h"
#include "halden/server/mocks/MockSavedQueryStub.h"
#include "halden/server/mocks/MockSessionStub.h"
#include "halden/server/mocks/MockStructureManagementStub.h"
#include "halden/server/mocks/MockValidationStub.h"

namespace Halden::Soa::Server {

// A NiceMock stub that installs itself on the endpoint as its family's stub.
template <class Mock>
class Installed : public ::testing::NiceMock<Mock> {
 public:
  Installed(Server& server, typename Mock::Stub& answers) : ::testing::NiceMock<Mock>(answers) {
    server.install<typename Mock::Stub>(this);
  }
};

class TestServer {
 public:
  explicit TestServer(std::string host);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  const std::string& host() const { return host_; }

  SampleWorld world;
  Server server;
  // One line per family.
  Installed<MockSessionStub> session{server, world.session};
  Installed<MockDataManagementStub> datamanagement{server, world.datamanagement};
  Installed<MockConnectionStub> connection{server, world.connection};
  Installed<MockStructureManagementStub> structuremanagement{server, world.structuremanagement};
  Installed<MockPreferenceManagementStub> preferencemanagement{server, world.preferencemanagement};
  Installed<MockFileManagementStub> filemanagement{server, world.filemanagement};
  Installed<MockReservationStub> reservation{server, world.reservation};
  Installed<MockCadDataManagementStub> caddatamanagement{server, world.caddatamanagement};
  Installed<MockProjectLevelSecurityStub> projectlevelsecurity{server, world.projectlevelsecurity};
  Installed<MockSavedQueryStub> savedquery{server, world.savedquery};
  Installed<MockAiStub> ai{server, world.ai};
  Installed<MockClassificationStub> classification{server, world.classification};
  Installed<MockManagedRelationsStub> managedrelations{server, world.managedrelations};
  Installed<MockInternalDataManagementStub> internaldatamanagement{server, world.internaldatamanagement};
  Installed<MockRequirementsManagementStub> requirementsmanagement{server, world.requirementsmanagement};
  Installed<MockPropDescriptorStub> propdescriptor{server, world.propdescriptor};
  Installed<MockValidationStub> validation{server, world.validation};

 private:
  std::string host_;
};

}  // namespace Halden::Soa::Server
