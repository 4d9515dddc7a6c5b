#include "kestrel_object.h"

#include <memory>
#include <utility>

#include "corerun/memory.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
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

date_s copy_fields(const DateTime& when) {
  return date_s{static_cast<std::uint16_t>(when.year()),  static_cast<std::uint8_t>(when.month() - 1),
                static_cast<std::uint8_t>(when.day()),    static_cast<std::uint8_t>(when.hour()),
                static_cast<std::uint8_t>(when.minute()), static_cast<std::uint8_t>(when.second())};
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
  const date_s date = copy_fields(when);
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

}  // namespace kestrel

Halden::Soa::Client::ModelObject* constructObject(const std::string& type_name, const std::string& uid) {
  if (type_name.empty()) KESTREL_RAISE(940208, "Null type not supported in constructObject");
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
  for (ServerObject* object : reply.getPlainObjects()) {
    if (!object) {
      out->push_back(nullptr);
      continue;
    }
    out->push_back(dynamic_cast<Orvane::PdmSoa::PomObject*>(kestrel::host_object_of(object)));
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
  // The time value is 64 bits wide so that dates after 2038 survive.
  return convert_time ? CLOCK_time_to_date(when.toTime()) : copy_fields(when);
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
  for (const DateTime& when : values) dates->push_back(CLOCK_time_to_date(when.toTime()));
  return dates.release();
}

std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_get_object_property_object_array(Orvane::PdmSoa::ModelObject* object,
                                                                                    const std::string& property_name,
                                                                                    bool force_load) {
  Property* property = kestrel::ask_host_object_property(object, property_name, force_load);
  if (!property) return nullptr;
  const auto& values =
      read_value("KESTREL_get_object_property_object_array", property_name,
                 [&]() -> const std::vector<ServerObject*>& { return property->getModelObjectArrayValue(); });
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
