// Controls of the PDM manager stand-in for tests and the demo.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "objmodel/ModelObject.h"

namespace Orvane::PdmSoa {
class ItemRevision;
class CadAttrMappingDefinition;
}  // namespace Orvane::PdmSoa

namespace Orvane::PdmSoa {
class VirelmgrModelObject;
}

namespace cadlink::testing {

// The older host's object registry: GetInstance of these UIDs answers null.
void refuse_instances(std::vector<std::string> uids);
// The object GetInstance registered for the UID, or null.
Orvane::PdmSoa::VirelmgrModelObject* registered_instance(const std::string& uid);
// The UIDs GetInstance was asked for, in order, of every class.
const std::vector<std::string>& instance_requests();
// Host objects of these UIDs cannot be built: their constructor throws
// std::bad_alloc, as the host's does when its memory runs out.
void fail_construction(std::vector<std::string> uids);
// Deletes every registered object and forgets the refusals and failures.
void reset_instances();

enum class DialogFailure { None, StdException, Foreign };

void set_advanced_search(bool enabled);
int advsearch_invalidations();
int advsearch_resets();

void set_dialog_answer(int answer);
void set_dialog_failure(DialogFailure failure);
// Runs while the dialog is up, before it answers (a request made meanwhile, say).
void set_dialog_action(std::function<void()> action);
int dialog_shows();

// Thrown by the dialog for DialogFailure::Foreign: no standard exception.
struct ForeignFailure {};

void reset();

// What TOVMGR_ask_hx_pref_values answers for a preference number; one never
// set answers 0 with no values.
void set_hx_pref_values(int pref, std::vector<std::string> values, int status = 0);
void clear_hx_prefs();

// Answers TOVMGR_SOA_ask_bvr in place of the host's own lookup; null restores it.
using BvrLookup = std::function<bool(const char* uid, Orvane::PdmSoa::ItemRevision** item_revision,
                                     Orvane::PdmSoa::ModelObject** item, Orvane::PdmSoa::ModelObject** bvr)>;
void set_bvr_lookup(BvrLookup lookup);
// The UIDs TOVMGR_SOA_ask_bvr was asked for, in order.
const std::vector<std::string>& bvr_lookups();
void clear_bvr_lookups();

// What TOVMGR__is_service_2007_12_available answers (true at first), and how
// often it was asked.
void set_service_2007_12_available(bool available);
int service_2007_12_queries();
// What TOVMGR_VIREL_ask_view_type answers ("view" at first); null: none.
void set_view_type(const char* view_type);
// The definitions TOVMGR__get_attr_map_defs_of_context answers for a context
// (the host keeps what slot 123 handed it); a context never set has none.
void set_attr_map_defs(const std::string& dataset_type, const std::string& item_type,
                       std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> definitions);
// The contexts asked, as "dataset type/item type", in order.
const std::vector<std::string>& attr_map_defs_lookups();
// One call of TOVMGR__add_lovs_to_cache.
struct LovCacheCall {
  std::vector<tag_t> lov_tags;
  std::vector<std::string> dataset_types, item_types, titles;
};
const std::vector<LovCacheCall>& lov_cache_calls();
void clear_attr_mapping();

}  // namespace cadlink::testing
