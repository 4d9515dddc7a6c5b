// Projects (project-level security): project lists and labels, teams, the
// objects of projects, and assignment of objects to projects.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_types.h"
#include "objmodel/ModelObject.h"

namespace kestrel {

// The project's "project_id", loaded on its own when the object lacks it;
// empty when it cannot be read, and for an object that is no project.
std::string ask_project_id(Halden::Soa::Client::ModelObject* project);
// The project label: the id, then "-" and "project_name" when the name
// differs from the id. Empty as ask_project_id.
std::string ask_project_label(Halden::Soa::Client::ModelObject* project);

// One assignment request: the projects the labels name (a project once per
// label that names it, in the server's order), the objects to assign and
// the objects to remove. Labels that name no project are ignored; the
// request is sent even when its lists are empty. True whenever it returns.
bool change_project_assignments(std::vector<std::string> project_labels,
                                std::vector<Halden::Soa::Client::ModelObject*> objects_to_assign,
                                std::vector<Halden::Soa::Client::ModelObject*> objects_to_remove);

}  // namespace kestrel

// New lists the caller deletes. Entries of the server's lists that are no
// project are skipped.
std::vector<std::string>* KESTREL_list_project_names();
std::vector<std::string>* KESTREL_list_project_ids();
// Labels of the session user's assignable (true) or privileged projects.
std::vector<std::string>* KESTREL_get_user_projects(bool assignable);
// Ids of the session user's privileged projects.
std::vector<std::string>* KESTREL_get_privileged_projects();

// The items, item revisions and CAD datasets of one project.
KESTREL_host_object_list* KESTREL_get_project_objects(std::string project_id);
KESTREL_host_object_list* KESTREL_ask_project_objects(std::string project_id);
// Appends the labels of all projects (or the user's privileged ones) and, per
// project the server answers, a new list of its items, revisions, master and
// alternative-representation datasets.
bool KESTREL_get_all_project_information(bool privileged, std::vector<std::string>* labels,
                                         std::vector<KESTREL_host_object_list*>* object_lists);
// Appends one record per entry of the server's project list; true when there was one.
bool KESTREL_list_project_entries(std::vector<ProjectEntryRecord*>* out);
// Appends one record per team of the reply; true when there was one. The
// projects go to the team operation as the caller gives them, once none of
// them is null (940208, before the request).
bool KESTREL_ask_project_teams(const std::vector<Halden::Soa::Client::ModelObject*>& projects,
                               std::vector<ProjectTeamRecord*>* out);

bool KESTREL_assign_objects_to_projects(std::vector<std::string> project_labels, KESTREL_host_object_list objects);
bool KESTREL_remove_objects_from_projects(std::vector<std::string> project_labels, KESTREL_host_object_list objects);
// Joins and leaves the projects each object's host lists name, in one request.
bool KESTREL_assign_and_remove_projects(const KESTREL_host_object_list& objects);

// The object's "projects_list" split at commas, empty pieces dropped.
std::vector<std::string>* KESTREL_ask_projects_list(Orvane::PdmSoa::ModelObject* object);
// Per project, every object that passes the server's "NON-Master Dataset"
// criterion with the two texts.
std::vector<KESTREL_host_object_list*>* KESTREL_get_project_datasets(std::string text1, std::string text2);
