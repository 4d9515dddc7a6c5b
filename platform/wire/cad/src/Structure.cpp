#include "halden/soa/client/model/Structure.h"

namespace Halden::Soa::Client::Model {

namespace {
template <class Class>
ModelObject* make(std::string uid, const Type* type) {
  return new Class(std::move(uid), type);
}

// The framework builds objects of these types as their model classes.
const bool registered = [] {
  registerModelClass("Item", &make<Item>);
  registerModelClass("ItemRevision", &make<ItemRevision>);
  registerModelClass("Dataset", &make<Dataset>);
  registerModelClass("BOMWindow", &make<BOMWindow>);
  registerModelClass("BOMLine", &make<BOMLine>);
  return true;
}();
}  // namespace

ModelObject* BOMWindow::get_top_line() {
  Property* p = getProperty("top_line");
  return p ? p->getModelObjectValue() : nullptr;
}

}  // namespace Halden::Soa::Client::Model
