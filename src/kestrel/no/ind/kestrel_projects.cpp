#include "kestrel_projects.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "datasvc/OperationError.h"
#include "docsvc/SoaUtils.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/ProjectlevelsecurityService.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/core/ProjectlevelsecurityService.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "kestrel_call.h"
#include "kestrel_host_table.h"
#include "kestrel_object.h"
#include "kestrel_request.h"
#include "objmodel/SoaManager.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Services::Core::ProjectAssignmentInput;
using Halden::Services::Core::SessionService;
using Halden::Services::Internal::Core::ProjectCriterion;
using Halden::Services::Internal::Core::ProjectDataInput;
using Halden::Services::Internal::Core::ProjectInfo;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::Property;
using Halden::Soa::Client::Model::HX_Project;
using AssignmentService = Halden::Services::Core::ProjectlevelsecurityService;
using ProjectService = Halden::Services::Internal::Core::ProjectlevelsecurityService;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;

namespace {

// The project list as the assignment entries ask it, before their own request.
Halden::Services::Internal::Core::GetProjectListResponse list_projects_unconverted() {
  return kestrel::soa_request_unconverted<ProjectService>(KESTREL_HERE,
                                                          [](ProjectService& s) { return s.getProjectList(); });
}

Halden::Services::Internal::Core::GetProjectListResponse list_projects() {
  return kestrel::soa_request<ProjectService>(KESTREL_HERE, [](ProjectService& s) { return s.getProjectList(); });
}

// Calls f for each project of a server list, in order, skipping entries that
// are null or no project.
template <class F>
void for_each_project(const std::vector<ProjectInfo>& entries, F&& f) {
  for (const ProjectInfo& entry : entries)
    if (auto* project = dynamic_cast<HX_Project*>(entry.project)) f(project);
}

template <class F>
void for_each_project(const std::vector<ServerObject*>& objects, F&& f) {
  for (ServerObject* object : objects)
    if (auto* project = dynamic_cast<HX_Project*>(object)) f(project);
}

std::string text_of(Property* property) { return property ? property->getStringValue() : std::string(); }

void load_properties(ServerObject* project, const std::vector<std::string>& names) {
  kestrel::soa_request_unconverted<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { dm.getProperties({project}, names); });
}

std::string label_of(std::string id, const std::string& name) {
  if (name != id) id.append("-").append(name);
  return id;
}

// The service-data check of the document services; its answer is not used.
void check_service_data(const Halden::Soa::Client::ServiceData& data) {
  Orvane::DataManagement::OperationError error;
  Orvane::PDM::Services::SoaUtils::CheckServiceData(data, &error);
}

std::vector<std::string>* list_project_texts(std::string (*text)(ServerObject*)) {
  auto list = std::make_unique<std::vector<std::string>>();
  const auto reply = list_projects();
  list->reserve(reply.projects.size());
  for_each_project(reply.projects, [&](HX_Project* project) { list->push_back(text(project)); });
  return list.release();
}

// The session user's projects under the property.
std::vector<ServerObject*> user_projects(const char* property_name) {
  auto info = kestrel::soa_request<SessionService>(KESTREL_HERE, [](SessionService& s) { return s.getSessionInfo(); });
  if (!info.user) KESTREL_RAISE(940209, "KRAL SOA: No session user in the session information");
  Property* property = kestrel::get_property_force_load(info.user, property_name);
  return property ? property->getModelObjectArrayValue() : std::vector<ServerObject*>();
}

std::vector<std::string>* user_project_texts(const char* property_name, std::string (*text)(ServerObject*)) {
  const auto projects = user_projects(property_name);
  auto list = std::make_unique<std::vector<std::string>>();
  list->reserve(projects.size());
  for_each_project(projects, [&](HX_Project* project) { list->push_back(text(project)); });
  return list.release();
}

constexpr const char* kAssignableProjects = "assignable_projects";
constexpr const char* kPrivilegedProjects = "priviledged_projects";  // the server's spelling

HostObject* host_instance(ServerObject* object) {
  return HostObject::GetInstance(UString(object->getUid()), nullptr, 0);
}

bool is_one_of(const std::string& text, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (text == name) return true;
  return false;
}

// What the project-object entries keep of a project.
bool is_project_object(ServerObject* object, HostObject* host) {
  const Halden::Soa::Client::Type* type = object->getType();
  if (type->isInstanceOf("Item") || type->isInstanceOf("ItemRevision")) return true;
  return type->isInstanceOf("Dataset") &&
         is_one_of(UStringToString(host->GetObjectType()),
                   {"TOVMASTER", "TOVPART", "TOVALTREP", "TOVSCENARIO", "VIRELSimulation", "VIRELMotion", "CAESolution",
                    "CAEMesh", "CAEGeom"});
}

