// Model classes of items, revisions, datasets and BOM windows and lines.
#pragma once

#include "halden/soa/client/ModelObject.h"

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

}  // namespace Halden::Soa::Client::Model
