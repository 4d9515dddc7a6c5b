// Projects of the sample world: each has an id, a name, a team (members and
// privileged members, by user name) and the objects assigned to it, in the
// order they joined. Assignments keep every object's "projects_list" (the ids
// of its projects, in project order, joined by ",") and every member's
// "assignable_projects" and "priviledged_projects" up to date.
#pragma once

#include <string>
#include <vector>

#include "halden/server/ProjectLevelSecurityStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class ProjectLevelSecurityWorld : public ProjectLevelSecurityStub {
 public:
  explicit ProjectLevelSecurityWorld(WorldStore& store) : store_(store) {}

  // The project "project-<id>", listed after those added before it.
  std::string add_project(const std::string& id, const std::string& name, std::vector<std::string> members = {},
                          std::vector<std::string> privileged = {});
  void assign(const std::string& project_id, const std::vector<std::string>& uids);
  // The objects of the project, in the order they joined.
  const std::vector<std::string>& objects_of(const std::string& project_id) const;
  // The sample projects "K100" (named "Utility cart"), "K200" (named as its id)
  // and "S900" ("Standard parts"), with CAD datasets of their own.
  void add_sample_projects();

  ProjectListReply getProjectList() override;
  // One team per project: the team text is the project id; each member's
  // entry is {user name; project id; no criteria; privileged}.
  ProjectTeamsReply getProjectTeams(const std::vector<std::string>& project_uids) override;
  // One entry per known project id, text the id. A "NON-Master Dataset"
  // criterion keeps only datasets that are no "TOVMASTER".
  ProjectDataReply getProjectData(const std::vector<ProjectDataRequest>& requests) override;
  WireServiceData assignOrRemoveObjects(const std::vector<ProjectAssignmentRecord>& records) override;

 private:
  struct Project {
    std::string uid, id, name;
    std::vector<std::string> members, privileged, objects;
  };
  Project* project_by_uid(const std::string& uid);
  const Project* project_by_id(const std::string& id) const;
  void update_projects_list(const std::string& uid);
  void update_user(const std::string& user);

  WorldStore& store_;
  std::vector<Project> projects_;
};

}  // namespace Halden::Soa::Server
