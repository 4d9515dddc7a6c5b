// Model classes of BOM windows and lines; items, revisions and datasets are
// among the persistent classes of model/ModelClasses.h.
#pragma once

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

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
