// The entry-point table that the host receives from KESTREL_init_module.
//
// The slot order, each slot's signature and KESTREL_INTERFACE_VERSION are the
// interface with the host and must never change: new entries go only at the
// end. A slot whose operation this build does not offer holds null.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"

class UString;
struct date_s;
namespace Halden::Soa::Client {
class Connection;
class ModelObject;
}  // namespace Halden::Soa::Client
namespace Orvane::PdmSoa {
class ModelObject;
class Folder;
}  // namespace Orvane::PdmSoa

#define KESTREL_INTERFACE_VERSION 2000

// Type of a slot this build leaves null.
using KESTREL_unbuilt_slot = void (*)();

struct KESTREL_interface_s {
  // Session
  /*   0 */ Halden::Soa::Client::Connection* (*KESTREL_ask_connection)();
  /*   1 */ void (*KESTREL_create_connection)(const char* host, const char* protocol, const char* user,
                                              const char* password, const char* group, const char* role,
                                              const char* discriminator, bool sso);
  /*   2 */ void (*KESTREL_login)(const char* user, const char* password, bool do_login);
  /*   3 */ int (*KESTREL_logout)(bool terminate_server);
  /*   4 */ UserGroupRole (*KESTREL_ask_user_group_role)();

  // Server objects by UID
  /*   5 */ KESTREL_unbuilt_slot constructObject;         // not built yet
  /*   6 */ KESTREL_unbuilt_slot KESTREL_load_objects;    // not built yet
  /*   7 */ KESTREL_unbuilt_slot KESTREL_get_properties;  // not built yet

  // Saved queries and search criteria
  /*   8 */ KESTREL_unbuilt_slot KESTREL_list_saved_queries;        // not built yet
  /*   9 */ KESTREL_unbuilt_slot KESTREL_describe_saved_queries;    // not built yet
  /*  10 */ KESTREL_unbuilt_slot KESTREL_execute_saved_query;       // not built yet
  /*  11 */ KESTREL_unbuilt_slot KESTREL_execute_saved_queries;     // not built yet
  /*  12 */ KESTREL_unbuilt_slot KESTREL_save_search_criteria;      // not built yet
  /*  13 */ KESTREL_unbuilt_slot KESTREL_delete_search_criteria;    // not built yet
  /*  14 */ KESTREL_unbuilt_slot KESTREL_retrieve_search_criteria;  // not built yet

  // BOM windows and lines
  /*  15 */ KESTREL_unbuilt_slot KESTREL_create_bom_window;      // not built yet
  /*  16 */ KESTREL_unbuilt_slot KESTREL_close_bom_window;       // not built yet
  /*  17 */ KESTREL_unbuilt_slot KESTREL_ask_bom_top_line;       // not built yet
  /*  18 */ KESTREL_unbuilt_slot KESTREL_expand_bom_line;        // not built yet
  /*  19 */ KESTREL_unbuilt_slot KESTREL_expand_bom_lines;       // not built yet
  /*  20 */ KESTREL_unbuilt_slot KESTREL_ask_bom_lines_by_path;  // not built yet

  // Relative-structure batches
  /*  21 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureUpdateStart;      // not built yet
  /*  22 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureUpdateStartAssy;  // not built yet
  /*  23 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureAddChild;         // not built yet
  /*  24 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureUpdateCommit;     // not built yet
  /*  25 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureDeleteStart;      // not built yet
  /*  26 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureDeleteStartAssy;  // not built yet
  /*  27 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureDeleteChild;      // not built yet
  /*  28 */ KESTREL_unbuilt_slot KESTREL_RelativeStructureDeleteCommit;     // not built yet

  // Items, revisions and datasets by id
  /*  29 */ KESTREL_unbuilt_slot KESTREL_get_item_revisions_by_id;       // not built yet
  /*  30 */ KESTREL_unbuilt_slot KESTREL_get_item_revision_of_item;      // not built yet
  /*  31 */ KESTREL_unbuilt_slot KESTREL_get_datasets_by_id;             // not built yet
  /*  32 */ KESTREL_unbuilt_slot KESTREL_get_item_revision_by_id;        // not built yet
  /*  33 */ KESTREL_unbuilt_slot KESTREL_get_items_and_revisions_by_id;  // not built yet
  /*  34 */ KESTREL_unbuilt_slot KESTREL_get_items_by_id;                // not built yet

