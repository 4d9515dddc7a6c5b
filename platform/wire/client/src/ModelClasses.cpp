#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these server types as their model classes.
const bool registered = [] {
  registerModelClass("POM_object", &makeModelObject<POM_object>);
  registerModelClass("WorkspaceObject", &makeModelObject<WorkspaceObject>);
  registerModelClass("HX_Project", &makeModelObject<HX_Project>);
  return true;
}();

std::string first_text(ModelObject& object, const std::string& name) {
  Property* property = object.getProperty(name);
  if (!property) return {};
  const auto& values = property->getStringArrayValue();
  return values.empty() ? std::string() : values.front();
}
}  // namespace

std::string HX_Project::get_project_id() { return first_text(*this, "project_id"); }
std::string HX_Project::get_project_name() { return first_text(*this, "project_name"); }

}  // namespace Halden::Soa::Client::Model
