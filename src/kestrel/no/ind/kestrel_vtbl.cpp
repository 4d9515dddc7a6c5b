// The table the host calls everything through. Each slot forwards to its
// operation with the operation's own parameters: no checks, no logging, no
// catching.
#include <utility>

#include "kestrel/kestrel_interface.h"
#include "kestrel_ai.h"
#include "kestrel_attr_sync.h"
#include "kestrel_bom.h"
#include "kestrel_cadservices.h"
#include "kestrel_classification.h"
#include "kestrel_connection.h"
#include "kestrel_dataset.h"
#include "kestrel_hxtype.h"
#include "kestrel_item.h"
#include "kestrel_object.h"
#include "kestrel_projects.h"
#include "kestrel_queries.h"
#include "kestrel_relation.h"
#include "kestrel_relstruct.h"
#include "kestrel_rev_rule.h"
#include "kestrel_utils.h"
#include "kestrel_validation.h"

namespace {

template <auto Operation>
struct Forward;

template <class Result, class... Args, Result (*Operation)(Args...)>
struct Forward<Operation> {
  static Result call(Args... args) { return Operation(std::forward<Args>(args)...); }
};

template <auto Operation>
constexpr auto forward_to = &Forward<Operation>::call;

const KESTREL_interface_s kTable = {
    // Session
    /*   0 */ forward_to<KESTREL_ask_connection>,
    /*   1 */ forward_to<KESTREL_create_connection>,
    /*   2 */ forward_to<KESTREL_login>,
    /*   3 */ forward_to<KESTREL_logout>,
    /*   4 */ forward_to<KESTREL_ask_user_group_role>,
    // Server objects by UID
    /*   5 */ forward_to<constructObject>,
    /*   6 */ forward_to<KESTREL_load_objects>,
    /*   7 */ forward_to<KESTREL_get_properties>,
    // Saved queries and search criteria
    /*   8 */ forward_to<KESTREL_list_saved_queries>,
    /*   9 */ forward_to<KESTREL_describe_saved_queries>,
    /*  10 */ forward_to<KESTREL_execute_saved_query>,
    /*  11 */ forward_to<KESTREL_execute_saved_queries>,
    /*  12 */ forward_to<KESTREL_save_search_criteria>,
    /*  13 */ forward_to<KESTREL_delete_search_criteria>,
    /*  14 */ forward_to<KESTREL_retrieve_search_criteria>,
    // BOM windows and lines
    /*  15 */ forward_to<KESTREL_create_bom_window>,
    /*  16 */ forward_to<KESTREL_close_bom_window>,
    /*  17 */ forward_to<KESTREL_ask_bom_top_line>,
    /*  18 */ forward_to<KESTREL_expand_bom_line>,
    /*  19 */ forward_to<KESTREL_expand_bom_lines>,
    /*  20 */ forward_to<KESTREL_ask_bom_lines_by_path>,
    // Relative-structure batches
    /*  21 */ forward_to<KESTREL_RelativeStructureUpdateStart>,
    /*  22 */ forward_to<KESTREL_RelativeStructureUpdateStartAssy>,
    /*  23 */ forward_to<KESTREL_RelativeStructureAddChild>,
    /*  24 */ forward_to<KESTREL_RelativeStructureUpdateCommit>,
    /*  25 */ forward_to<KESTREL_RelativeStructureDeleteStart>,
    /*  26 */ forward_to<KESTREL_RelativeStructureDeleteStartAssy>,
    /*  27 */ forward_to<KESTREL_RelativeStructureDeleteChild>,
    /*  28 */ forward_to<KESTREL_RelativeStructureDeleteCommit>,
    // Items, revisions and datasets by id
    /*  29 */ forward_to<KESTREL_get_item_revisions_by_id>,
    /*  30 */ forward_to<KESTREL_get_item_revision_of_item>,
    /*  31 */ forward_to<KESTREL_get_datasets_by_id>,
    /*  32 */ forward_to<KESTREL_get_item_revision_by_id>,
    /*  33 */ forward_to<KESTREL_get_items_and_revisions_by_id>,
    /*  34 */ forward_to<KESTREL_get_items_by_id>,
    // Dataset references
    /*  35 */ forward_to<KESTREL_ask_dataset_references>,
    // Classification
    /*  36 */ forward_to<KESTREL_write_classification_objects>,
    /*  37 */ forward_to<KESTREL_write_classification_objects_2>,
    /*  38 */ forward_to<KESTREL_send_classification_object_uids>,
    /*  39 */ forward_to<KESTREL_ask_classification_classes>,
    /*  40 */ forward_to<KESTREL_ask_class_descriptions>,
    /*  41 */ forward_to<KESTREL_ask_classification_table>,
    /*  42 */ forward_to<KESTREL_ask_objects_of_classification_ids>,
    /*  43 */ forward_to<KESTREL_ask_class_attributes>,
    /*  44 */ forward_to<KESTREL_find_classes>,
    /*  45 */ forward_to<KESTREL_find_classification_objects>,
    /*  46 */ forward_to<KESTREL_ask_classification_pom_objects>,
    /*  47 */ forward_to<KESTREL_ask_classifications_of_objects>,
    /*  48 */ forward_to<KESTREL_ask_classification_objects_by_key>,
    /*  49 */ forward_to<KESTREL_load_classification_objects>,
    /*  50 */ forward_to<KESTREL_refresh_classification_objects>,
    /*  51 */ forward_to<KESTREL_ask_classification_value_tables>,
    // Preferences
    /*  52 */ forward_to<KESTREL_ask_preference_values>,
    /*  53 */ forward_to<KESTREL_ask_preferences>,
    // Object identity and typed properties
    /*  54 */ forward_to<KESTREL_ask_object_uid>,
    /*  55 */ forward_to<KESTREL_ask_object_type_name>,
    /*  56 */ forward_to<KESTREL_ask_server_object_uid>,
    /*  57 */ forward_to<KESTREL_ask_server_object_type_name>,
    /*  58 */ forward_to<KESTREL_get_object_property_string>,
    /*  59 */ forward_to<KESTREL_get_object_property_int>,
    /*  60 */ forward_to<KESTREL_get_object_property_double>,
    /*  61 */ forward_to<KESTREL_get_object_property_logical>,
    /*  62 */ forward_to<KESTREL_get_object_property_char>,
    /*  63 */ forward_to<KESTREL_get_object_property_date>,
    /*  64 */ forward_to<KESTREL_get_object_property_object>,
    /*  65 */ forward_to<KESTREL_get_object_property_string_array>,
    /*  66 */ forward_to<KESTREL_get_object_property_int_array>,
    /*  67 */ forward_to<KESTREL_get_object_property_double_array>,
    /*  68 */ forward_to<KESTREL_get_object_property_logical_array>,
    /*  69 */ forward_to<KESTREL_get_object_property_char_array>,
    /*  70 */ forward_to<KESTREL_get_object_property_date_array>,
    /*  71 */ forward_to<KESTREL_get_object_property_object_array>,
    /*  72 */ forward_to<KESTREL_ask_object_property_texts>,
    // Refresh, items with revisions, delete, types, related objects
    /*  73 */ forward_to<KESTREL_refresh_objects>,
    /*  74 */ forward_to<KESTREL_get_items_with_revisions>,
    /*  75 */ forward_to<KESTREL_delete_objects>,
    /*  76 */ forward_to<KESTREL_ask_type_descriptions>,
    /*  77 */ forward_to<KESTREL_get_related_objects_cad>,
    /*  78 */ forward_to<KESTREL_get_related_objects_core>,
    /*  79 */ forward_to<KESTREL_get_related_objects_core_2>,
    // Validation
    /*  80 */ forward_to<KESTREL_send_validation_inputs>,
    /*  81 */ forward_to<KESTREL_create_validation_results>,
    /*  82 */ forward_to<KESTREL_get_validation_data>,
    /*  83 */ forward_to<KESTREL_query_validation_results>,
    /*  84 */ forward_to<KESTREL_save_validation_results>,
    /*  85 */ forward_to<KESTREL_update_validation_results>,
    // Types and utilities
    /*  86 */ forward_to<KESTREL_ask_type_hierarchy>,
    /*  87 */ forward_to<KESTREL_ask_connection_option>,
    /*  88 */ forward_to<KESTREL_get_datetime_string>,
    /*  89 */ forward_to<KESTREL_list_available_services>,
    // Configured revision (both slots hold the same entry)
    /*  90 */ forward_to<KESTREL_ask_configured_revision>,
    /*  91 */ forward_to<KESTREL_ask_configured_revision>,
    // Reservation
    /*  92 */ forward_to<KESTREL_checkout_objects>,
    /*  93 */ forward_to<KESTREL_checkin_objects>,
    /*  94 */ forward_to<KESTREL_cancel_checkout>,
    // Dataset files and CAD creation
    /*  95 */ forward_to<KESTREL_get_dataset_file_read_tickets>,
    /*  96 */ forward_to<KESTREL_get_dataset_write_tickets>,
    /*  97 */ forward_to<KESTREL_commit_dataset_files>,
    /*  98 */ forward_to<KESTREL_create_parts>,
    /*  99 */ forward_to<KESTREL_create_datasets>,
    /* 100 */ forward_to<KESTREL_create_items>,
    // Property writing
    /* 101 */ forward_to<KESTREL_set_properties>,
    // Trace links and requirements
    /* 102 */ forward_to<KESTREL_ask_defining_tree>,
    /* 103 */ forward_to<KESTREL_ask_defining_objects>,
    /* 104 */ forward_to<KESTREL_ask_complying_objects>,
    /* 105 */ forward_to<KESTREL_create_trace_links>,
    /* 106 */ forward_to<KESTREL_modify_trace_link>,
    /* 107 */ forward_to<KESTREL_export_fulltext_to_word>,
    // AI structure generation
    /* 108 */ forward_to<KESTREL_generate_structure>,
    // AI structure generation
    // Projects
    /* 109 */ forward_to<KESTREL_list_project_names>,
    /* 110 */ forward_to<KESTREL_list_project_ids>,
    /* 111 */ forward_to<KESTREL_get_user_projects>,
    /* 112 */ forward_to<KESTREL_get_privileged_projects>,
    /* 113 */ forward_to<KESTREL_get_project_objects>,
    /* 114 */ forward_to<KESTREL_get_all_project_information>,
    /* 115 */ forward_to<KESTREL_list_project_entries>,
    /* 116 */ forward_to<KESTREL_ask_project_teams>,
    /* 117 */ forward_to<KESTREL_assign_objects_to_projects>,
    /* 118 */ forward_to<KESTREL_remove_objects_from_projects>,
    /* 119 */ forward_to<KESTREL_ask_projects_list>,
    /* 120 */ forward_to<KESTREL_ask_project_objects>,
    /* 121 */ forward_to<KESTREL_get_project_datasets>,
    /* 122 */ forward_to<KESTREL_assign_and_remove_projects>,
    // Attribute mapping
    // Projects
    // Attribute mapping
    /* 123 */ forward_to<KESTREL_get_attr_mapping_definitions>,
    /* 124 */ forward_to<KESTREL_resolve_attr_mappings>,
    /* 125 */ forward_to<KESTREL_update_attr_values>,
    /* 126 */ forward_to<KESTREL_clear_attr_mapping_cache>,
    /* 127 */ forward_to<KESTREL_clear_attr_mapping_cache_for_parts>,
    // Revision rules
    /* 128 */ forward_to<KESTREL_set_configuration_rule>,
    /* 129 */ forward_to<KESTREL_ask_config_rule_GUID>,
    /* 130 */ forward_to<KESTREL_ask_configuration_rule>,
    /* 131 */ forward_to<KESTREL_set_config_rule_all>,
    /* 132 */ forward_to<KESTREL_ask_config_rule_status>,
    /* 133 */ forward_to<KESTREL_list_configuration_rules>,
    /* 134 */ forward_to<KESTREL_ask_config_rule_has_precise>,
    // Session: home folder
    /* 135 */ forward_to<KESTREL_ask_home_folder>,
};

}  // namespace

// The host's signature hands out a non-const pointer; the table itself stays
// constant (in read-only memory) and is only ever read.
extern "C" KESTREL_interface_s* KESTREL_init_module(int* version) {
  *version = KESTREL_INTERFACE_VERSION;
  return const_cast<KESTREL_interface_s*>(&kTable);
}