  // Dataset references
  /*  35 */ KESTREL_unbuilt_slot KESTREL_ask_dataset_references;  // not built yet

  // Classification
  /*  36 */ KESTREL_unbuilt_slot KESTREL_write_classification_objects;       // not built yet
  /*  37 */ KESTREL_unbuilt_slot KESTREL_write_classification_objects_2;     // not built yet
  /*  38 */ KESTREL_unbuilt_slot KESTREL_send_classification_object_uids;    // not built yet
  /*  39 */ KESTREL_unbuilt_slot KESTREL_ask_classification_classes;         // not built yet
  /*  40 */ KESTREL_unbuilt_slot KESTREL_ask_class_descriptions;             // not built yet
  /*  41 */ KESTREL_unbuilt_slot KESTREL_ask_classification_table;           // not built yet
  /*  42 */ KESTREL_unbuilt_slot KESTREL_ask_objects_of_classification_ids;  // not built yet
  /*  43 */ KESTREL_unbuilt_slot KESTREL_ask_class_attributes;               // not built yet
  /*  44 */ KESTREL_unbuilt_slot KESTREL_find_classes;                       // not built yet
  /*  45 */ KESTREL_unbuilt_slot KESTREL_find_classification_objects;        // not built yet
  /*  46 */ KESTREL_unbuilt_slot KESTREL_ask_classification_pom_objects;     // not built yet
  /*  47 */ KESTREL_unbuilt_slot KESTREL_ask_classifications_of_objects;     // not built yet
  /*  48 */ KESTREL_unbuilt_slot KESTREL_ask_classification_objects_by_key;  // not built yet
  /*  49 */ KESTREL_unbuilt_slot KESTREL_load_classification_objects;        // not built yet
  /*  50 */ KESTREL_unbuilt_slot KESTREL_refresh_classification_objects;     // not built yet
  /*  51 */ KESTREL_unbuilt_slot KESTREL_ask_classification_value_tables;    // not built yet

  // Preferences
  /*  52 */ std::vector<std::string> (*KESTREL_ask_preference_values)(const std::string& scope,
                                                                      const std::string& name);
  /*  53 */ std::map<std::string, std::vector<std::string>>* (*KESTREL_ask_preferences)(
      const std::string& scope, const std::vector<std::string>& names);

  // Object identity and typed properties
  /*  54 */ KESTREL_unbuilt_slot KESTREL_ask_object_uid;                     // not built yet
  /*  55 */ KESTREL_unbuilt_slot KESTREL_ask_object_type_name;               // not built yet
  /*  56 */ KESTREL_unbuilt_slot KESTREL_ask_server_object_uid;              // not built yet
  /*  57 */ KESTREL_unbuilt_slot KESTREL_ask_server_object_type_name;        // not built yet
  /*  58 */ KESTREL_unbuilt_slot KESTREL_get_object_property_string;         // not built yet
  /*  59 */ KESTREL_unbuilt_slot KESTREL_get_object_property_int;            // not built yet
  /*  60 */ KESTREL_unbuilt_slot KESTREL_get_object_property_double;         // not built yet
  /*  61 */ KESTREL_unbuilt_slot KESTREL_get_object_property_logical;        // not built yet
  /*  62 */ KESTREL_unbuilt_slot KESTREL_get_object_property_char;           // not built yet
  /*  63 */ KESTREL_unbuilt_slot KESTREL_get_object_property_date;           // not built yet
  /*  64 */ KESTREL_unbuilt_slot KESTREL_get_object_property_object;         // not built yet
  /*  65 */ KESTREL_unbuilt_slot KESTREL_get_object_property_string_array;   // not built yet
  /*  66 */ KESTREL_unbuilt_slot KESTREL_get_object_property_int_array;      // not built yet
  /*  67 */ KESTREL_unbuilt_slot KESTREL_get_object_property_double_array;   // not built yet
  /*  68 */ KESTREL_unbuilt_slot KESTREL_get_object_property_logical_array;  // not built yet
  /*  69 */ KESTREL_unbuilt_slot KESTREL_get_object_property_char_array;     // not built yet
  /*  70 */ KESTREL_unbuilt_slot KESTREL_get_object_property_date_array;     // not built yet
  /*  71 */ KESTREL_unbuilt_slot KESTREL_get_object_property_object_array;   // not built yet
  /*  72 */ KESTREL_unbuilt_slot KESTREL_ask_object_property_texts;          // not built yet

