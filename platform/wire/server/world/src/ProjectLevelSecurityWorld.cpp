#include "halden/server/world/ProjectLevelSecurityWorld.h"

#include <algorithm>
#include <set>

namespace Halden::Soa::Server {

namespace {
const std::vector<std::string> kProjectTypes = {"HX_Project", "POM_application_object", "POM_object"};

// The server's refusal of one request element.
WireErrorStack refusal(const std::string& message, int client_index) {
  return WorldStore::error_of(client_index, "", 101005, message);
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}
}  // namespace

std::string ProjectLevelSecurityWorld::add_project(const std::string& id, const std::string& name,
                                                   std::vector<std::string> members,
                                                   std::vector<std::string> privileged) {
  const std::string uid = "project-" + id;
  store_.add_object(uid, kProjectTypes, {props::str("project_id", id), props::str("project_name", name)});
  projects_.push_back({uid, id, name, std::move(members), std::move(privileged), {}});
  std::set<std::string> users(projects_.back().members.begin(), projects_.back().members.end());
  users.insert(projects_.back().privileged.begin(), projects_.back().privileged.end());
  for (const auto& user : users) update_user(user);
  return uid;
}

void ProjectLevelSecurityWorld::assign(const std::string& project_id, const std::vector<std::string>& uids) {
  auto* project = project_by_uid("project-" + project_id);
  for (const auto& uid : uids) {
    if (!contains(project->objects, uid)) project->objects.push_back(uid);
    update_projects_list(uid);
  }
}

const std::vector<std::string>& ProjectLevelSecurityWorld::objects_of(const std::string& project_id) const {
  return project_by_id(project_id)->objects;
}

void ProjectLevelSecurityWorld::add_sample_projects() {
  using namespace props;
  store_.set_policy("HX_Project", {"project_id", "project_name"});
  auto add_cad_dataset = [&](const std::string& uid, const std::string& type, const std::string& name) {
    store_.add_object(uid, {type, "Dataset", "WorkspaceObject", "POM_object"},
                      {str("object_name", name), str("object_type", type)});
  };
  add_cad_dataset("ds-K-1000-B-model", "TOVMASTER", "K-1000/B cart model");
  add_cad_dataset("ds-K-1000-B-part", "TOVPART", "K-1000/B part");
  add_cad_dataset("ds-K-1200-B-altrep", "TOVALTREP", "K-1200/B simplified");
  add_cad_dataset("ds-K-1200-B-mesh", "CAEMesh", "K-1200/B mesh");

  add_project("K100", "Utility cart", {"engineer"}, {"engineer"});
  add_project("K200", "K200", {"engineer"});
  add_project("S900", "Standard parts");
  assign("K100", {"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-model", "ds-K-1000-B-part", "ds-K-1000-B-drawing"});
  assign("K200", {"item-K-1200", "rev-K-1200-B", "ds-K-1200-B-altrep", "ds-K-1200-B-mesh"});
  assign("S900", {"item-K-9001", "item-K-9002"});

  // Every other workspace object belongs to no project yet.
  std::vector<std::string> unassigned;
  for (const auto& [uid, object] : store_.objects())
    if (contains(object.types, "WorkspaceObject") && !object.properties.count("projects_list"))
      unassigned.push_back(uid);
  for (const auto& uid : unassigned) store_.set_property(uid, str("projects_list", ""));
}

ProjectLevelSecurityWorld::Project* ProjectLevelSecurityWorld::project_by_uid(const std::string& uid) {
  for (auto& p : projects_)
    if (p.uid == uid) return &p;
  return nullptr;
}

const ProjectLevelSecurityWorld::Project* ProjectLevelSecurityWorld::project_by_id(const std::string& id) const {
  for (const auto& p : projects_)
    if (p.id == id) return &p;
  return nullptr;
}

void ProjectLevelSecurityWorld::update_projects_list(const std::string& uid) {
  if (!store_.find(uid)) return;
  std::string text;
  for (const auto& p : projects_) {
    if (!contains(p.objects, uid)) continue;
    if (!text.empty()) text += ",";
    text += p.id;
  }
  store_.set_property(uid, props::str("projects_list", text));
}

void ProjectLevelSecurityWorld::update_user(const std::string& user) {
  const std::string uid = "user-" + user;
  if (!store_.find(uid)) return;
  std::vector<std::string> assignable, privileged;
  for (const auto& p : projects_) {
    if (contains(p.members, user) || contains(p.privileged, user)) assignable.push_back(p.uid);
    if (contains(p.privileged, user)) privileged.push_back(p.uid);
  }
  store_.set_property(uid, props::refs("assignable_projects", assignable));
  store_.set_property(uid, props::refs("priviledged_projects", privileged));
}

ProjectListReply ProjectLevelSecurityWorld::getProjectList() {
  ProjectListReply reply;
  std::vector<std::string> uids;
  for (const auto& p : projects_) {
    reply.entries.push_back({p.id, p.name, {}, true});
    reply.projects.push_back({p.uid, {}});
    uids.push_back(p.uid);
  }
  reply.data = store_.reply_with(uids);
  return reply;
}

ProjectTeamsReply ProjectLevelSecurityWorld::getProjectTeams(const std::vector<std::string>& project_uids) {
  ProjectTeamsReply reply;
  for (std::size_t i = 0; i < project_uids.size(); ++i) {
    const Project* project = project_by_uid(project_uids[i]);
    if (!project) {
      reply.data.errors.push_back(refusal("The project " + project_uids[i] + " does not exist.", static_cast<int>(i)));
      continue;
    }
    ProjectTeamEntry team{project->id, {}};
    for (const auto& user : project->members)
      team.members.push_back({user, project->id, {}, contains(project->privileged, user)});
    for (const auto& user : project->privileged)
      if (!contains(project->members, user)) team.members.push_back({user, project->id, {}, true});
    reply.teams.push_back(std::move(team));
  }
  return reply;
}

ProjectDataReply ProjectLevelSecurityWorld::getProjectData(const std::vector<ProjectDataRequest>& requests) {
  ProjectDataReply reply;
  std::vector<std::string> carried;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const Project* project = project_by_id(requests[i].project_id);
    if (!project) {
      reply.data.errors.push_back(
          refusal("The project " + requests[i].project_id + " does not exist.", static_cast<int>(i)));
      continue;
    }
    const bool non_master = std::any_of(requests[i].criteria.begin(), requests[i].criteria.end(),
                                        [](const auto& c) { return c.name == "NON-Master Dataset"; });
    ProjectDataEntry entry{project->id, {}};
    for (const auto& uid : project->objects) {
      const auto* object = store_.find(uid);
      if (!object) continue;
      if (non_master && (!contains(object->types, "Dataset") || contains(object->types, "TOVMASTER"))) continue;
      entry.object_uids.push_back(uid);
      carried.push_back(uid);
    }
    reply.entries.push_back(std::move(entry));
  }
  reply.data.objects = store_.reply_with(carried).objects;
  return reply;
}

