// The model class of projects (project-level security).
#pragma once

#include <string>

#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

class HX_Project : public POM_object {
 public:
  using POM_object::POM_object;
  // The texts of "project_id" and "project_name"; throw NotLoadedException
  // when the property was not loaded, and answer "" for one sent as null.
  std::string get_project_id();
  std::string get_project_name();
};

}  // namespace Halden::Soa::Client::Model
