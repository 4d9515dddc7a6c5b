// The reply of the related-objects operations of core and CAD data
// management: per input object, its related objects group by group.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct RelatedObjectsGroup {
  std::vector<Soa::Client::ModelObject*> objects;
  std::string name;
};

struct RelatedObjectsOutput {
  Soa::Client::ModelObject* inputObject = nullptr;
  std::vector<RelatedObjectsGroup> groups;
};

struct RelatedObjectsResponse {
  std::vector<RelatedObjectsOutput> output;
  Soa::Client::ServiceData serviceData;
};

}  // namespace Halden::Services::Core
