// The host's PDM manager layer.
#pragma once

#include <cstdint>

// The host's 32-bit object handle, as the object model declares it.
using tag_t = std::uint32_t;

namespace Orvane::PdmSoa {
class ModelObject;
class ItemRevision;
class CadAttrMappingDefinition;
}  // namespace Orvane::PdmSoa

// Root of the host's advanced-search state.
class TOVMGR_AdvancedSearchRoot {
 public:
  virtual ~TOVMGR_AdvancedSearchRoot() = default;
  // Forgets the search results that came from the session's server.
  virtual void Invalidate() = 0;
};

bool TOVMGR_ask_enable_AdvancedSearch();
TOVMGR_AdvancedSearchRoot* TOVMGR__ask_advsearch_root();
void TOVMGR_reset_advsearch_valid();

// Asks the user what to do about a lost web tier; 1 means give up.
int TOVMGR_display_webtier_disconnect_dialog();

// The GUID of the current revision rule, in SM_alloc memory (SM_free), or null.
int TOVMGR_VIREL_ask_config_rule_GUID(bool own, char** guid);

// Preferences of the host's PDM layer, by number.
enum TOVMGR__hx_prefs_e { TOVMGR__hx_config_rule_name = 22 };
// On 0, *values holds *count texts; free them with TOVMGR_free_pdi_string_array.
int TOVMGR_ask_hx_pref_values(TOVMGR__hx_prefs_e pref, int* count, char*** values);
void TOVMGR_free_pdi_string_array(int count, char** values);

// The host revision of a UID, its item and its BOM view revision, each null
// when the host has none. True when the host knows the revision.
bool TOVMGR_SOA_ask_bvr(const char* uid, Orvane::PdmSoa::ItemRevision** item_revision,
                        Orvane::PdmSoa::ModelObject** item, Orvane::PdmSoa::ModelObject** bvr);

// Whether the server offers the 2007-12 structure-management operations.
bool TOVMGR__is_service_2007_12_available();
// The BOM view type the host saves structure in; the host's text, or null.
const char* TOVMGR_VIREL_ask_view_type();
// The attribute-mapping definitions the host keeps for a context of dataset
// type and item type: *definitions holds *count of them in SM_alloc memory
// (SM_free the array, never the definitions). 0 on success.
int TOVMGR__get_attr_map_defs_of_context(const char* dataset_type, const char* item_type, int* count,
                                         Orvane::PdmSoa::CadAttrMappingDefinition*** definitions);
// Tells the host which list of values (by tag) serves which attribute title
// of which context; parallel arrays of count entries.
void TOVMGR__add_lovs_to_cache(int count, const tag_t* lov_tags, const char* const* dataset_types,
                               const char* const* item_types, const char* const* titles);
