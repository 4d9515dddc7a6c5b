#include "halden/soa/client/model/Structure.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these types as their model classes.
const bool registered = [] {
  registerModelClass("BOMWindow", &makeModelObject<BOMWindow>);
  registerModelClass("BOMLine", &makeModelObject<BOMLine>);
  return true;
}();
}  // namespace

ModelObject* BOMWindow::get_top_line() {
  Property* p = getProperty("top_line");
  return p ? p->getModelObjectValue() : nullptr;
}

}  // namespace Halden::Soa::Client::Model
