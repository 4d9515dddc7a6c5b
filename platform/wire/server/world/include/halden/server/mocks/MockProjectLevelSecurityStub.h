#pragma once

#include <gmock/gmock.h>

#include "halden/server/ProjectLevelSecurityStub.h"

namespace Halden::Soa::Server {

class MockProjectLevelSecurityStub : public ProjectLevelSecurityStub {
 public:
  using Stub = ProjectLevelSecurityStub;
  explicit MockProjectLevelSecurityStub(ProjectLevelSecurityStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getProjectList).WillByDefault(Invoke(&answers, &Stub::getProjectList));
    ON_CALL(*this, getProjectTeams).WillByDefault(Invoke(&answers, &Stub::getProjectTeams));
    ON_CALL(*this, getProjectData).WillByDefault(Invoke(&answers, &Stub::getProjectData));
    ON_CALL(*this, assignOrRemoveObjects).WillByDefault(Invoke(&answers, &Stub::assignOrRemoveObjects));
  }
  MOCK_METHOD(ProjectListReply, getProjectList, (), (override));
  MOCK_METHOD(ProjectTeamsReply, getProjectTeams, (const std::vector<std::string>& project_uids), (override));
  MOCK_METHOD(ProjectDataReply, getProjectData, (const std::vector<ProjectDataRequest>& requests), (override));
  MOCK_METHOD(WireServiceData, assignOrRemoveObjects, (const std::vector<ProjectAssignmentRecord>& records),
              (override));
};

}  // namespace Halden::Soa::Server
