// The framework's model classes of persistent server objects; the library
// tests server objects against them with dynamic_cast. The ModelManager
// builds an object as the class of the first type of its chain that has one.
#pragma once

#include "halden/soa/client/ModelObject.h"

namespace Halden::Soa::Client::Model {

class POM_object : public ModelObject {
 public:
  using ModelObject::ModelObject;
};

}  // namespace Halden::Soa::Client::Model
