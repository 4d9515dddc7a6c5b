#include "kestrel_object.h"

#include <memory>
#include <utility>

#include "corerun/memory.h"
#include "halden/services/cad/DatamanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/ReservationService.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_dates.h"
#include "kestrel_host.h"
#include "kestrel_partial_errors.h"
#include "kestrel_relations.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "objmodel/SoaManager.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::Property;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::DateTime;
using Halden::Soa::Common::ValueType;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;

namespace {

constexpr const char* kNoServerObject = "KRAL SOA: Error getting SOA object from KRAL object";
constexpr const char* kForceLoadedOne = "KRAL SOA Warning: force-load of non-policy property %s on object of type %s\n";

// Empty results the getters hand out by reference; they live for the process.
template <class T>
const std::vector<T>& empty_list() {
  static const std::vector<T> empty;
  return empty;
}
const std::string kEmptyString;
std::string text_scratch;

const char* type_name_of(const ServerObject* object) { return object->getType()->getName().c_str(); }

ServerObject* require_server_object(ServerObject* object) {
  if (!object) KESTREL_RAISE(940209, "%s", kNoServerObject);
  return object;
}

ServerObject* require_server_object(HostObject* object) {
  return kestrel::server_object_of(KESTREL_HERE, object, 940209, kNoServerObject);
}

// The host classes whose objects the server can load by UID alone.
bool is_loadable_class(const std::string& type_name) {
  const UString name(type_name);
  return name == Orvane::PdmSoa::Folder::className || name == Orvane::PdmSoa::Item::className ||
         name == Orvane::PdmSoa::ItemRevision::className || name == Orvane::PdmSoa::Dataset::className;
}

ServerObject* load_object(const std::string& key) {
  return kestrel::soa_request_without_policy<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) -> ServerObject* {
        auto reply = dm.loadObjects({key});
        for (ServerObject* object : reply.getPlainObjects())
          if (object && object->getUid() == key) return object;
        return nullptr;
      });
}

ServerObject* find_or_construct(const std::string& type_name, const std::string& uid) {
  const std::string key = kestrel::strip_uid_prefix(uid);
  auto* models = kestrel::get_model_manager();
  ServerObject* object = nullptr;
  try {
    object = models->findObject(key);
  } catch (const RuntimeException&) {
    ERROR_lprintf("KRAL SOA Warning: trying to Construct unloaded object with uid %s or the UID is bad\n", uid.c_str());
  }
  if (object) return object;
  if (is_loadable_class(type_name)) object = load_object(key);
  if (object) return object;
  return models->constructTypedObject(type_name, key);
}

// One value of the type is read as such; anything else only as its text.
bool is_single(const Property* property, ValueType type) {
  const auto& description = property->getDescription();
  return !description.isArray() && description.getValueType() == type;
}

std::string text_of(Property* property) {
  if (!is_single(property, ValueType::Date)) return property->getDisplayText();
  const DateTime& when = property->getDateValue();
  if (when == DateTime::getNullDate()) return {};
  const date_s date = kestrel::date_from_fields(when);
  const kestrel::SmString formatted(CLOCK_format_date_time(&date, 4, 8));
  return kestrel::or_empty(formatted.get());
}

// The single-value getters have no answer for a null property.
Property* required_property(Orvane::PdmSoa::ModelObject* object, const std::string& property_name, bool force_load,
                            const char* null_message) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) KESTREL_RAISE(940209, "%s", null_message);
  return property;
}

// A value of another type, or none, is the framework's runtime exception;
// every getter turns it into the error the string getter raises.
template <class Read>
decltype(auto) read_value(const char* entry, const std::string& property_name, Read&& read) {
  try {
    return read();
  } catch (const RuntimeException& e) {
    KESTREL_RAISE(940207, "SOA runtime exception %s (%s): %s", entry, property_name.c_str(), e.what());
  }
}

}  // namespace

namespace kestrel {

std::string strip_uid_prefix(const std::string& uid) {
  const auto blank = uid.rfind(' ');
  return blank == std::string::npos ? uid : uid.substr(blank + 1);
}

Halden::Soa::Client::Property* get_property_force_load(Halden::Soa::Client::ModelObject* object,
                                                       const std::string& property_name) {
  try {
    return object->getProperty(property_name);
  } catch (const NotLoadedException&) {
  }
  ERROR_lprintf(kForceLoadedOne, property_name.c_str(), type_name_of(object));
  return soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties({object}, {property_name});
    return object->getProperty(property_name);
  });
}

