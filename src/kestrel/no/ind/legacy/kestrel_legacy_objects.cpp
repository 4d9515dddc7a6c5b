// Objects, properties by UID, preferences and related objects of the
// legacy build.
#include <memory>

#include "cadlink/virelmgr.h"
#include "halden/services/cad/DatamanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/SessionService.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/Property.h"
#include "kestrel_call.h"
#include "kestrel_dates.h"
#include "kestrel_legacy.h"
#include "kestrel_relations.h"

using Halden::Soa::Client::ModelObject;
using Halden::Soa::Client::Property;
using Orvane::PdmSoa::VirelmgrModelObject;
namespace Core = Halden::Services::Core;
namespace Cad = Halden::Services::Cad;

namespace {

// Loads the one property on its own; neither the request nor the second
// read is guarded.
void force_load_property(ModelObject* object, const std::string& property_name) {
  kestrel::soa_request_on<Core::DatamanagementService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](Core::DatamanagementService& dm) { dm.getProperties({object}, {property_name}); });
}

Property* ask_property(ModelObject& object, const std::string& property_name) {
  try {
    return object.getProperty(property_name);
  } catch (const Halden::Soa::Client::NotLoadedException&) {
    // Outside the session's policy: loaded below.
  }
  force_load_property(&object, property_name);
  Property* property = object.getProperty(property_name);
  ERROR_lprintf("SOA Warning: force-load of property %s on object of type %s\n", property_name.c_str(),
                object.getType()->getName().c_str());
  return property;
}

// The property, never null.
Property& required_uid_property(const std::string& uid, const std::string& property_name) {
  ModelObject* object = kestrel::get_model_manager(KESTREL_LEGACY_HERE)->loadObjects(uid);
  if (!object) KESTREL_LEGACY_RAISE(940209, "SOA: No SOA object found for input uid");
  return kestrel::legacy::required_property(*object, property_name);
}

VirelmgrModelObject* host_object_of(ModelObject* object) {
  return VirelmgrModelObject::GetInstance(object->getUid(), object, 0);
}

}  // namespace

Property& kestrel::legacy::required_property(ModelObject& object, const std::string& property_name) {
  Property* property = ask_property(object, property_name);
  if (!property) KESTREL_LEGACY_RAISE(940209, "SOA: Null property on SOA object");
  return *property;
}

ModelObject* kestrel::legacy::server_object_of(const VirelmgrModelObject& object) {
  ModelObject* server_object = object.GetObjectPtr();
  if (!server_object) KESTREL_LEGACY_RAISE(940209, "Error getting SOA object from KRAL object");
  return server_object;
}

ModelObject* constructObject(const std::string& type_name, const std::string& uid) {
  auto* models = kestrel::get_model_manager(KESTREL_LEGACY_HERE);
  if (type_name.empty()) KESTREL_LEGACY_RAISE(940208, "%s", kestrel::kNullConstructType);
  return models->constructTypedObject(type_name, uid);
}

void KESTREL_get_properties(const std::vector<VirelmgrModelObject*>& objects,
                            const std::vector<std::string>& property_names) {
  auto* models = kestrel::get_model_manager(KESTREL_LEGACY_HERE);
  std::vector<ModelObject*> server_objects;
  server_objects.reserve(objects.size());
  for (VirelmgrModelObject* object : objects) {
    if (!object) KESTREL_LEGACY_RAISE(940208, "Null object in KESTREL_get_properties");
    const std::string uid = object->GetUid();
    ModelObject* server_object = models->findObject(uid);
    if (!server_object)
      KESTREL_LEGACY_RAISE(940205, "No SOA object found for Virel/Mgr object with UID %s\n", uid.c_str());
    server_objects.push_back(server_object);
  }
  kestrel::soa_request_on<Core::DatamanagementService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](Core::DatamanagementService& dm) { dm.getProperties(server_objects, property_names); });
}

const std::vector<std::string>& KESTREL_ask_preference_values(const std::string& scope, const std::string& name) {
  // What the last call returned refers into this reply; a failed request
  // leaves it as it was.
  static Core::GetPreferencesResponse held;
  auto reply = kestrel::soa_request_on<Core::SessionService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](Core::SessionService& session) { return session.getPreferences(scope, {name}); });
  held = std::move(reply);
  return held.preferences.getPreference(name);
}