  // Refresh, items with revisions, delete, types, related objects
  /*  73 */ KESTREL_unbuilt_slot KESTREL_refresh_objects;             // not built yet
  /*  74 */ KESTREL_unbuilt_slot KESTREL_get_items_with_revisions;    // not built yet
  /*  75 */ KESTREL_unbuilt_slot KESTREL_delete_objects;              // not built yet
  /*  76 */ KESTREL_unbuilt_slot KESTREL_ask_type_descriptions;       // not built yet
  /*  77 */ KESTREL_unbuilt_slot KESTREL_get_related_objects_cad;     // not built yet
  /*  78 */ KESTREL_unbuilt_slot KESTREL_get_related_objects_core;    // not built yet
  /*  79 */ KESTREL_unbuilt_slot KESTREL_get_related_objects_core_2;  // not built yet

  // Validation
  /*  80 */ KESTREL_unbuilt_slot KESTREL_send_validation_inputs;     // not built yet
  /*  81 */ KESTREL_unbuilt_slot KESTREL_create_validation_results;  // not built yet
  /*  82 */ KESTREL_unbuilt_slot KESTREL_get_validation_data;        // not built yet
  /*  83 */ KESTREL_unbuilt_slot KESTREL_query_validation_results;   // not built yet
  /*  84 */ KESTREL_unbuilt_slot KESTREL_save_validation_results;    // not built yet
  /*  85 */ KESTREL_unbuilt_slot KESTREL_update_validation_results;  // not built yet

  // Types and utilities
  /*  86 */ KESTREL_unbuilt_slot KESTREL_ask_type_hierarchy;  // not built yet
  /*  87 */ std::string (*KESTREL_ask_connection_option)(int attempts, int sleep_seconds, const std::string& user,
                                                         const std::string& password, const std::string& group);
  /*  88 */ UString (*KESTREL_get_datetime_string)(const date_s* date);
  /*  89 */ std::vector<std::string>* (*KESTREL_list_available_services)();

  // Configured revision (both slots hold the same entry)
  /*  90 */ KESTREL_unbuilt_slot KESTREL_ask_configured_revision;    // not built yet
  /*  91 */ KESTREL_unbuilt_slot KESTREL_ask_configured_revision_2;  // not built yet

  // Reservation
  /*  92 */ KESTREL_unbuilt_slot KESTREL_checkout_objects;  // not built yet
  /*  93 */ KESTREL_unbuilt_slot KESTREL_checkin_objects;   // not built yet
  /*  94 */ KESTREL_unbuilt_slot KESTREL_cancel_checkout;   // not built yet

  // Dataset files and CAD creation
  /*  95 */ KESTREL_unbuilt_slot KESTREL_get_dataset_file_read_tickets;  // not built yet
  /*  96 */ KESTREL_unbuilt_slot KESTREL_get_dataset_write_tickets;      // not built yet
  /*  97 */ KESTREL_unbuilt_slot KESTREL_commit_dataset_files;           // not built yet
  /*  98 */ KESTREL_unbuilt_slot KESTREL_create_parts;                   // not built yet
  /*  99 */ KESTREL_unbuilt_slot KESTREL_create_datasets;                // not built yet
  /* 100 */ KESTREL_unbuilt_slot KESTREL_create_items;                   // not built yet

  // Property writing
  /* 101 */ KESTREL_unbuilt_slot KESTREL_set_properties;  // not built yet

