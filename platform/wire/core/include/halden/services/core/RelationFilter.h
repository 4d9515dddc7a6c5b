// How a request asks for related data: the objects under one relation, of
// the named types (any type when none are named). Shared by the services
// that return related data beside what they were asked for.
#pragma once

#include <string>
#include <vector>

namespace Halden::Services::Core {

struct RelationFilter {
  std::string relationName;
  std::vector<std::string> objectTypeNames;
};

}  // namespace Halden::Services::Core
