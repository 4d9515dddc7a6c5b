// The framework's model classes of persistent server objects; the library
// tests server objects against them with dynamic_cast. The ModelManager
// builds an object as the class of the first type of its chain that has one.
//
//   POM_object
//   ├── WorkspaceObject     (Item, ItemRevision, Dataset of wirecad derive from it)
//   └── HX_Project          (a project of project-level security)
#pragma once

#include <string>

#include "halden/soa/client/ModelObject.h"

namespace Halden::Soa::Client::Model {

class POM_object : public ModelObject {
 public:
  using ModelObject::ModelObject;
};

class WorkspaceObject : public POM_object {
 public:
  using POM_object::POM_object;
};

class HX_Project : public POM_object {
 public:
  using POM_object::POM_object;
  // The texts of "project_id" and "project_name"; throw NotLoadedException
  // when the property was not loaded, and answer "" for one sent as null.
  std::string get_project_id();
  std::string get_project_name();
};

}  // namespace Halden::Soa::Client::Model
