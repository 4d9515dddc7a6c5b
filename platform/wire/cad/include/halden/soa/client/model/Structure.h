// Model classes of items, revisions, datasets and BOM windows and lines.
#pragma once

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

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

class BOMLine : public ModelObject {
 public:
  using ModelObject::ModelObject;
};

class BOMWindow : public ModelObject {
 public:
  using ModelObject::ModelObject;
  // Reads "top_line": null when the server sent none; throws
  // NotLoadedException when it was not loaded.
  ModelObject* get_top_line();
};

// The thread that ties the occurrences of one child across revisions of a
// structure.
class PSOccurrenceThread : public ModelObject {
 public:
  using ModelObject::ModelObject;
};

class PSOccurrence : public ModelObject {
 public:
  using ModelObject::ModelObject;
  // Reads "occ_thread": null when the server sent none, or names no thread;
  // throws NotLoadedException when it was not loaded.
  PSOccurrenceThread* get_occ_thread();
};

}  // namespace Halden::Soa::Client::Model