Halden::Soa::Client::Property* ask_host_object_property(Orvane::PdmSoa::ModelObject* object,
                                                        const std::string& property_name, bool force_load) {
  ServerObject* server_object = require_server_object(object);
  try {
    return server_object->getProperty(property_name);
  } catch (const NotLoadedException&) {
  } catch (...) {
    KESTREL_RAISE(940209, "KRAL SOA: Error getting property %s on object of type %s", property_name.c_str(),
                  type_name_of(server_object));
  }

  if (!force_load) {
    if (debug_enabled(kDebugSoa))
      RDEBUG_print_message("KRAL SOA debug - caller asked not to force load property %s\n", property_name.c_str());
    ERROR_exception(__FILE_NAME__, __LINE__, 940223, "KRAL SOA: Property %s not loaded on object of type %s",
                    property_name.c_str(), type_name_of(server_object));
  }

  // The first miss on a host object loads all its standard properties, which
  // usually brings later misses along; a property they lack is loaded alone.
  const auto [property, standard] =
      soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) -> std::pair<Property*, bool> {
        if (!object->standard_properties_loaded) {
          dm.getProperties({server_object}, empty_list<std::string>());
          object->standard_properties_loaded = true;
          try {
            return {server_object->getProperty(property_name), true};
          } catch (const NotLoadedException&) {
          }
        }
        dm.getProperties({server_object}, {property_name});
        return {server_object->getProperty(property_name), false};
      });

  if (standard)
    ERROR_lprintf("KRAL SOA Warning: force-loaded standard properties (asked for property %s) on object of type %s\n",
                  property_name.c_str(), type_name_of(server_object));
  else
    ERROR_lprintf(kForceLoadedOne, property_name.c_str(), type_name_of(server_object));
  return property;
}

const std::vector<ServerObject*>& object_array_value(const Property& property, const std::string& property_name) {
  return read_value("KESTREL_get_object_property_object_array", property_name,
                    [&]() -> const std::vector<ServerObject*>& { return property.getModelObjectArrayValue(); });
}

}  // namespace kestrel

Halden::Soa::Client::ModelObject* constructObject(const std::string& type_name, const std::string& uid) {
  if (type_name.empty()) KESTREL_RAISE(940208, "%s", kestrel::kNullConstructType);
  try {
    return find_or_construct(type_name, uid);
  } catch (const Orvane::Error::Severe&) {
    throw;  // already the library's own error
  } catch (const RuntimeException& e) {
    KESTREL_RAISE(940205, "KRAL SOA: SOA runtime exception constructing object, possibly UID value %s is bad: %s",
                  uid.c_str(), e.what());
  } catch (...) {
    KESTREL_RAISE(940209, "KRAL SOA: unknown error in constructObject for type = %s and uid = %s", type_name.c_str(),
                  uid.c_str());
  }
}

void KESTREL_load_objects(const std::vector<UString>& uids, std::vector<Orvane::PdmSoa::ModelObject*>* out) {
  if (!out) KESTREL_RAISE(940208, "KRAL SOA: Null output list in KESTREL_load_objects");
  const std::vector<std::string> names = UStringVecToStringVec(uids);
  auto reply = kestrel::soa_request_without_policy<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { return dm.loadObjects(names); });
  out->reserve(out->size() + reply.getPlainObjects().size());
  kestrel::AsHostClass<Orvane::PdmSoa::PomObject> as_pom_object;
  const auto& objects = reply.getPlainObjects();
  for (std::size_t i = 0; i < objects.size(); ++i) {
    kestrel::prefetch_ahead(objects, i);
    out->push_back(objects[i] ? as_pom_object(kestrel::host_object_of(objects[i])) : nullptr);
  }
}

void KESTREL_get_properties(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                            const std::vector<std::string>& property_names) {
  auto* models = kestrel::get_model_manager();
  std::vector<ServerObject*> server_objects;
  server_objects.reserve(objects.size());
  for (HostObject* object : objects) {
    if (!object) KESTREL_RAISE(940208, "KRAL SOA: Null object in KESTREL_get_properties");
    const std::string uid = UStringToString(object->GetUid());
    ServerObject* server_object = models->findObject(uid);
    if (!server_object)
      KESTREL_RAISE(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID %s\n", uid.c_str());
    server_objects.push_back(server_object);
  }
  kestrel::soa_request<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { dm.getProperties(server_objects, property_names); });
}

