// The entry-point table of the legacy 32-bit build, as its older host
// receives it from KESTREL_init_module. The host compiles against this
// header or the 64-bit one, never both: they declare the same names.
//
// The slot order and each slot's signature are the interface with the older
// host and never change. Every slot holds its operation.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"

struct date_s;
struct CORBA_Object;
namespace Halden::Soa::Client {
class Connection;
class ModelObject;
}  // namespace Halden::Soa::Client
namespace Orvane::PdmSoa {
class VirelmgrModelObject;
class VirelmgrPomObject;
class VirelmgrBomWindow;
class VirelmgrBomLine;
class VirelmgrQuery;
class VirelmgrClassificationClass;
class VirelmgrClassificationObject;
struct VirelmgrClassificationAttribute;
}  // namespace Orvane::PdmSoa

#define KESTREL_INTERFACE_VERSION 2000

struct KESTREL_interface_s {
  // Session
  /*  0 */ Halden::Soa::Client::Connection* (*KESTREL_ask_connection)();
  /*  1 */ void (*KESTREL_create_connection)(const char* host, const char* protocol, const char* user,
                                             const char* password, const char* group, const char* role,
                                             const char* discriminator);
  /*  2 */ int (*KESTREL_logout)();

  // Server objects by UID
  /*  3 */ Halden::Soa::Client::ModelObject* (*constructObject)(const std::string& type_name, const std::string& uid);
  /*  4 */ void (*KESTREL_get_properties)(const std::vector<Orvane::PdmSoa::VirelmgrModelObject*>& objects,
                                          const std::vector<std::string>& property_names);

  // Saved queries and search criteria
  /*  5 */ std::vector<Orvane::PdmSoa::VirelmgrQuery*>* (*KESTREL_list_saved_queries)();
  /*  6 */ void (*KESTREL_describe_saved_queries)(const std::vector<Orvane::PdmSoa::VirelmgrQuery*>& queries);
  /*  7 */ std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* (*KESTREL_execute_saved_query)(
      Orvane::PdmSoa::VirelmgrQuery* query, const std::vector<std::string>& entries,
      const std::vector<std::string>& values, int max_results);
  /*  8 */ void (*KESTREL_save_search_criteria)(const std::vector<SearchCriteria>& criteria);
  /*  9 */ void (*KESTREL_delete_search_criteria)(const std::vector<std::string>& names);
  /* 10 */ std::vector<SearchCriteria>* (*KESTREL_retrieve_search_criteria)(const std::vector<std::string>& names);

  // BOM windows and lines
  /* 11 */ Orvane::PdmSoa::VirelmgrBomWindow* (*KESTREL_create_bom_window)(const std::string& item_revision_uid);
  /* 12 */ void (*KESTREL_close_bom_window)(Orvane::PdmSoa::VirelmgrBomWindow* window);
  /* 13 */ Orvane::PdmSoa::VirelmgrBomLine* (*KESTREL_ask_bom_top_line)(Orvane::PdmSoa::VirelmgrBomWindow* window);
  /* 14 */ std::vector<Orvane::PdmSoa::VirelmgrBomLine*>* (*KESTREL_expand_bom_line)(
      Orvane::PdmSoa::VirelmgrBomLine* line);

  // Classification
  /* 15 */ void (*KESTREL_write_classification_objects)(
      const std::vector<Orvane::PdmSoa::VirelmgrClassificationObject*>& objects);
  /* 16 */ void (*KESTREL_write_classification_objects_2)(
      const std::vector<Orvane::PdmSoa::VirelmgrClassificationObject*>& objects);
  /* 17 */ void (*KESTREL_send_classification_object_uids)(const std::vector<std::string>& uids);
  /* 18 */ std::map<std::string, Orvane::PdmSoa::VirelmgrClassificationClass*>* (*KESTREL_ask_classification_classes)(
      const std::vector<std::string>& class_ids);
  /* 19 */ std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrClassificationClass*>>* (
      *KESTREL_ask_class_descriptions)(const std::vector<std::string>& class_ids);
  /* 20 */ std::map<std::string, std::vector<std::string>>* (*KESTREL_ask_classification_table)(
      const std::vector<std::string>& keys);
  /* 21 */ std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrPomObject*>>* (
      *KESTREL_ask_objects_of_classification_ids)(const std::vector<std::string>& ids);
  /* 22 */ std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrClassificationAttribute>>* (
      *KESTREL_ask_class_attributes)(const std::vector<std::string>& class_ids);
  /* 23 */ std::vector<Orvane::PdmSoa::VirelmgrClassificationClass*>* (*KESTREL_find_classes)(
      const std::vector<ClassQuery>& queries);
  /* 24 */ std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* (*KESTREL_find_classification_objects)(
      const std::vector<ClassificationObjectQuery>& queries);
  /* 25 */ std::vector<Orvane::PdmSoa::VirelmgrPomObject*>* (*KESTREL_ask_classification_pom_objects)(
      const std::vector<std::string>& uids);
  /* 26 */ std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrModelObject*>>* (
      *KESTREL_ask_classifications_of_objects)(const std::vector<std::string>& workspace_uids);
  /* 27 */ std::map<std::string, Orvane::PdmSoa::VirelmgrClassificationObject*>* (*KESTREL_load_classification_objects)(
      const std::vector<std::string>& uids);
  /* 28 */ std::map<std::string, ClassificationValueTable>* (*KESTREL_ask_classification_value_tables)(
      const std::vector<std::string>& ids);

