// Server objects by UID, property reading with forced loading and the typed
// property getters.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/ustring.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Property.h"
#include "kestrel/kestrel_types.h"
#include "objmodel/ModelObject.h"

namespace kestrel {

// The key of a caller's UID: the text after its last blank, or all of it.
std::string strip_uid_prefix(const std::string& uid);

// Reads a property; one outside the policy is loaded on its own and read again.
Halden::Soa::Client::Property* get_property_force_load(Halden::Soa::Client::ModelObject* object,
                                                       const std::string& property_name);

// Reads a property of a host object's server object. With force_load, a
// missing property is loaded: the policy's standard properties the first time
// for this host object, the property alone after that. May answer null.
Halden::Soa::Client::Property* ask_host_object_property(Orvane::PdmSoa::ModelObject* object,
                                                        const std::string& property_name, bool force_load);

// The property's own list of references, nulls kept in their places (the
// object-array getter drops them); a value of another kind raises as that
// getter does.
const std::vector<Halden::Soa::Client::ModelObject*>& object_array_value(const Halden::Soa::Client::Property& property,
                                                                         const std::string& property_name);

}  // namespace kestrel

// The server object of a UID; the four host classes that name loadable
// objects are loaded before one is constructed.
Halden::Soa::Client::ModelObject* constructObject(const std::string& type_name, const std::string& uid);
// Appends one entry per object of the load reply: its PomObject, or null.
void KESTREL_load_objects(const std::vector<UString>& uids, std::vector<Orvane::PdmSoa::ModelObject*>* out);
// Loads the named properties of the objects, for the typed getters to find.
void KESTREL_get_properties(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                            const std::vector<std::string>& property_names);

const std::string& KESTREL_ask_object_uid(Orvane::PdmSoa::ModelObject* object);
const std::string& KESTREL_ask_object_type_name(Orvane::PdmSoa::ModelObject* object);
const std::string& KESTREL_ask_server_object_uid(Halden::Soa::Client::ModelObject* object);
const std::string& KESTREL_ask_server_object_type_name(Halden::Soa::Client::ModelObject* object);

// Borrowed: the property's own string, or a static text that the next text
// form of a non-string property overwrites, or a static empty string.
const std::string& KESTREL_get_object_property_string(Orvane::PdmSoa::ModelObject* object,
                                                      const std::string& property_name, bool force_load);
int KESTREL_get_object_property_int(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                    bool force_load);
double KESTREL_get_object_property_double(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                          bool force_load);
bool KESTREL_get_object_property_logical(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                         bool force_load);
char KESTREL_get_object_property_char(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                      bool force_load);
date_s KESTREL_get_object_property_date(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                        bool force_load, bool convert_time);
Orvane::PdmSoa::ModelObject* KESTREL_get_object_property_object(Orvane::PdmSoa::ModelObject* object,
                                                                const std::string& property_name, bool force_load);

// Borrowed: the property's own list, or a static empty list.
const std::vector<std::string>& KESTREL_get_object_property_string_array(Orvane::PdmSoa::ModelObject* object,
                                                                         const std::string& property_name,
                                                                         bool force_load);
const std::vector<int>& KESTREL_get_object_property_int_array(Orvane::PdmSoa::ModelObject* object,
                                                              const std::string& property_name, bool force_load);
const std::vector<double>& KESTREL_get_object_property_double_array(Orvane::PdmSoa::ModelObject* object,
                                                                    const std::string& property_name, bool force_load);
const std::vector<bool>& KESTREL_get_object_property_logical_array(Orvane::PdmSoa::ModelObject* object,
                                                                   const std::string& property_name, bool force_load);
const std::vector<char>& KESTREL_get_object_property_char_array(Orvane::PdmSoa::ModelObject* object,
                                                                const std::string& property_name, bool force_load);

// New lists the caller deletes, or null when there is no property.
std::vector<date_s>* KESTREL_get_object_property_date_array(Orvane::PdmSoa::ModelObject* object,
                                                            const std::string& property_name, bool force_load);
std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_object_property_object_array(Orvane::PdmSoa::ModelObject* object,
                                                                                    const std::string& property_name,
                                                                                    bool force_load);

// Writes the text of every loaded property into the map, loading nothing.
void KESTREL_ask_object_property_texts(Orvane::PdmSoa::ModelObject* object, std::map<UString, UString>* texts_out);

// Refresh, delete and reservation act on the server objects of the host
// objects: a null host object raises 940208, one without a server object
// (for delete: whose UID the model manager does not know) 940205, both
// before any request. Partial errors reach the host through the listener.
void KESTREL_refresh_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
// The deleted UIDs and every error value of the reply; the errors reach the
// listener as well.
DeleteResult KESTREL_delete_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
void KESTREL_checkout_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::string& comment,
                              const std::string& change_id);
void KESTREL_checkin_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);
void KESTREL_cancel_checkout(const std::vector<Orvane::PdmSoa::ModelObject*>& objects);

// Related objects, property writing and items with revisions: a null host
// object raises 940208, one without a server object 940209, both before any
// request. Every list and group returned is new and the host's.
//
// The related objects of the first group under the relation, as PomObjects;
// null where the host object is no PomObject.
std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_related_objects_cad(Orvane::PdmSoa::ModelObject* object,
                                                                           const std::string& relation_name);
// One record per output, one group per relation; an empty list asks nothing.
// The second form follows the relations the other way round.
std::vector<RelatedObjects>* KESTREL_get_related_objects_core(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                                              const std::vector<std::string>& relation_names);
std::vector<RelatedObjects>* KESTREL_get_related_objects_core_2(
    const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::vector<std::string>& relation_names);
// Every named property gets the same values on every object.
void KESTREL_set_properties(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                            const std::map<std::string, std::vector<UString>>& values);
// The items with all their revisions and datasets of the types, in one flat
// list: per output its objects, then each item followed by its revisions
// each followed by its datasets, then the loose revisions each followed by
// theirs. Items and their revisions are registered with the host under
// their ids, datasets marked as highest versions.
std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_items_with_revisions(
    const std::vector<Orvane::PdmSoa::Item*>& items, const std::vector<std::string>& type_names, bool flag,
    int related_data_mode);