const std::string& KESTREL_ask_object_uid(Orvane::PdmSoa::ModelObject* object) {
  return require_server_object(object)->getUid();
}

const std::string& KESTREL_ask_object_type_name(Orvane::PdmSoa::ModelObject* object) {
  return require_server_object(object)->getType()->getName();
}

const std::string& KESTREL_ask_server_object_uid(Halden::Soa::Client::ModelObject* object) {
  return require_server_object(object)->getUid();
}

const std::string& KESTREL_ask_server_object_type_name(Halden::Soa::Client::ModelObject* object) {
  return require_server_object(object)->getType()->getName();
}

const std::string& KESTREL_get_object_property_string(Orvane::PdmSoa::ModelObject* object,
                                                      const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return kEmptyString;
  try {
    if (is_single(property, ValueType::String)) return property->getStringValue();
    text_scratch = property->getDisplayText();
    return text_scratch;
  } catch (const RuntimeException& e) {
    KESTREL_RAISE(940207, "SOA runtime exception KESTREL_get_object_property_string (%s): %s", property_name.c_str(),
                  e.what());
  }
}

int KESTREL_get_object_property_int(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                    bool force_load) {
  Property* property =
      required_property(object, property_name, force_load, "KRAL SOA: Null int property on SOA object");
  return read_value("KESTREL_get_object_property_int", property_name, [&] { return property->getIntValue(); });
}

double KESTREL_get_object_property_double(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                          bool force_load) {
  Property* property =
      required_property(object, property_name, force_load, "KRAL SOA: Null double property on SOA object");
  return read_value("KESTREL_get_object_property_double", property_name, [&] { return property->getDoubleValue(); });
}

bool KESTREL_get_object_property_logical(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                         bool force_load) {
  Property* property =
      required_property(object, property_name, force_load, "KRAL SOA: Null boolean property on SOA object");
  return read_value("KESTREL_get_object_property_logical", property_name, [&] { return property->getBoolValue(); });
}

char KESTREL_get_object_property_char(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                      bool force_load) {
  Property* property =
      required_property(object, property_name, force_load, "KRAL SOA: Null char property on SOA object");
  return read_value("KESTREL_get_object_property_char", property_name, [&] { return property->getCharValue(); });
}

date_s KESTREL_get_object_property_date(Orvane::PdmSoa::ModelObject* object, const std::string& property_name,
                                        bool force_load, bool convert_time) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return date_s{};
  const DateTime& when = read_value("KESTREL_get_object_property_date", property_name,
                                    [&]() -> const DateTime& { return property->getDateValue(); });
  return convert_time ? kestrel::date_from_time(when) : kestrel::date_from_fields(when);
}

Orvane::PdmSoa::ModelObject* KESTREL_get_object_property_object(Orvane::PdmSoa::ModelObject* object,
                                                                const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return nullptr;
  ServerObject* reference =
      read_value("KESTREL_get_object_property_object", property_name, [&] { return property->getModelObjectValue(); });
  return reference ? kestrel::host_object_of(reference) : nullptr;
}

const std::vector<std::string>& KESTREL_get_object_property_string_array(Orvane::PdmSoa::ModelObject* object,
                                                                         const std::string& property_name,
                                                                         bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return empty_list<std::string>();
  return read_value("KESTREL_get_object_property_string_array", property_name,
                    [&]() -> const std::vector<std::string>& { return property->getStringArrayValue(); });
}

const std::vector<int>& KESTREL_get_object_property_int_array(Orvane::PdmSoa::ModelObject* object,
                                                              const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return empty_list<int>();
  return read_value("KESTREL_get_object_property_int_array", property_name,
                    [&]() -> const std::vector<int>& { return property->getIntArrayValue(); });
}

const std::vector<double>& KESTREL_get_object_property_double_array(Orvane::PdmSoa::ModelObject* object,
                                                                    const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return empty_list<double>();
  return read_value("KESTREL_get_object_property_double_array", property_name,
                    [&]() -> const std::vector<double>& { return property->getDoubleArrayValue(); });
}

const std::vector<bool>& KESTREL_get_object_property_logical_array(Orvane::PdmSoa::ModelObject* object,
                                                                   const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return empty_list<bool>();
  return read_value("KESTREL_get_object_property_logical_array", property_name,
                    [&]() -> const std::vector<bool>& { return property->getBoolArrayValue(); });
}