WireServiceData ProjectLevelSecurityWorld::assignOrRemoveObjects(const std::vector<ProjectAssignmentRecord>& records) {
  WireServiceData data;
  std::vector<std::string> touched;
  auto touch = [&](const std::string& uid) {
    if (!contains(touched, uid)) touched.push_back(uid);
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    const int index = static_cast<int>(i);
    for (const auto& uid : record.assign_uids)
      if (!uid.empty() && !store_.find(uid))
        data.errors.push_back(refusal("The object " + uid + " does not exist.", index));
    for (const auto& project_uid : record.project_uids) {
      Project* project = project_by_uid(project_uid);
      if (!project) {
        data.errors.push_back(refusal("The project " + project_uid + " does not exist.", index));
        continue;
      }
      for (const auto& uid : record.assign_uids) {
        if (uid.empty() || !store_.find(uid)) continue;
        if (!contains(project->objects, uid)) project->objects.push_back(uid);
        touch(uid);
      }
      for (const auto& uid : record.remove_uids) {
        auto it = std::find(project->objects.begin(), project->objects.end(), uid);
        if (it == project->objects.end()) continue;
        project->objects.erase(it);
        touch(uid);
      }
    }
  }
  for (const auto& uid : touched) update_projects_list(uid);
  data.objects = store_.reply_with(touched, {"projects_list"}).objects;
  data.updated = touched;
  return data;
}

}  // namespace Halden::Soa::Server
