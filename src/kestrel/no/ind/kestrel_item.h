// Items, revisions and datasets found by id, and the revision the current
// rule configures, recorded in the host's item registries.
#pragma once

#include <string>
#include <vector>

#include "halden/services/core/RelationFilter.h"
#include "kestrel/kestrel_types.h"
#include "objmodel/ModelObject.h"

// Related-data modes: 2 asks for the master models ("OSTRA_specification"
// datasets of type "TOVMASTER"); every other mode sends no filter.
//
// Revisions of a host item, one entry per revision entry of the first item
// found (null where the host has no revision); null when nothing was found.
std::vector<Orvane::PdmSoa::ItemRevision*>* KESTREL_get_item_revisions_by_id(
    Orvane::PdmSoa::Item* item, int revision_count, const std::vector<std::string>& revision_ids,
    int related_data_mode);
// An empty revision id asks for the newest revision.
Orvane::PdmSoa::ItemRevision* KESTREL_get_item_revision_of_item(Orvane::PdmSoa::Item* item,
                                                                const std::string& revision_id, int related_data_mode);
std::vector<Orvane::PdmSoa::Dataset*> KESTREL_get_datasets_by_id(const std::string& item_id,
                                                                 const std::string& revision_id, int related_data_mode);
Orvane::PdmSoa::ItemRevision* KESTREL_get_item_revision_by_id(const std::string& item_id,
                                                              const std::string& revision_id, int related_data_mode);
// The first item found; every item of the reply is registered.
Orvane::PdmSoa::Item* KESTREL_get_items_and_revisions_by_id(const std::string& item_id, int revision_count,
                                                            const std::vector<std::string>& revision_ids,
                                                            int related_data_mode);
std::vector<Orvane::PdmSoa::Item*>* KESTREL_get_items_by_id(const std::vector<ItemIdEntry>& ids, int related_data_mode);
// The revision of a known item that the current rule configures, recorded
// under the rule name given; null when there is no such item, no current
// rule or nothing configured.
Orvane::PdmSoa::ItemRevision* KESTREL_ask_configured_revision(const std::string& item_id,
                                                              const char* revision_rule_name);

namespace kestrel {

std::vector<Halden::Services::Core::RelationFilter> ask_item_relation_filters(int related_data_mode);

}  // namespace kestrel
