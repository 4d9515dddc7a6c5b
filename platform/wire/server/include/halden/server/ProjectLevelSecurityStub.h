// The project-level security family: projects, their teams and objects, and
// assignment of objects to projects.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

// Three texts whose meaning is the server's.
struct ProjectCriterionRecord {
  std::string name, value1, value2;
};

struct ProjectEntryRecord {
  std::string text1, text2;
  std::vector<ProjectCriterionRecord> criteria;
  bool flag = false;
};

struct ProjectListEntry {
  std::string project_uid;  // "" is a null project
  std::vector<ProjectCriterionRecord> criteria;
};

struct ProjectListReply {
  std::vector<ProjectEntryRecord> entries;
  std::vector<ProjectListEntry> projects;  // in the server's order
  WireServiceData data;
};

struct ProjectTeamEntry {
  std::string team;
  std::vector<ProjectEntryRecord> members;
};

struct ProjectTeamsReply {
  std::vector<ProjectTeamEntry> teams;
  WireServiceData data;
};

struct ProjectDataRequest {
  std::string project_id;
  std::vector<ProjectCriterionRecord> criteria;
};

struct ProjectDataEntry {
  std::string text;
  std::vector<std::string> object_uids;  // "" is a null object
};

struct ProjectDataReply {
  std::vector<ProjectDataEntry> entries;
  WireServiceData data;
};

struct ProjectAssignmentRecord {
  std::vector<std::string> project_uids, assign_uids, remove_uids;  // "" is a null object
};

class ProjectLevelSecurityStub {
 public:
  virtual ~ProjectLevelSecurityStub() = default;
  // Internal project-level security service.
  virtual ProjectListReply getProjectList() = 0;
  virtual ProjectTeamsReply getProjectTeams(const std::vector<std::string>& project_uids) = 0;
  virtual ProjectDataReply getProjectData(const std::vector<ProjectDataRequest>& requests) = 0;
  // Core project-level security service.
  virtual WireServiceData assignOrRemoveObjects(const std::vector<ProjectAssignmentRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