const std::vector<char>& KESTREL_get_object_property_char_array(Orvane::PdmSoa::ModelObject* object,
                                                                const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return empty_list<char>();
  return read_value("KESTREL_get_object_property_char_array", property_name,
                    [&]() -> const std::vector<char>& { return property->getCharArrayValue(); });
}

std::vector<date_s>* KESTREL_get_object_property_date_array(Orvane::PdmSoa::ModelObject* object,
                                                            const std::string& property_name, bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return nullptr;
  const auto& values = read_value("KESTREL_get_object_property_date_array", property_name,
                                  [&]() -> const std::vector<DateTime>& { return property->getDateArrayValue(); });
  auto dates = std::make_unique<std::vector<date_s>>();
  dates->reserve(values.size());
  for (const DateTime& when : values) dates->push_back(kestrel::date_from_time(when));
  return dates.release();
}

std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_object_property_object_array(Orvane::PdmSoa::ModelObject* object,
                                                                                    const std::string& property_name,
                                                                                    bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return nullptr;
  const auto& values = kestrel::object_array_value(*property, property_name);
  auto objects = std::make_unique<std::vector<HostObject*>>();
  objects->reserve(values.size());
  for (ServerObject* value : values) {
    if (!value) {
      ERROR_note("NULL ModelObject returned by Property::getModelObjectArrayValue");
      continue;
    }
    objects->push_back(kestrel::host_object_of(value));
  }
  return objects.release();
}

void KESTREL_ask_object_property_texts(Orvane::PdmSoa::ModelObject* object, std::map<UString, UString>* texts_out) {
  ServerObject* server_object = object ? object->GetObjectPtr() : nullptr;
  if (!server_object) return;
  if (!texts_out) KESTREL_RAISE(940208, "KRAL SOA: Null output map in KESTREL_ask_object_property_texts");
  for (const std::string& name : server_object->getPropertyNames()) {
    Property* property = nullptr;
    try {
      property = server_object->getProperty(name);
    } catch (const NotLoadedException&) {
      continue;
    }
    if (!property) continue;  // sent as null: nothing to show
    (*texts_out)[UString(name)] = UString(text_of(property));
  }
}

namespace {

using Halden::Services::Core::ReservationService;
using CadDatamanagementService = Halden::Services::Cad::DatamanagementService;

// Texts for a host object without a server object; the UID is the host's.
#define KESTREL_NOT_FOUND "KRAL SOA: No SOA object found for Virel/Mgr object with UID %s\n"
#define KESTREL_NOT_CONSTRUCTED "KRAL SOA: No SOA object could be constructed for input uid %s"

// The server objects of the object operations.
std::vector<ServerObject*> constructed_server_objects(kestrel::Site site, const std::vector<HostObject*>& objects,
                                                      const char* entry) {
  return kestrel::server_objects_of(site, objects, entry, 940209, KESTREL_NOT_CONSTRUCTED);
}

// What the session's model manager holds for each host object's UID, in
// order; a UID it does not know raises 940205. The lookups convert: a
// malformed UID is the framework's runtime error, not a crash of the host.
std::vector<ServerObject*> objects_by_uid(kestrel::Site site, const std::vector<HostObject*>& objects) {
  auto* models = kestrel::get_model_manager(site);
  return kestrel::convert_soa_exceptions(site, [&] {
    std::vector<ServerObject*> server_objects;
    server_objects.reserve(objects.size());
    for (const HostObject* object : objects) {
      const UString uid = object->GetUid();
      ServerObject* server_object = models->findObject(UStringToString(uid));
      if (!server_object) ERROR_raise(site.file, site.line, 940205, KESTREL_NOT_FOUND, uid.utf8().c_str());
      server_objects.push_back(server_object);
    }
    return server_objects;
  });
}

// Refresh and reservation send the host objects' own server objects, and
// only those the session's model manager knows.
std::vector<ServerObject*> known_server_objects(kestrel::Site site, const std::vector<HostObject*>& objects,
                                                const char* entry) {
  auto server_objects = kestrel::server_objects_of(site, objects, entry, 940205, KESTREL_NOT_FOUND);
  objects_by_uid(site, objects);
  return server_objects;
}

// The result of the core related-objects entries, with its groups, until the
// host takes it.
struct RelatedObjectsList {
  void operator()(std::vector<RelatedObjects>* list) const {
    for (auto& record : *list)
      for (RelatedGroup* group : record.groups) delete group;
    delete list;
  }
};

using RelatedRequest = Halden::Services::Core::RelatedObjectsResponse (DatamanagementService::*)(
    const std::vector<ServerObject*>&, const std::vector<Halden::Services::Core::RelationFilter>&);

std::vector<RelatedObjects>* related_objects_core(const std::vector<HostObject*>& objects,
                                                  const std::vector<std::string>& relation_names, const char* entry,
                                                  RelatedRequest request) {
  const auto server_objects = constructed_server_objects(KESTREL_HERE, objects, entry);
  std::unique_ptr<std::vector<RelatedObjects>, RelatedObjectsList> result(new std::vector<RelatedObjects>());
  if (objects.empty()) return result.release();

  const auto filters = kestrel::relation_filters(relation_names);
  const auto reply = kestrel::soa_request<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { return (dm.*request)(server_objects, filters); });

  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  result->reserve(reply.output.size());
  for (const auto& output : reply.output) {
    result->push_back({manager->WrapSoaObject(output.inputObject), {}});
    auto& groups = result->back().groups;
    groups.reserve(output.groups.size());
    for (const auto& group : output.groups) {
      auto related = std::make_unique<RelatedGroup>(RelatedGroup{group.name, {}});
      related->objects.reserve(group.objects.size());
      for (ServerObject* object : group.objects) related->objects.push_back(manager->WrapSoaObject(object));
      groups.push_back(related.release());
    }
  }
  return result.release();
}

}  // namespace