bool is_project_information_object(HostObject* host) {
  return is_one_of(UStringToString(host->GetObjectType()), {"Item", "ItemRevision", "TOVMASTER", "TOVALTREP"});
}

void dump_partial_errors(const Halden::Soa::Client::ServiceData& data) {
  const auto& stacks = data.getPartialErrors();
  for (std::size_t k = 0; k < stacks.size(); ++k) {
    const auto& values = stacks[k].getErrorValues();
    if (values.empty()) continue;
    ERROR_lprintf("Halden Integration for Virel: (KESTREL_get_all_project_information) error[%d] = %s\n",
                  static_cast<int>(k), values.front().getMessage().c_str());
  }
}

// The server objects of the host objects' UIDs, through the host's copy of
// the table; null host objects are refused before anything is asked.
std::vector<ServerObject*> server_objects_by_uid(const KESTREL_host_object_list& objects, const char* entry) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, entry);
  kestrel::ConstructObject construct = kestrel::host_construct_object();
  if (!construct) construct = &constructObject;
  std::vector<ServerObject*> server_objects;
  server_objects.reserve(objects.size());
  for (HostObject* object : objects)
    server_objects.push_back(construct("Halden::Soa::Client::ModelObject", UStringToString(object->GetUid())));
  return server_objects;
}

void send_assignments(const std::vector<ProjectAssignmentInput>& request) {
  kestrel::soa_request<AssignmentService>(
      KESTREL_HERE, [&](AssignmentService& s) { check_service_data(s.assignOrRemoveObjects(request)); });
}

}  // namespace

namespace kestrel {

std::string ask_project_id(ServerObject* object) {
  auto* project = dynamic_cast<HX_Project*>(object);
  if (!project) return {};
  try {
    return project->get_project_id();
  } catch (const NotLoadedException&) {
  }
  load_properties(project, {"project_id"});
  try {
    return text_of(project->getProperty("project_id"));
  } catch (const NotLoadedException&) {
    return {};
  }
}

std::string ask_project_label(ServerObject* object) {
  auto* project = dynamic_cast<HX_Project*>(object);
  if (!project) return {};
  try {
    std::string id = project->get_project_id();
    return label_of(std::move(id), project->get_project_name());
  } catch (const NotLoadedException&) {
  }
  load_properties(project, {"project_id", "project_name"});
  try {
    std::string id = text_of(project->getProperty("project_id"));
    return label_of(std::move(id), text_of(project->getProperty("project_name")));
  } catch (const NotLoadedException&) {
    return {};
  }
}

bool change_project_assignments(std::vector<std::string> project_labels, std::vector<ServerObject*> objects_to_assign,
                                std::vector<ServerObject*> objects_to_remove) {
  const auto projects = list_projects_unconverted();

  // How often each label was given: a project named twice is sent twice.
  std::unordered_map<std::string, std::size_t> times_named;
  times_named.reserve(project_labels.size());
  for (std::string& label : project_labels) ++times_named[std::move(label)];

  std::vector<ProjectAssignmentInput> request(1);
  ProjectAssignmentInput& record = request.front();
  for_each_project(projects.projects, [&](HX_Project* project) {
    auto named = times_named.find(ask_project_label(project));
    if (named != times_named.end()) record.projects.insert(record.projects.end(), named->second, project);
  });
  record.objectsToAssign = std::move(objects_to_assign);
  record.objectsToRemove = std::move(objects_to_remove);
  send_assignments(request);
  return true;
}

}  // namespace kestrel

std::vector<std::string>* KESTREL_list_project_names() { return list_project_texts(kestrel::ask_project_label); }

std::vector<std::string>* KESTREL_list_project_ids() { return list_project_texts(kestrel::ask_project_id); }

std::vector<std::string>* KESTREL_get_user_projects(bool assignable) {
  return user_project_texts(assignable ? kAssignableProjects : kPrivilegedProjects, kestrel::ask_project_label);
}

std::vector<std::string>* KESTREL_get_privileged_projects() {
  return user_project_texts(kPrivilegedProjects, kestrel::ask_project_id);
}

KESTREL_host_object_list* KESTREL_get_project_objects(std::string project_id) {
  const auto reply = kestrel::soa_request_unconverted<ProjectService>(KESTREL_HERE, [&](ProjectService& s) {
    return s.getProjectData({ProjectDataInput{std::move(project_id), {}}});
  });
  auto list = std::make_unique<KESTREL_host_object_list>();
  if (reply.filteredData.empty()) return list.release();
  const auto& objects = reply.filteredData.front().objects;
  list->reserve(objects.size());
  for (ServerObject* object : objects) {
    if (!object) continue;
    HostObject* host = host_instance(object);
    if (!host || !object->getType()) continue;
    if (is_project_object(object, host)) list->push_back(host);
  }
  return list.release();
}

