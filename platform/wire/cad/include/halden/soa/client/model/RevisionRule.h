// Model classes of revision rules and their entries.
#pragma once

#include <cstddef>

#include "halden/soa/client/ModelObject.h"

namespace Halden::Soa::Client::Model {

class CFMRuleEntry : public ModelObject {
 public:
  using ModelObject::ModelObject;
};

// Configures by release status; its "date_type" says how dates take part.
class CFMStatusEntry : public CFMRuleEntry {
 public:
  using CFMRuleEntry::CFMRuleEntry;
};

class CFMUnitNoEntry : public CFMRuleEntry {
 public:
  using CFMRuleEntry::CFMRuleEntry;
};

class CFMPreciseEntry : public CFMRuleEntry {
 public:
  using CFMRuleEntry::CFMRuleEntry;
};

class RevisionRule : public ModelObject {
 public:
  using ModelObject::ModelObject;
  // Read "entry_list"; throw NotLoadedException when it was not loaded.
  std::size_t count_entry_list();
  // Null for an entry that is no rule entry.
  CFMRuleEntry* get_entry_list_at(std::size_t index);
};

}  // namespace Halden::Soa::Client::Model
