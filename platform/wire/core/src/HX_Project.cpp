#include "halden/soa/client/model/HX_Project.h"

namespace Halden::Soa::Client::Model {

namespace {
const bool registered = [] {
  registerModelClass("HX_Project", &makeModelObject<HX_Project>);
  return true;
}();

std::string text_of(ModelObject& object, const std::string& name) {
  Property* property = object.getProperty(name);
  return property && !property->strings.empty() ? property->strings.front() : std::string();
}
}  // namespace

std::string HX_Project::get_project_id() { return text_of(*this, "project_id"); }
std::string HX_Project::get_project_name() { return text_of(*this, "project_name"); }

}  // namespace Halden::Soa::Client::Model