void KESTREL_refresh_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects) {
  const auto server_objects = known_server_objects(KESTREL_HERE, objects, "KESTREL_refresh_objects");
  kestrel::soa_request<DatamanagementService>(KESTREL_HERE,
                                              [&](DatamanagementService& dm) { dm.refreshObjects(server_objects); });
  if (!kestrel::debug_enabled(kestrel::kDebugSoa)) return;
  ERROR_lprintf("KRAL SOA debug: SOA refresh called for %d objects at %s\n", static_cast<int>(objects.size()),
                ERROR_timestamp());
  for (const HostObject* object : objects)
    ERROR_lprintf("KRAL SOA debug: refresh of object of type %s, uid %s\n", object->GetObjectType().utf8().c_str(),
                  object->GetUid().utf8().c_str());
}

DeleteResult KESTREL_delete_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, "KESTREL_delete_objects");
  DeleteResult result;
  // Delete finds its objects by UID, not through the host objects' pointers.
  const auto server_objects = objects_by_uid(KESTREL_HERE, objects);
  const auto reply = kestrel::soa_request<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { return dm.deleteObjects(server_objects); });
  result.deleted_uids = reply.getDeletedObjects();
  result.errors = kestrel::partial_error_infos(reply);
  return result;
}

void KESTREL_checkout_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::string& comment,
                              const std::string& change_id) {
  const auto server_objects = known_server_objects(KESTREL_HERE, objects, "KESTREL_checkout_objects");
  kestrel::soa_request<ReservationService>(
      KESTREL_HERE, [&](ReservationService& reservation) { reservation.checkout(server_objects, comment, change_id); });
}

void KESTREL_checkin_objects(const std::vector<Orvane::PdmSoa::ModelObject*>& objects) {
  const auto server_objects = known_server_objects(KESTREL_HERE, objects, "KESTREL_checkin_objects");
  kestrel::soa_request<ReservationService>(
      KESTREL_HERE, [&](ReservationService& reservation) { reservation.checkin(server_objects); });
}

void KESTREL_cancel_checkout(const std::vector<Orvane::PdmSoa::ModelObject*>& objects) {
  const auto server_objects = known_server_objects(KESTREL_HERE, objects, "KESTREL_cancel_checkout");
  kestrel::soa_request<ReservationService>(
      KESTREL_HERE, [&](ReservationService& reservation) { reservation.cancelCheckout(server_objects); });
}

std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_related_objects_cad(Orvane::PdmSoa::ModelObject* object,
                                                                           const std::string& relation_name) {
  const auto server_objects = constructed_server_objects(KESTREL_HERE, {object}, "KESTREL_get_related_objects_cad");
  const auto related = kestrel::soa_request<CadDatamanagementService>(KESTREL_HERE, [&](CadDatamanagementService& cad) {
    return kestrel::first_cad_related_group(cad, server_objects.front(), relation_name);
  });
  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  auto result = std::make_unique<std::vector<HostObject*>>();
  result->reserve(related.size());
  for (ServerObject* server_object : related)
    result->push_back(dynamic_cast<Orvane::PdmSoa::PomObject*>(manager->WrapSoaObject(server_object)));
  return result.release();
}

