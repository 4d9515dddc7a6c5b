// The entry-point table that the host receives from KESTREL_init_module.
//
// The slot order, each slot's signature and KESTREL_INTERFACE_VERSION are the
// interface with the host and must never change: new entries go only at the
// end. A slot whose operation this build does not offer holds null.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_attr_types.h"
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
class BomWindow;
class BomLine;
class Item;
class ItemRevision;
class Dataset;
class PomObject;
class Query;
}  // namespace Orvane::PdmSoa

#define KESTREL_INTERFACE_VERSION 2000

// Lists are plain std::vector unless a slot's list is the host's own kind,
// whose type then carries the host allocator (slot 11: CppMemory).
//
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
  /*   5 */ Halden::Soa::Client::ModelObject* (*constructObject)(const std::string& type_name, const std::string& uid);
  /*   6 */ void (*KESTREL_load_objects)(const std::vector<UString>& uids,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* out);
  /*   7 */ void (*KESTREL_get_properties)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                           const std::vector<std::string>& property_names);

  // Saved queries and search criteria
  /*   8 */ std::vector<Orvane::PdmSoa::Query*>* (*KESTREL_list_saved_queries)();
  /*   9 */ void (*KESTREL_describe_saved_queries)(const std::vector<Orvane::PdmSoa::Query*>& queries);
  /*  10 */ std::vector<Orvane::PdmSoa::PomObject*>* (*KESTREL_execute_saved_query)(
      Orvane::PdmSoa::Query* query, const std::vector<std::string>& entries, const std::vector<std::string>& values,
      int max_results);
  /*  11 */ void (*KESTREL_execute_saved_queries)(const std::vector<Orvane::PdmSoa::Query*>& queries,
                                                  const std::vector<std::vector<std::string>>& entries,
                                                  const std::vector<std::vector<std::string>>& values,
                                                  const std::vector<int>& max_results, KESTREL_uid_lists* results);
  /*  12 */ void (*KESTREL_save_search_criteria)(const std::vector<SearchCriteria>& criteria);
  /*  13 */ void (*KESTREL_delete_search_criteria)(const std::vector<std::string>& names);
  /*  14 */ std::vector<SearchCriteria>* (*KESTREL_retrieve_search_criteria)(const std::vector<std::string>& names);

  // BOM windows and lines
  /*  15 */ Orvane::PdmSoa::BomWindow* (*KESTREL_create_bom_window)(const std::string& item_revision_uid);
  /*  16 */ void (*KESTREL_close_bom_window)(Orvane::PdmSoa::BomWindow* window);
  /*  17 */ Orvane::PdmSoa::BomLine* (*KESTREL_ask_bom_top_line)(Orvane::PdmSoa::BomWindow* window);
  /*  18 */ std::vector<Orvane::PdmSoa::BomLine*>* (*KESTREL_expand_bom_line)(Orvane::PdmSoa::BomLine* line,
                                                                              int related_data_mode);
  /*  19 */ std::vector<std::vector<Orvane::PdmSoa::BomLine*>*>* (*KESTREL_expand_bom_lines)(
      const std::vector<Orvane::PdmSoa::BomLine*>& lines, int related_data_mode);
  /*  20 */ void (*KESTREL_ask_bom_lines_by_path)(Orvane::PdmSoa::ModelObject* scope,
                                                  const std::vector<std::vector<std::string>>& paths,
                                                  std::vector<Orvane::PdmSoa::BomLine*>* out);

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
  /*  29 */ std::vector<Orvane::PdmSoa::ItemRevision*>* (*KESTREL_get_item_revisions_by_id)(
      Orvane::PdmSoa::Item* item, int revision_count, const std::vector<std::string>& revision_ids,
      int related_data_mode);
  /*  30 */ Orvane::PdmSoa::ItemRevision* (*KESTREL_get_item_revision_of_item)(Orvane::PdmSoa::Item* item,
                                                                               const std::string& revision_id,
                                                                               int related_data_mode);
  /*  31 */ std::vector<Orvane::PdmSoa::Dataset*> (*KESTREL_get_datasets_by_id)(const std::string& item_id,
                                                                                const std::string& revision_id,
                                                                                int related_data_mode);
  /*  32 */ Orvane::PdmSoa::ItemRevision* (*KESTREL_get_item_revision_by_id)(const std::string& item_id,
                                                                             const std::string& revision_id,
                                                                             int related_data_mode);
  /*  33 */ Orvane::PdmSoa::Item* (*KESTREL_get_items_and_revisions_by_id)(const std::string& item_id,
                                                                           int revision_count,
                                                                           const std::vector<std::string>& revision_ids,
                                                                           int related_data_mode);
  /*  34 */ std::vector<Orvane::PdmSoa::Item*>* (*KESTREL_get_items_by_id)(const std::vector<ItemIdEntry>& ids,
                                                                           int related_data_mode);

  // Dataset references
  /*  35 */ std::vector<DatasetReferences> (*KESTREL_ask_dataset_references)(
      const std::vector<Halden::Soa::Client::ModelObject*>& datasets);

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
  /*  54 */ const std::string& (*KESTREL_ask_object_uid)(Orvane::PdmSoa::ModelObject* object);
  /*  55 */ const std::string& (*KESTREL_ask_object_type_name)(Orvane::PdmSoa::ModelObject* object);
  /*  56 */ const std::string& (*KESTREL_ask_server_object_uid)(Halden::Soa::Client::ModelObject* object);
  /*  57 */ const std::string& (*KESTREL_ask_server_object_type_name)(Halden::Soa::Client::ModelObject* object);
  /*  58 */ const std::string& (*KESTREL_get_object_property_string)(Orvane::PdmSoa::ModelObject* object,
                                                                     const std::string& property_name, bool force_load);
  /*  59 */ int (*KESTREL_get_object_property_int)(Orvane::PdmSoa::ModelObject* object,
                                                   const std::string& property_name, bool force_load);
  /*  60 */ double (*KESTREL_get_object_property_double)(Orvane::PdmSoa::ModelObject* object,
                                                         const std::string& property_name, bool force_load);
  /*  61 */ bool (*KESTREL_get_object_property_logical)(Orvane::PdmSoa::ModelObject* object,
                                                        const std::string& property_name, bool force_load);
  /*  62 */ char (*KESTREL_get_object_property_char)(Orvane::PdmSoa::ModelObject* object,
                                                     const std::string& property_name, bool force_load);
  /*  63 */ date_s (*KESTREL_get_object_property_date)(Orvane::PdmSoa::ModelObject* object,
                                                       const std::string& property_name, bool force_load,
                                                       bool convert_time);
  /*  64 */ Orvane::PdmSoa::ModelObject* (*KESTREL_get_object_property_object)(Orvane::PdmSoa::ModelObject* object,
                                                                               const std::string& property_name,
                                                                               bool force_load);
  /*  65 */ const std::vector<std::string>& (*KESTREL_get_object_property_string_array)(
      Orvane::PdmSoa::ModelObject* object, const std::string& property_name, bool force_load);
  /*  66 */ const std::vector<int>& (*KESTREL_get_object_property_int_array)(Orvane::PdmSoa::ModelObject* object,
                                                                             const std::string& property_name,
                                                                             bool force_load);
  /*  67 */ const std::vector<double>& (*KESTREL_get_object_property_double_array)(Orvane::PdmSoa::ModelObject* object,
                                                                                   const std::string& property_name,
                                                                                   bool force_load);
  /*  68 */ const std::vector<bool>& (*KESTREL_get_object_property_logical_array)(Orvane::PdmSoa::ModelObject* object,
                                                                                  const std::string& property_name,
                                                                                  bool force_load);
  /*  69 */ const std::vector<char>& (*KESTREL_get_object_property_char_array)(Orvane::PdmSoa::ModelObject* object,
                                                                               const std::string& property_name,
                                                                               bool force_load);
  /*  70 */ std::vector<date_s>* (*KESTREL_get_object_property_date_array)(Orvane::PdmSoa::ModelObject* object,
                                                                           const std::string& property_name,
                                                                           bool force_load);
  /*  71 */ std::vector<Orvane::PdmSoa::ModelObject*>* (*KESTREL_get_object_property_object_array)(
      Orvane::PdmSoa::ModelObject* object, const std::string& property_name, bool force_load);
  /*  72 */ void (*KESTREL_ask_object_property_texts)(Orvane::PdmSoa::ModelObject* object,
                                                      std::map<UString, UString>* texts_out);

  // Refresh, items with revisions, delete, types, related objects
  /*  73 */ void (*KESTREL_refresh_objects)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
  /*  74 */ std::vector<Orvane::PdmSoa::ModelObject*>* (*KESTREL_get_items_with_revisions)(
      const std::vector<Orvane::PdmSoa::Item*>& items, const std::vector<std::string>& type_names, bool flag,
      int related_data_mode);
  /*  75 */ DeleteResult (*KESTREL_delete_objects)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
  /*  76 */ std::map<std::string, std::vector<TypeDescriptionEntry>>* (*KESTREL_ask_type_descriptions)(
      const std::vector<TypeDescriptionRequest>& requests);
  /*  77 */ std::vector<Orvane::PdmSoa::ModelObject*>* (*KESTREL_get_related_objects_cad)(
      Orvane::PdmSoa::ModelObject* object, const std::string& relation_name);
  /*  78 */ std::vector<RelatedObjects>* (*KESTREL_get_related_objects_core)(
      const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::vector<std::string>& relation_names);
  /*  79 */ std::vector<RelatedObjects>* (*KESTREL_get_related_objects_core_2)(
      const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::vector<std::string>& relation_names);

  // Validation
  /*  80 */ KESTREL_unbuilt_slot KESTREL_send_validation_inputs;     // not built yet
  /*  81 */ KESTREL_unbuilt_slot KESTREL_create_validation_results;  // not built yet
  /*  82 */ KESTREL_unbuilt_slot KESTREL_get_validation_data;        // not built yet
  /*  83 */ KESTREL_unbuilt_slot KESTREL_query_validation_results;   // not built yet
  /*  84 */ KESTREL_unbuilt_slot KESTREL_save_validation_results;    // not built yet
  /*  85 */ KESTREL_unbuilt_slot KESTREL_update_validation_results;  // not built yet

  // Types and utilities
  /*  86 */ std::vector<std::string> (*KESTREL_ask_type_hierarchy)(const Halden::Soa::Client::ModelObject* object);
  /*  87 */ std::string (*KESTREL_ask_connection_option)(int attempts, int sleep_seconds, const std::string& user,
                                                         const std::string& password, const std::string& group);
  /*  88 */ UString (*KESTREL_get_datetime_string)(const date_s* date);
  /*  89 */ std::vector<std::string>* (*KESTREL_list_available_services)();

  // Configured revision (both slots hold the same entry)
  /*  90 */ Orvane::PdmSoa::ItemRevision* (*KESTREL_ask_configured_revision)(const std::string& item_id,
                                                                             const char* revision_rule_name);
  /*  91 */ Orvane::PdmSoa::ItemRevision* (*KESTREL_ask_configured_revision_2)(const std::string& item_id,
                                                                               const char* revision_rule_name);

  // Reservation
  /*  92 */ void (*KESTREL_checkout_objects)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                             const std::string& comment, const std::string& change_id);
  /*  93 */ void (*KESTREL_checkin_objects)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
  /*  94 */ void (*KESTREL_cancel_checkout)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);

  // Dataset files and CAD creation
  /*  95 */ KESTREL_unbuilt_slot KESTREL_get_dataset_file_read_tickets;  // not built yet
  /*  96 */ KESTREL_unbuilt_slot KESTREL_get_dataset_write_tickets;      // not built yet
  /*  97 */ KESTREL_unbuilt_slot KESTREL_commit_dataset_files;           // not built yet
  /*  98 */ KESTREL_unbuilt_slot KESTREL_create_parts;                   // not built yet
  /*  99 */ KESTREL_unbuilt_slot KESTREL_create_datasets;                // not built yet
  /* 100 */ KESTREL_unbuilt_slot KESTREL_create_items;                   // not built yet

  // Property writing
  /* 101 */ void (*KESTREL_set_properties)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                           const std::map<std::string, std::vector<UString>>& values);

  // Trace links and requirements
  /* 102 */ KESTREL_unbuilt_slot KESTREL_ask_defining_tree;        // not built yet
  /* 103 */ KESTREL_unbuilt_slot KESTREL_ask_defining_objects;     // not built yet
  /* 104 */ KESTREL_unbuilt_slot KESTREL_ask_complying_objects;    // not built yet
  /* 105 */ KESTREL_unbuilt_slot KESTREL_create_trace_links;       // not built yet
  /* 106 */ KESTREL_unbuilt_slot KESTREL_modify_trace_link;        // not built yet
  /* 107 */ KESTREL_unbuilt_slot KESTREL_export_fulltext_to_word;  // not built yet

  // AI structure generation
  /* 108 */ std::string (*KESTREL_generate_structure)(const std::vector<std::string>& label_uids,
                                                      const std::vector<std::string>& version_uids, std::int64_t value,
                                                      const std::string& text, int option);

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
  /* 123 */ std::vector<AttrMappingDefinitions*>* (*KESTREL_get_attr_mapping_definitions)(
      const std::vector<AttrMappingContext*>& contexts);
  /* 124 */ std::vector<AttrMappingPartResult*>* (*KESTREL_resolve_attr_mappings)(
      const std::vector<AttrMappingPart*>& parts);
  /* 125 */ KESTREL_unbuilt_slot KESTREL_update_attr_values;  // not built yet
  /* 126 */ void (*KESTREL_clear_attr_mapping_cache)();
  /* 127 */ void (*KESTREL_clear_attr_mapping_cache_for_parts)(const std::vector<AttrMappingPart*>& parts);

  // Revision rules
  /* 128 */ int (*KESTREL_set_configuration_rule)(const char* rule_name, bool persist);
  /* 129 */ int (*KESTREL_ask_config_rule_GUID)(bool from_preference, char** uid_out);
  /* 130 */ int (*KESTREL_ask_configuration_rule)(bool from_preference, char** name_out);
  /* 131 */ int (*KESTREL_set_config_rule_all)(const char* rule_name, const char* date, bool use_unit, int unit_no,
                                               bool persist);
  /* 132 */ int (*KESTREL_ask_config_rule_status)(const char* rule_name, bool from_preference, bool* has_date,
                                                  bool* today, bool* has_unit, bool* use_unit, char** date_out,
                                                  int* unit_no);
  /* 133 */ int (*KESTREL_list_configuration_rules)(int* count, char*** names);
  /* 134 */ int (*KESTREL_ask_config_rule_has_precise)(bool from_preference, bool* has_precise);

  // Session: home folder
  /* 135 */ Orvane::PdmSoa::Folder* (*KESTREL_ask_home_folder)();
};

static_assert(sizeof(KESTREL_interface_s) == 136 * sizeof(void (*)()), "the table holds 136 entries");

// The attribute of the library's one exported function; a build may define it
// before including this header.
#ifndef KESTREL_API
#if defined(__GNUC__)
#define KESTREL_API __attribute__((visibility("default")))
#else
#define KESTREL_API
#endif
#endif

// Stores KESTREL_INTERFACE_VERSION into *version and returns the table. The
// table is never written: a host only reads it.
extern "C" KESTREL_API KESTREL_interface_s* KESTREL_init_module(int* version);