  // Preferences and types
  /* 29 */ const std::vector<std::string>& (*KESTREL_ask_preference_values)(const std::string& scope,
                                                                            const std::string& name);
  /* 30 */ const std::string& (*KESTREL_ask_type_name_of_uid)(const std::string& uid);

  // Typed properties of the object of a UID
  /* 31 */ const std::string& (*KESTREL_get_object_property_string_by_uid)(const std::string& uid,
                                                                           const std::string& property_name);
  /* 32 */ int (*KESTREL_get_object_property_int_by_uid)(const std::string& uid, const std::string& property_name);
  /* 33 */ double (*KESTREL_get_object_property_double_by_uid)(const std::string& uid,
                                                               const std::string& property_name);
  /* 34 */ bool (*KESTREL_get_object_property_logical_by_uid)(const std::string& uid, const std::string& property_name);
  /* 35 */ char (*KESTREL_get_object_property_char_by_uid)(const std::string& uid, const std::string& property_name);
  /* 36 */ date_s (*KESTREL_get_object_property_date_by_uid)(const std::string& uid, const std::string& property_name);
  /* 37 */ Orvane::PdmSoa::VirelmgrModelObject* (*KESTREL_get_object_property_object_by_uid)(
      const std::string& uid, const std::string& property_name);
  /* 38 */ const std::vector<std::string>& (*KESTREL_get_object_property_string_array_by_uid)(
      const std::string& uid, const std::string& property_name);
  /* 39 */ const std::vector<int>& (*KESTREL_get_object_property_int_array_by_uid)(const std::string& uid,
                                                                                   const std::string& property_name);
  /* 40 */ const std::vector<double>& (*KESTREL_get_object_property_double_array_by_uid)(
      const std::string& uid, const std::string& property_name);
  /* 41 */ const std::vector<bool>& (*KESTREL_get_object_property_logical_array_by_uid)(
      const std::string& uid, const std::string& property_name);
  /* 42 */ const std::vector<char>& (*KESTREL_get_object_property_char_array_by_uid)(const std::string& uid,
                                                                                     const std::string& property_name);
  /* 43 */ std::vector<date_s>* (*KESTREL_get_object_property_date_array_by_uid)(const std::string& uid,
                                                                                 const std::string& property_name);
  /* 44 */ std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* (*KESTREL_get_object_property_object_array_by_uid)(
      const std::string& uid, const std::string& property_name);

  // Related objects
  /* 45 */ std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* (*KESTREL_get_related_objects_cad)(
      const std::string& uid, const std::string& relation_name);

  // Single sign-on and the gateway
  /* 46 */ void (*KESTREL_get_cookie_info)(const char* key, std::string& out1, std::string& out2, std::string& out3,
                                           std::string& out4, std::string& out5);
  /* 47 */ char* (*KESTREL_get_gateway_ior)(CORBA_Object* object, int tries, int sleep_seconds);
};

static_assert(sizeof(KESTREL_interface_s) == 48 * sizeof(void (*)()), "the legacy table holds 48 entries");

#ifndef KESTREL_API
#if defined(__GNUC__)
#define KESTREL_API __attribute__((visibility("default")))
#else
#define KESTREL_API
#endif
#endif

// Stores KESTREL_INTERFACE_VERSION into *version and returns the table.
extern "C" KESTREL_API KESTREL_interface_s* KESTREL_init_module(int* version);