KESTREL_host_object_list* KESTREL_ask_project_objects(std::string project_id) {
  return KESTREL_get_project_objects(std::move(project_id));
}

bool KESTREL_get_all_project_information(bool privileged, std::vector<std::string>* labels,
                                         std::vector<KESTREL_host_object_list*>* object_lists) {
  if (!labels) KESTREL_RAISE(940208, "KRAL SOA: Null label list in KESTREL_get_all_project_information");
  if (!object_lists) KESTREL_RAISE(940208, "KRAL SOA: Null object list in KESTREL_get_all_project_information");

  const std::unique_ptr<std::vector<std::string>> names(privileged ? KESTREL_get_user_projects(false)
                                                                   : KESTREL_list_project_names());
  if (!names) {
    ERROR_lprintf("Halden Integration for Virel: KESTREL_get_all_project_information:  NULL Projects list\n");
    return false;
  }
  labels->insert(labels->end(), std::make_move_iterator(names->begin()), std::make_move_iterator(names->end()));

  const std::unique_ptr<std::vector<std::string>> ids(privileged ? KESTREL_get_privileged_projects()
                                                                 : KESTREL_list_project_ids());
  std::vector<ProjectDataInput> inputs;
  if (ids) {
    inputs.reserve(ids->size());
    for (std::string& id : *ids) inputs.push_back({std::move(id), {}});
  }
  const auto reply =
      kestrel::soa_request<ProjectService>(KESTREL_HERE, [&](ProjectService& s) { return s.getProjectData(inputs); });
  check_service_data(reply.serviceData);

  const bool debug = kestrel::debug_enabled(kestrel::kDebugSoa);
  object_lists->reserve(object_lists->size() + reply.filteredData.size());
  for (const auto& entry : reply.filteredData) {
    auto list = std::make_unique<KESTREL_host_object_list>();
    if (entry.objects.empty() && debug) {
      ERROR_lprintf("Halden Integration for Virel: KESTREL_get_all_project_information:  Invalid filteredData\n");
      dump_partial_errors(reply.serviceData);
    }
    list->reserve(entry.objects.size());
    for (std::size_t j = 0; j < entry.objects.size(); ++j) {
      ServerObject* object = entry.objects[j];
      if (!object) {
        if (debug) {
          ERROR_lprintf(
              "KRAL: KESTREL_get_all_project_information:  WorkspaceObject in filteredData at position %d is NULL\n",
              static_cast<int>(j));
          dump_partial_errors(reply.serviceData);
        }
        continue;
      }
      HostObject* host = host_instance(object);
      if (host && is_project_information_object(host)) list->push_back(host);
    }
    object_lists->push_back(list.release());
  }
  return true;
}

bool KESTREL_list_project_entries(std::vector<ProjectEntryRecord*>* out) {
  if (!out) KESTREL_RAISE(940208, "KRAL SOA: Null output list in KESTREL_list_project_entries");
  auto reply = list_projects();
  out->reserve(out->size() + reply.entries.size());
  for (auto& entry : reply.entries)
    out->push_back(new ProjectEntryRecord{std::move(entry.text1), std::move(entry.text2), entry.flag});
  return !reply.entries.empty();
}

bool KESTREL_ask_project_teams(const std::vector<ServerObject*>& projects, std::vector<ProjectTeamRecord*>* out) {
  if (!out) KESTREL_RAISE(940208, "KRAL SOA: Null output list in KESTREL_ask_project_teams");
  kestrel::require_no_nulls(KESTREL_HERE, projects, "KESTREL_ask_project_teams");
  auto reply = kestrel::soa_request<ProjectService>(KESTREL_HERE,
                                                    [&](ProjectService& s) { return s.getProjectTeams(projects); });
  if (reply.teams.empty()) return false;
  out->reserve(out->size() + reply.teams.size());
  for (auto& team : reply.teams) {
    auto members = std::make_unique<std::vector<ProjectEntryRecord*>>();
    members->reserve(team.members.size());
    for (auto& member : team.members)
      members->push_back(new ProjectEntryRecord{std::move(member.text1), std::move(member.text2), member.flag});
    out->push_back(new ProjectTeamRecord{std::move(team.team), members.release()});
  }
  return true;
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): the table passes the list by value
bool KESTREL_assign_objects_to_projects(std::vector<std::string> project_labels, KESTREL_host_object_list objects) {
  auto server_objects = server_objects_by_uid(objects, "KESTREL_assign_objects_to_projects");
  return kestrel::change_project_assignments(std::move(project_labels), std::move(server_objects), {});
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): the table passes the list by value
bool KESTREL_remove_objects_from_projects(std::vector<std::string> project_labels, KESTREL_host_object_list objects) {
  auto server_objects = server_objects_by_uid(objects, "KESTREL_remove_objects_from_projects");
  return kestrel::change_project_assignments(std::move(project_labels), {}, std::move(server_objects));
}