const std::string& KESTREL_get_object_property_string_by_uid(const std::string& uid, const std::string& property_name) {
  return required_uid_property(uid, property_name).getStringValue();
}

int KESTREL_get_object_property_int_by_uid(const std::string& uid, const std::string& property_name) {
  return required_uid_property(uid, property_name).getIntValue();
}

double KESTREL_get_object_property_double_by_uid(const std::string& uid, const std::string& property_name) {
  return required_uid_property(uid, property_name).getDoubleValue();
}

bool KESTREL_get_object_property_logical_by_uid(const std::string& uid, const std::string& property_name) {
  return required_uid_property(uid, property_name).getBoolValue();
}

char KESTREL_get_object_property_char_by_uid(const std::string& uid, const std::string& property_name) {
  return required_uid_property(uid, property_name).getCharValue();
}

date_s KESTREL_get_object_property_date_by_uid(const std::string& uid, const std::string& property_name) {
  return kestrel::date_from_time(required_uid_property(uid, property_name).getDateValue());
}

VirelmgrModelObject* KESTREL_get_object_property_object_by_uid(const std::string& uid,
                                                               const std::string& property_name) {
  ModelObject* reference = required_uid_property(uid, property_name).getModelObjectValue();
  return reference ? host_object_of(reference) : nullptr;
}

const std::vector<std::string>& KESTREL_get_object_property_string_array_by_uid(const std::string& uid,
                                                                                const std::string& property_name) {
  return required_uid_property(uid, property_name).getStringArrayValue();
}

const std::vector<int>& KESTREL_get_object_property_int_array_by_uid(const std::string& uid,
                                                                     const std::string& property_name) {
  return required_uid_property(uid, property_name).getIntArrayValue();
}

const std::vector<double>& KESTREL_get_object_property_double_array_by_uid(const std::string& uid,
                                                                           const std::string& property_name) {
  return required_uid_property(uid, property_name).getDoubleArrayValue();
}

const std::vector<bool>& KESTREL_get_object_property_logical_array_by_uid(const std::string& uid,
                                                                          const std::string& property_name) {
  return required_uid_property(uid, property_name).getBoolArrayValue();
}

const std::vector<char>& KESTREL_get_object_property_char_array_by_uid(const std::string& uid,
                                                                       const std::string& property_name) {
  return required_uid_property(uid, property_name).getCharArrayValue();
}

std::vector<date_s>* KESTREL_get_object_property_date_array_by_uid(const std::string& uid,
                                                                   const std::string& property_name) {
  const auto& values = required_uid_property(uid, property_name).getDateArrayValue();
  auto dates = std::make_unique<std::vector<date_s>>();
  dates->reserve(values.size());
  for (const auto& when : values) dates->push_back(kestrel::date_from_time(when));
  return dates.release();
}

std::vector<VirelmgrModelObject*>* KESTREL_get_object_property_object_array_by_uid(const std::string& uid,
                                                                                   const std::string& property_name) {
  const auto& values = required_uid_property(uid, property_name).getModelObjectArrayValue();
  auto objects = std::make_unique<std::vector<VirelmgrModelObject*>>();
  objects->reserve(values.size());
  for (ModelObject* value : values)
    if (value) objects->push_back(host_object_of(value));
  return objects.release();
}

std::vector<VirelmgrModelObject*>* KESTREL_get_related_objects_cad(const std::string& uid,
                                                                   const std::string& relation_name) {
  ModelObject* object = kestrel::get_model_manager(KESTREL_LEGACY_HERE)->loadObjects(uid);
  if (!object) KESTREL_LEGACY_RAISE(940209, "SOA: No SOA object could be constructed for input uid %s", uid.c_str());
  const auto related = kestrel::soa_request_on<Cad::DatamanagementService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](Cad::DatamanagementService& dm) { return kestrel::first_cad_related_group(dm, object, relation_name); });
  auto objects = std::make_unique<std::vector<VirelmgrModelObject*>>();
  objects->reserve(related.size());
  // A null answer of the host stays in its place; a null of the reply has
  // nothing to ask the host for.
  for (ModelObject* found : related)
    if (found) objects->push_back(Orvane::PdmSoa::VirelmgrPomObject::GetInstance(found->getUid(), found, 0));
  return objects.release();
}
