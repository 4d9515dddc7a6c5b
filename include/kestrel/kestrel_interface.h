// The entry-point table that the host receives from KESTREL_init_module.
//
// The slot order, each slot's signature and KESTREL_INTERFACE_VERSION are the
// interface with the host and must never change: new entries go only at the
// end. Every slot holds its operation.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_attr_types.h"
#include "kestrel/kestrel_cad_types.h"
#include "kestrel/kestrel_types.h"
#include "kestrel/kestrel_validation_types.h"

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
class Component;
class PomObject;
class ClassificationClass;
class ClassificationObject;
struct ClassificationAttribute;
}  // namespace Orvane::PdmSoa

#define KESTREL_INTERFACE_VERSION 2000

// Lists are plain std::vector unless a slot's list is the host's own kind,
// whose type then carries the host allocator (slot 11: CppMemory).
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
  /*  21 */ int (*KESTREL_RelativeStructureUpdateStart)();
  /*  22 */ int (*KESTREL_RelativeStructureUpdateStartAssy)(int assy_id, Orvane::PdmSoa::ModelObject* parent,
                                                            bool precise, date_s* reprev_date_on_sync);
  /*  23 */ std::string (*KESTREL_RelativeStructureAddChild)(int assy_id, int comp_id,
                                                             Orvane::PdmSoa::ModelObject* child, std::string cad_occ_id,
                                                             const double* transform, bool as_required,
                                                             const std::map<std::string, std::string>* notes,
                                                             const std::map<std::string, std::string>* attributes);
  /*  24 */ std::map<std::string, std::string>* (*KESTREL_RelativeStructureUpdateCommit)(
      bool complete, std::map<std::string, Orvane::PdmSoa::Component*>** components_out);
  /*  25 */ int (*KESTREL_RelativeStructureDeleteStart)();
  /*  26 */ int (*KESTREL_RelativeStructureDeleteStartAssy)(int assy_id, Orvane::PdmSoa::ModelObject* parent,
                                                            date_s* reprev_date_on_sync);
  /*  27 */ int (*KESTREL_RelativeStructureDeleteChild)(int assy_id, std::string occurrence_uid);
  /*  28 */ int (*KESTREL_RelativeStructureDeleteCommit)();

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
  /*  36 */ void (*KESTREL_write_classification_objects)(
      const std::vector<Orvane::PdmSoa::ClassificationObject*>& objects);
  /*  37 */ void (*KESTREL_write_classification_objects_2)(
      const std::vector<Orvane::PdmSoa::ClassificationObject*>& objects);
  /*  38 */ void (*KESTREL_send_classification_object_uids)(const std::vector<std::string>& uids);
  /*  39 */ std::map<std::string, Orvane::PdmSoa::ClassificationClass*>* (*KESTREL_ask_classification_classes)(
      const std::vector<std::string>& class_ids);
  /*  40 */ std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationClass*>>* (*KESTREL_ask_class_descriptions)(
      const std::vector<std::string>& class_ids);
  /*  41 */ std::map<std::string, std::vector<std::string>>* (*KESTREL_ask_classification_table)(
      const std::vector<std::string>& keys);
  /*  42 */ std::map<std::string, std::vector<Orvane::PdmSoa::PomObject*>>* (
      *KESTREL_ask_objects_of_classification_ids)(const std::vector<std::string>& ids);
  /*  43 */ std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationAttribute>>* (
      *KESTREL_ask_class_attributes)(const std::vector<std::string>& class_ids);
  /*  44 */ std::vector<Orvane::PdmSoa::ClassificationClass*>* (*KESTREL_find_classes)(
      const std::vector<ClassQuery>& queries);
  /*  45 */ std::vector<Orvane::PdmSoa::ClassificationObject*>* (*KESTREL_find_classification_objects)(
      const std::vector<ClassificationObjectQuery>& queries);
  /*  46 */ std::vector<Orvane::PdmSoa::PomObject*>* (*KESTREL_ask_classification_pom_objects)(
      const std::vector<std::string>& uids);
  /*  47 */ std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationObject*>>* (
      *KESTREL_ask_classifications_of_objects)(const std::vector<std::string>& workspace_uids);
  /*  48 */ std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationObject*>>* (
      *KESTREL_ask_classification_objects_by_key)(const std::vector<std::string>& keys);
  /*  49 */ std::map<std::string, Orvane::PdmSoa::ClassificationObject*>* (*KESTREL_load_classification_objects)(
      const std::vector<std::string>& uids);
  /*  50 */ void (*KESTREL_refresh_classification_objects)(
      const std::map<std::string, Orvane::PdmSoa::ClassificationObject*>& objects);
  /*  51 */ std::map<std::string, ClassificationValueTable>* (*KESTREL_ask_classification_value_tables)(
      const std::vector<std::string>& ids);

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
  /*  80 */ ValidationObjectList (*KESTREL_send_validation_inputs)(const std::vector<ValidationDataInput>& inputs);
  /*  81 */ ValidationResultList (*KESTREL_create_validation_results)(const std::vector<ValidationResultInput>& inputs);
  /*  82 */ ValidationDataList (*KESTREL_get_validation_data)(const ValidationDataRequest& request);
  /*  83 */ ValidationQueryResultList (*KESTREL_query_validation_results)(
      const std::vector<ValidationResultQuery>& queries);
  /*  84 */ ValidationResultList (*KESTREL_save_validation_results)(const std::vector<ValidationResultInput>& inputs);
  /*  85 */ ValidationResultList (*KESTREL_update_validation_results)(const std::vector<ValidationResultInput>& inputs);

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
  /*  95 */ bool (*KESTREL_get_dataset_file_read_tickets)(const std::vector<Orvane::PdmSoa::Dataset*>& datasets,
                                                          const std::vector<UString>* reference_names,
                                                          DatasetFileTickets* tickets_out);
  /*  96 */ bool (*KESTREL_get_dataset_write_tickets)(const std::vector<WriteTicketInput*>& requests,
                                                      std::vector<WriteTicketResult*>* results_out);
  /*  97 */ bool (*KESTREL_commit_dataset_files)(const std::vector<CommitInput*>& requests,
                                                 std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                                                 std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                                                 std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                                                 std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
  /*  98 */ bool (*KESTREL_create_parts)(const std::vector<PartCreateInput*>& parts,
                                         std::vector<PartResult*>* results_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
  /*  99 */ bool (*KESTREL_create_datasets)(const std::vector<DatasetCreateInput*>& requests,
                                            std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                                            std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                                            std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                                            std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
  /* 100 */ bool (*KESTREL_create_items)(const std::map<Orvane::PdmSoa::ModelObject*, ItemCreateInput*>& requests,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                                         std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);

  // Property writing
  /* 101 */ void (*KESTREL_set_properties)(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                           const std::map<std::string, std::vector<UString>>& values);

  // Trace links and requirements
  /* 102 */ std::vector<TraceLinkEntry>* (*KESTREL_ask_defining_tree)(Orvane::PdmSoa::ModelObject* object);
  /* 103 */ std::vector<TraceLinkEntry>* (*KESTREL_ask_defining_objects)(Orvane::PdmSoa::ModelObject* object);
  /* 104 */ std::vector<TraceLinkEntry>* (*KESTREL_ask_complying_objects)(Orvane::PdmSoa::ModelObject* object);
  /* 105 */ std::vector<Orvane::PdmSoa::ModelObject*>* (*KESTREL_create_trace_links)(
      const std::string& text1, const std::string& text2, const std::vector<Orvane::PdmSoa::ModelObject*>& primaries,
      const std::vector<Orvane::PdmSoa::ModelObject*>& secondaries);
  /* 106 */ void (*KESTREL_modify_trace_link)(Orvane::PdmSoa::ModelObject* link,
                                              const std::vector<Orvane::PdmSoa::ModelObject*>& list1,
                                              const std::vector<Orvane::PdmSoa::ModelObject*>& list2,
                                              const std::vector<Orvane::PdmSoa::ModelObject*>& list3,
                                              const std::vector<Orvane::PdmSoa::ModelObject*>& list4);
  /* 107 */ FullTextExport (*KESTREL_export_fulltext_to_word)(const std::vector<std::string>& uids);

  // AI structure generation
  /* 108 */ std::string (*KESTREL_generate_structure)(const std::vector<std::string>& label_uids,
                                                      const std::vector<std::string>& version_uids, std::int64_t value,
                                                      const std::string& text, int option);

  // Projects. Labels name projects as "<project_id>-<project_name>", or the id
  // alone when the two are equal; object lists are KESTREL_host_object_list.
  /* 109 */ std::vector<std::string>* (*KESTREL_list_project_names)();
  /* 110 */ std::vector<std::string>* (*KESTREL_list_project_ids)();
  /* 111 */ std::vector<std::string>* (*KESTREL_get_user_projects)(bool assignable);
  /* 112 */ std::vector<std::string>* (*KESTREL_get_privileged_projects)();
  /* 113 */ KESTREL_host_object_list* (*KESTREL_get_project_objects)(std::string project_id);
  /* 114 */ bool (*KESTREL_get_all_project_information)(bool privileged, std::vector<std::string>* labels,
                                                        std::vector<KESTREL_host_object_list*>* object_lists);
  /* 115 */ bool (*KESTREL_list_project_entries)(std::vector<ProjectEntryRecord*>* out);
  /* 116 */ bool (*KESTREL_ask_project_teams)(const std::vector<Halden::Soa::Client::ModelObject*>& projects,
                                              std::vector<ProjectTeamRecord*>* out);
  /* 117 */ bool (*KESTREL_assign_objects_to_projects)(std::vector<std::string> project_labels,
                                                       KESTREL_host_object_list objects);
  /* 118 */ bool (*KESTREL_remove_objects_from_projects)(std::vector<std::string> project_labels,
                                                         KESTREL_host_object_list objects);
  /* 119 */ std::vector<std::string>* (*KESTREL_ask_projects_list)(Orvane::PdmSoa::ModelObject* object);
  /* 120 */ KESTREL_host_object_list* (*KESTREL_ask_project_objects)(std::string project_id);
  /* 121 */ std::vector<KESTREL_host_object_list*>* (*KESTREL_get_project_datasets)(std::string text1,
                                                                                    std::string text2);
  /* 122 */ bool (*KESTREL_assign_and_remove_projects)(const KESTREL_host_object_list& objects);

  // Attribute mapping
  /* 123 */ std::vector<AttrMappingDefinitions*>* (*KESTREL_get_attr_mapping_definitions)(
      const std::vector<AttrMappingContext*>& contexts);
  /* 124 */ std::vector<AttrMappingPartResult*>* (*KESTREL_resolve_attr_mappings)(
      const std::vector<AttrMappingPart*>& parts);
  /* 125 */ void (*KESTREL_update_attr_values)(const std::vector<AttrValueUpdate*>& parts);
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
