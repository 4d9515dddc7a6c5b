// The operations of the legacy 32-bit build, which its table points at
// directly. Host objects are the older host's Virelmgr classes; no operation
// sets a property policy (connect sets the session's once) and none converts
// the framework's exceptions.
#pragma once

#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/error.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Property.h"
#include "kestrel/kestrel_types.h"
#include "kestrel_call.h"

struct CORBA_Object;
namespace Orvane::PdmSoa {
class VirelmgrModelObject;
class VirelmgrBomWindow;
class VirelmgrBomLine;
class VirelmgrQuery;
}  // namespace Orvane::PdmSoa

// Every error of this build reports the table's source file, the one the
// older host's support knows, whichever legacy file raises it.
#define KESTREL_LEGACY_FILE "kestrel_vtbl.cpp"
#define KESTREL_LEGACY_HERE (::kestrel::Site{KESTREL_LEGACY_FILE, __LINE__})
#define KESTREL_LEGACY_RAISE(code, ...) ERROR_raise(KESTREL_LEGACY_FILE, __LINE__, code, __VA_ARGS__)

// Session and the build's own operations. Connect stays for the process:
// logout sends nothing and forgets nothing.
Halden::Soa::Client::Connection* KESTREL_ask_connection();
void KESTREL_create_connection(const char* host, const char* protocol, const char* user, const char* password,
                               const char* group, const char* role, const char* discriminator);
// 0, or 940205 when the session service could not be reached.
int KESTREL_logout();
// The name of the type of the UID's object; the framework's text.
const std::string& KESTREL_ask_type_name_of_uid(const std::string& uid);
void KESTREL_get_cookie_info(const char* key, std::string& out1, std::string& out2, std::string& out3,
                             std::string& out4, std::string& out5);
// The framework's IOR text, or null when no attempt answered one.
char* KESTREL_get_gateway_ior(CORBA_Object* object, int tries, int sleep_seconds);

namespace kestrel::legacy {
// The property of the server object, never null (940209); one outside the
// session's policy is loaded on its own, then warned of.
Halden::Soa::Client::Property& required_property(Halden::Soa::Client::ModelObject& object,
                                                 const std::string& property_name);
// The server object behind a host object; none raises 940209, so nothing is
// sent for it.
Halden::Soa::Client::ModelObject* server_object_of(const Orvane::PdmSoa::VirelmgrModelObject& object);
}  // namespace kestrel::legacy

// Objects and properties.
Halden::Soa::Client::ModelObject* constructObject(const std::string& type_name, const std::string& uid);
void KESTREL_get_properties(const std::vector<Orvane::PdmSoa::VirelmgrModelObject*>& objects,
                            const std::vector<std::string>& property_names);
// Borrowed: the values of the last reply, held until the next call.
const std::vector<std::string>& KESTREL_ask_preference_values(const std::string& scope, const std::string& name);

// Typed properties of the object of a UID, loaded by UID on every call; a
// property outside the session's policy is loaded on its own. References
// are the framework's; lists returned by pointer are new and the caller's.
const std::string& KESTREL_get_object_property_string_by_uid(const std::string& uid, const std::string& property_name);
int KESTREL_get_object_property_int_by_uid(const std::string& uid, const std::string& property_name);
double KESTREL_get_object_property_double_by_uid(const std::string& uid, const std::string& property_name);
bool KESTREL_get_object_property_logical_by_uid(const std::string& uid, const std::string& property_name);
char KESTREL_get_object_property_char_by_uid(const std::string& uid, const std::string& property_name);
date_s KESTREL_get_object_property_date_by_uid(const std::string& uid, const std::string& property_name);
Orvane::PdmSoa::VirelmgrModelObject* KESTREL_get_object_property_object_by_uid(const std::string& uid,
                                                                               const std::string& property_name);
const std::vector<std::string>& KESTREL_get_object_property_string_array_by_uid(const std::string& uid,
                                                                                const std::string& property_name);
const std::vector<int>& KESTREL_get_object_property_int_array_by_uid(const std::string& uid,
                                                                     const std::string& property_name);
const std::vector<double>& KESTREL_get_object_property_double_array_by_uid(const std::string& uid,
                                                                           const std::string& property_name);
const std::vector<bool>& KESTREL_get_object_property_logical_array_by_uid(const std::string& uid,
                                                                          const std::string& property_name);
const std::vector<char>& KESTREL_get_object_property_char_array_by_uid(const std::string& uid,
                                                                       const std::string& property_name);
std::vector<date_s>* KESTREL_get_object_property_date_array_by_uid(const std::string& uid,
                                                                   const std::string& property_name);
std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* KESTREL_get_object_property_object_array_by_uid(
    const std::string& uid, const std::string& property_name);
std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* KESTREL_get_related_objects_cad(const std::string& uid,
                                                                                   const std::string& relation_name);

// BOM windows and lines. Windows and child lines are built here, on the
// host's CppMemory, and belong to the host.
Orvane::PdmSoa::VirelmgrBomWindow* KESTREL_create_bom_window(const std::string& item_revision_uid);
void KESTREL_close_bom_window(Orvane::PdmSoa::VirelmgrBomWindow* window);
Orvane::PdmSoa::VirelmgrBomLine* KESTREL_ask_bom_top_line(Orvane::PdmSoa::VirelmgrBomWindow* window);
std::vector<Orvane::PdmSoa::VirelmgrBomLine*>* KESTREL_expand_bom_line(Orvane::PdmSoa::VirelmgrBomLine* line);

// Saved queries and search criteria. Lists returned are new and the
// caller's; the host objects in them are the host's.
// The server's saved queries as host queries; 940205 when it has none.
std::vector<Orvane::PdmSoa::VirelmgrQuery*>* KESTREL_list_saved_queries();
// Adds its fields to each query that has a server saved query behind it.
void KESTREL_describe_saved_queries(const std::vector<Orvane::PdmSoa::VirelmgrQuery*>& queries);
// Each found object as the first of the host's item, revision, dataset and
// folder classes that answers for it, else as the host's POM object (which
// may answer null, kept in its place).
std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* KESTREL_execute_saved_query(Orvane::PdmSoa::VirelmgrQuery* query,
                                                                               const std::vector<std::string>& entries,
                                                                               const std::vector<std::string>& values,
                                                                               int max_results);
void KESTREL_save_search_criteria(const std::vector<SearchCriteria>& criteria);
void KESTREL_delete_search_criteria(const std::vector<std::string>& names);
std::vector<SearchCriteria>* KESTREL_retrieve_search_criteria(const std::vector<std::string>& names);