bool KESTREL_assign_and_remove_projects(const KESTREL_host_object_list& objects) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, "KESTREL_assign_and_remove_projects");
  const auto projects = list_projects_unconverted();

  // One pass over the objects: per label named, the objects to join and to
  // leave that project, in caller order, each host object once per list.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  struct Changes {
    std::vector<ServerObject*> assign, remove;
    std::size_t last_assigned = kNone, last_removed = kNone;
    std::size_t records = 0;  // projects still to take these lists
  };
  std::unordered_map<std::string, Changes> by_label;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    ServerObject* server_object = objects[i]->GetObjectPtr();
    for (const UString& text : objects[i]->AskAssignedProjects()) {
      Changes& changes = by_label[UStringToString(text)];
      if (changes.last_assigned == i) continue;
      changes.last_assigned = i;
      changes.assign.push_back(server_object);
    }
    for (const UString& text : objects[i]->AskRemovedProjects()) {
      Changes& changes = by_label[UStringToString(text)];
      if (changes.last_removed == i) continue;
      changes.last_removed = i;
      changes.remove.push_back(server_object);
    }
  }

  // One record per project that something names, in the server's order.
  std::vector<std::pair<HX_Project*, Changes*>> named;
  for_each_project(projects.projects, [&](HX_Project* project) {
    auto found = by_label.find(kestrel::ask_project_label(project));
    if (found == by_label.end()) return;
    Changes& changes = found->second;
    if (changes.assign.empty() && changes.remove.empty()) return;
    ++changes.records;
    named.emplace_back(project, &changes);
  });
  if (named.empty()) {
    if (kestrel::debug_enabled(kestrel::kDebugSoa))
      RDEBUG_print_message("KRAL SOA debug - No Projects to assign and remove \n");
    return true;
  }

  std::vector<ProjectAssignmentInput> request(named.size());
  for (std::size_t r = 0; r < named.size(); ++r) {
    auto [project, changes] = named[r];
    request[r].projects.push_back(project);
    if (--changes->records == 0) {  // the last project of this label takes the lists
      request[r].objectsToAssign = std::move(changes->assign);
      request[r].objectsToRemove = std::move(changes->remove);
    } else {
      request[r].objectsToAssign = changes->assign;
      request[r].objectsToRemove = changes->remove;
    }
  }
  send_assignments(request);
  return true;
}

std::vector<std::string>* KESTREL_ask_projects_list(HostObject* object) {
  auto list = std::make_unique<std::vector<std::string>>();
  if (!object) return list.release();
  const std::string text = UStringToString(object->GetPropertyString("projects_list"));
  for (std::size_t start = 0; start < text.size();) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    if (comma > start) list->emplace_back(text, start, comma - start);
    start = comma + 1;
  }
  return list.release();
}

std::vector<KESTREL_host_object_list*>* KESTREL_get_project_datasets(std::string text1, std::string text2) {
  const std::vector<ProjectCriterion> criteria = {{"NON-Master Dataset", std::move(text1), std::move(text2)}};
  const auto projects = list_projects();
  std::vector<ProjectDataInput> inputs;
  inputs.reserve(projects.projects.size());
  for_each_project(projects.projects, [&](HX_Project* project) {
    inputs.push_back({kestrel::ask_project_id(project), criteria});
  });
  const auto reply =
      kestrel::soa_request<ProjectService>(KESTREL_HERE, [&](ProjectService& s) { return s.getProjectData(inputs); });

  std::vector<std::unique_ptr<KESTREL_host_object_list>> lists;
  lists.reserve(reply.filteredData.size());
  for (const auto& entry : reply.filteredData) {
    auto& list = lists.emplace_back(std::make_unique<KESTREL_host_object_list>());
    list->reserve(entry.objects.size());
    for (ServerObject* object : entry.objects)
      if (HostObject* host = object ? host_instance(object) : nullptr) list->push_back(host);
  }
  auto result = std::make_unique<std::vector<KESTREL_host_object_list*>>();
  result->reserve(lists.size());
  for (auto& list : lists) result->push_back(list.release());
  return result.release();
}
