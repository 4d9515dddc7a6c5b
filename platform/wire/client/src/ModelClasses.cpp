#include "halden/soa/client/model/ModelClasses.h"

#include "halden/soa/client/Exceptions.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these server types as their model classes.
const bool registered = [] {
  registerModelClass("POM_object", &makeModelObject<POM_object>);
  registerModelClass("WorkspaceObject", &makeModelObject<WorkspaceObject>);
  registerModelClass("Folder", &makeModelObject<Folder>);
  registerModelClass("Item", &makeModelObject<Item>);
  registerModelClass("ItemRevision", &makeModelObject<ItemRevision>);
  registerModelClass("Dataset", &makeModelObject<Dataset>);
  registerModelClass("Form", &makeModelObject<Form>);
  registerModelClass("ListOfValues", &makeModelObject<ListOfValues>);
  registerModelClass("ListOfValuesChar", &makeModelObject<ListOfValuesChar>);
  registerModelClass("ListOfValuesDate", &makeModelObject<ListOfValuesDate>);
  registerModelClass("ListOfValuesDouble", &makeModelObject<ListOfValuesDouble>);
  registerModelClass("ListOfValuesInteger", &makeModelObject<ListOfValuesInteger>);
  registerModelClass("ListOfValuesString", &makeModelObject<ListOfValuesString>);
  registerModelClass("ListOfValuesTag", &makeModelObject<ListOfValuesTag>);
  registerModelClass("OstraQuery", &makeModelObject<OstraQuery>);
  registerModelClass("User", &makeModelObject<User>);
  return true;
}();
}  // namespace

Folder* User::get_home_folder() {
  Property* p = getProperty("home_folder");
  if (!p) throw RuntimeException("home_folder of " + getUid() + " is null");
  return dynamic_cast<Folder*>(p->getModelObjectValue());
}

}  // namespace Halden::Soa::Client::Model
