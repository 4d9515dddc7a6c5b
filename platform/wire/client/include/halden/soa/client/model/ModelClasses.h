// The framework's model classes of persistent server objects, in one place:
// the library tests server objects against them with dynamic_cast. The
// ModelManager builds an object as the class of the first type of its chain
// that has one, so a type without a class of its own (say "ItemRevision"'s
// subtype "Design Revision") becomes the class of its nearest parent.
//
//   POM_object
//   ├── WorkspaceObject
//   │   ├── Folder
//   │   ├── Item
//   │   ├── ItemRevision
//   │   ├── Dataset
//   │   └── Form
//   ├── ListOfValues
//   │   ├── ListOfValuesChar, ListOfValuesDate, ListOfValuesDouble,
//   │   └── ListOfValuesInteger, ListOfValuesString, ListOfValuesTag
//   ├── OstraQuery          (a saved query)
//   └── User
//
// Runtime objects (BOM windows and lines) and revision rules have their
// classes beside their services (model/Structure.h, model/RevisionRule.h).
#pragma once

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

class Folder : public WorkspaceObject {
 public:
  using WorkspaceObject::WorkspaceObject;
};

class Item : public WorkspaceObject {
 public:
  using WorkspaceObject::WorkspaceObject;
};

class ItemRevision : public WorkspaceObject {
 public:
  using WorkspaceObject::WorkspaceObject;
};

class Dataset : public WorkspaceObject {
 public:
  using WorkspaceObject::WorkspaceObject;
};

class Form : public WorkspaceObject {
 public:
  using WorkspaceObject::WorkspaceObject;
};

// A list of allowed values; the subclass says the type of its values.
class ListOfValues : public POM_object {
 public:
  using POM_object::POM_object;
};

class ListOfValuesChar : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class ListOfValuesDate : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class ListOfValuesDouble : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class ListOfValuesInteger : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class ListOfValuesString : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class ListOfValuesTag : public ListOfValues {
 public:
  using ListOfValues::ListOfValues;
};

class OstraQuery : public POM_object {
 public:
  using POM_object::POM_object;
};

class User : public POM_object {
 public:
  using POM_object::POM_object;
  // Reads "home_folder"; throws NotLoadedException when it was not loaded.
  Folder* get_home_folder();
};

}  // namespace Halden::Soa::Client::Model