  // Trace links and requirements
  /* 102 */ KESTREL_unbuilt_slot KESTREL_ask_defining_tree;        // not built yet
  /* 103 */ KESTREL_unbuilt_slot KESTREL_ask_defining_objects;     // not built yet
  /* 104 */ KESTREL_unbuilt_slot KESTREL_ask_complying_objects;    // not built yet
  /* 105 */ KESTREL_unbuilt_slot KESTREL_create_trace_links;       // not built yet
  /* 106 */ KESTREL_unbuilt_slot KESTREL_modify_trace_link;        // not built yet
  /* 107 */ KESTREL_unbuilt_slot KESTREL_export_fulltext_to_word;  // not built yet

  // AI structure generation
  /* 108 */ KESTREL_unbuilt_slot KESTREL_generate_structure;  // not built yet

  // Projects
  /* 109 */ KESTREL_unbuilt_slot KESTREL_list_project_names;            // not built yet
  /* 110 */ KESTREL_unbuilt_slot KESTREL_list_project_ids;              // not built yet
  /* 111 */ KESTREL_unbuilt_slot KESTREL_get_user_projects;             // not built yet
  /* 112 */ KESTREL_unbuilt_slot KESTREL_get_privileged_projects;       // not built yet
  /* 113 */ KESTREL_unbuilt_slot KESTREL_get_project_objects;           // not built yet
  /* 114 */ KESTREL_unbuilt_slot KESTREL_get_all_project_information;   // not built yet
  /* 115 */ KESTREL_unbuilt_slot KESTREL_list_project_entries;          // not built yet
  /* 116 */ KESTREL_unbuilt_slot KESTREL_ask_project_teams;             // not built yet
  /* 117 */ KESTREL_unbuilt_slot KESTREL_assign_objects_to_projects;    // not built yet
  /* 118 */ KESTREL_unbuilt_slot KESTREL_remove_objects_from_projects;  // not built yet
  /* 119 */ KESTREL_unbuilt_slot KESTREL_ask_projects_list;             // not built yet
  /* 120 */ KESTREL_unbuilt_slot KESTREL_ask_project_objects;           // not built yet
  /* 121 */ KESTREL_unbuilt_slot KESTREL_get_project_datasets;          // not built yet
  /* 122 */ KESTREL_unbuilt_slot KESTREL_assign_and_remove_projects;    // not built yet

  // Attribute mapping
  /* 123 */ KESTREL_unbuilt_slot KESTREL_get_attr_mapping_definitions;        // not built yet
  /* 124 */ KESTREL_unbuilt_slot KESTREL_resolve_attr_mappings;               // not built yet
  /* 125 */ KESTREL_unbuilt_slot KESTREL_update_attr_values;                  // not built yet
  /* 126 */ KESTREL_unbuilt_slot KESTREL_clear_attr_mapping_cache;            // not built yet
  /* 127 */ KESTREL_unbuilt_slot KESTREL_clear_attr_mapping_cache_for_parts;  // not built yet

  // Revision rules
  /* 128 */ KESTREL_unbuilt_slot KESTREL_set_configuration_rule;       // not built yet
  /* 129 */ KESTREL_unbuilt_slot KESTREL_ask_config_rule_GUID;         // not built yet
  /* 130 */ KESTREL_unbuilt_slot KESTREL_ask_configuration_rule;       // not built yet
  /* 131 */ KESTREL_unbuilt_slot KESTREL_set_config_rule_all;          // not built yet
  /* 132 */ KESTREL_unbuilt_slot KESTREL_ask_config_rule_status;       // not built yet
  /* 133 */ KESTREL_unbuilt_slot KESTREL_list_configuration_rules;     // not built yet
  /* 134 */ KESTREL_unbuilt_slot KESTREL_ask_config_rule_has_precise;  // not built yet

  // Session: home folder
  /* 135 */ Orvane::PdmSoa::Folder* (*KESTREL_ask_home_folder)();
};

static_assert(sizeof(KESTREL_interface_s) == 136 * sizeof(void (*)()), "the table holds 136 entries");

extern "C" __attribute__((visibility("default"))) const KESTREL_interface_s* KESTREL_init_module(int* version);
