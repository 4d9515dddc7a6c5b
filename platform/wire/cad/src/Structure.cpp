#include "halden/soa/client/model/Structure.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these types as their model classes.
const bool registered = [] {
  registerModelClass("Item", &makeModelObject<Item>);
  registerModelClass("ItemRevision", &makeModelObject<ItemRevision>);
  registerModelClass("Dataset", &makeModelObject<Dataset>);
  registerModelClass("BOMWindow", &makeModelObject<BOMWindow>);
  registerModelClass("BOMLine", &makeModelObject<BOMLine>);
  registerModelClass("PSOccurrence", &makeModelObject<PSOccurrence>);
  registerModelClass("PSOccurrenceThread", &makeModelObject<PSOccurrenceThread>);
  return true;
}();
}  // namespace

ModelObject* BOMWindow::get_top_line() {
  Property* p = getProperty("top_line");
  return p ? p->getModelObjectValue() : nullptr;
}

PSOccurrenceThread* PSOccurrence::get_occ_thread() {
  Property* p = getProperty("occ_thread");
  return p ? dynamic_cast<PSOccurrenceThread*>(p->getModelObjectValue()) : nullptr;
}

}  // namespace Halden::Soa::Client::Model
