#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these server types as their model classes.
const bool registered = [] {
  registerModelClass("POM_object", &makeModelObject<POM_object>);
  return true;
}();
}  // namespace

}  // namespace Halden::Soa::Client::Model
