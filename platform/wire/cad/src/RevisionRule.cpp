#include "halden/soa/client/model/RevisionRule.h"

#include "halden/soa/client/Exceptions.h"

namespace Halden::Soa::Client::Model {

namespace {
// The framework builds objects of these types as their model classes.
const bool registered = [] {
  registerModelClass("RevisionRule", &makeModelObject<RevisionRule>);
  registerModelClass("CFMRuleEntry", &makeModelObject<CFMRuleEntry>);
  registerModelClass("CFMStatusEntry", &makeModelObject<CFMStatusEntry>);
  registerModelClass("CFMUnitNoEntry", &makeModelObject<CFMUnitNoEntry>);
  registerModelClass("CFMPreciseEntry", &makeModelObject<CFMPreciseEntry>);
  return true;
}();

const std::vector<ModelObject*>& entries_of(RevisionRule& rule) {
  static const std::vector<ModelObject*> none;
  Property* p = rule.getProperty("entry_list");
  return p ? p->getModelObjectArrayValue() : none;
}
}  // namespace

std::size_t RevisionRule::count_entry_list() { return entries_of(*this).size(); }

CFMRuleEntry* RevisionRule::get_entry_list_at(std::size_t index) {
  const auto& entries = entries_of(*this);
  if (index >= entries.size()) throw RuntimeException("entry_list index out of range on " + getUid());
  return dynamic_cast<CFMRuleEntry*>(entries[index]);
}

}  // namespace Halden::Soa::Client::Model