std::vector<RelatedObjects>* KESTREL_get_related_objects_core(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                                                              const std::vector<std::string>& relation_names) {
  return related_objects_core(objects, relation_names, "KESTREL_get_related_objects_core",
                              &DatamanagementService::expandPrimaryObjects);
}

std::vector<RelatedObjects>* KESTREL_get_related_objects_core_2(
    const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const std::vector<std::string>& relation_names) {
  return related_objects_core(objects, relation_names, "KESTREL_get_related_objects_core_2",
                              &DatamanagementService::expandSecondaryObjects);
}

void KESTREL_set_properties(const std::vector<Orvane::PdmSoa::ModelObject*>& objects,
                            const std::map<std::string, std::vector<UString>>& values) {
  const auto server_objects = constructed_server_objects(KESTREL_HERE, objects, "KESTREL_set_properties");
  std::map<std::string, std::vector<std::string>> strings;
  for (const auto& [name, texts] : values) strings.emplace_hint(strings.end(), name, UStringVecToStringVec(texts));
  kestrel::soa_request<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { dm.setProperties(server_objects, strings); });
}

std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_items_with_revisions(
    const std::vector<Orvane::PdmSoa::Item*>& items, const std::vector<std::string>& type_names, bool flag,
    int related_data_mode) {
  const auto server_items = constructed_server_objects(
      KESTREL_HERE, std::vector<HostObject*>(items.begin(), items.end()), "KESTREL_get_items_with_revisions");
  const Halden::Services::Cad::ExpandItemsPref preference{flag, related_data_mode, {{"", type_names}}};
  const auto reply = kestrel::soa_request<CadDatamanagementService>(
      KESTREL_HERE, [&](CadDatamanagementService& cad) { return cad.expandItems(server_items, preference); });

  std::size_t count = 0;
  auto count_revision = [](const Halden::Services::Cad::ExpandItemsRevisionEntry& entry) {
    return 1 + entry.datasets.size();
  };
  for (const auto& output : reply.output) {
    count += output.objects.size();
    for (const auto& item : output.items) {
      count += 1;
      for (const auto& revision : item.itemRevisions) count += count_revision(revision);
    }
    for (const auto& revision : output.itemRevisions) count += count_revision(revision);
  }
  auto result = std::make_unique<std::vector<HostObject*>>();
  result->reserve(count);

  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  auto append = [&](ServerObject* server_object) -> HostObject* {
    if (!server_object) return nullptr;
    HostObject* object = manager->WrapSoaObjectWithUid(UString(server_object->getUid()), server_object);
    if (object) result->push_back(object);
    return object;
  };
  // The revision, registered with its item when there is one, then its datasets.
  auto append_revision = [&](const Halden::Services::Cad::ExpandItemsRevisionEntry& entry, Orvane::PdmSoa::Item* item) {
    HostObject* revision = append(entry.itemRevision);
    if (!entry.itemRevision) return;
    if (item && revision) {
      // An id that is not loaded would register the revision under "".
      const UString revision_id = revision->GetPropertyUString("item_revision_id");
      if (!revision_id.empty()) item->AddToKnownRevs(revision_id, revision->GetUid());
    }
    for (ServerObject* dataset : entry.datasets)
      if (auto* host_dataset = dynamic_cast<Orvane::PdmSoa::Dataset*>(append(dataset)))
        host_dataset->SetHighestVersion(true);
  };
  for (const auto& output : reply.output) {
    for (ServerObject* object : output.objects) append(object);
    for (const auto& entry : output.items) {
      auto* item = dynamic_cast<Orvane::PdmSoa::Item*>(append(entry.item));
      if (item) {
        const UString item_id = item->GetItemId();
        if (!item_id.empty()) Orvane::PdmSoa::Item::AddToKnownItems(item_id, item->GetUid());
        item->SetAllRevisions(true);
      }
      for (const auto& revision : entry.itemRevisions) append_revision(revision, item);
    }
    for (const auto& revision : output.itemRevisions) append_revision(revision, nullptr);
  }
  return result.release();
}
