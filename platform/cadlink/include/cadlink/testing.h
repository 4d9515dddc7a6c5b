// Controls of the PDM manager stand-in for tests and the demo.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Orvane::PdmSoa {
class ModelObject;
class ItemRevision;
}  // namespace Orvane::PdmSoa

namespace cadlink::testing {

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

}  // namespace cadlink::testing
