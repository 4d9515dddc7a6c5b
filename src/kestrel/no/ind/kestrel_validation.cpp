#include "kestrel_validation.h"

#include <vector>

#include "corerun/error.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel_call.h"
#include "kestrel_request.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::Property;
using ServerObject = Halden::Soa::Client::ModelObject;

namespace {

const char* type_name_of(const ServerObject* object) { return object->getType()->getName().c_str(); }

}  // namespace

namespace kestrel {

Property* ask_validation_object_property(ServerObject* object, const std::string& name, bool force) {
  if (!object) KESTREL_RAISE(940209, "KRAL SOA: Error getting SOA object from KRAL object");
  try {
    return object->getProperty(name);
  } catch (const NotLoadedException&) {
  } catch (...) {
    KESTREL_RAISE(940209, "KRAL SOA: Error getting property %s on object of type %s", name.c_str(),
                  type_name_of(object));
  }

  if (debug_enabled(kDebugSoa)) RDEBUG_print_message("SOA debug: not loaded exception for property %s\n", name.c_str());
  if (!force) {
    if (debug_enabled(kDebugSoa))
      RDEBUG_print_message("SOA debug - caller asked not to force load property %s\n", name.c_str());
    KESTREL_RAISE(940223, "KRAL SOA: Property %s not loaded on object of type %s", name.c_str(), type_name_of(object));
  }

  const std::vector<ServerObject*> objects = {object};
  Property* property = nullptr;
  const bool loaded = soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties(objects, {});
    try {
      property = object->getProperty(name);
      return true;
    } catch (const NotLoadedException&) {
      return false;
    }
  });
  if (loaded) return property;

  ERROR_lprintf("KRAL SOA Warning: force-load of property %s on object of type %s\n", name.c_str(),
                type_name_of(object));
  // The last read stays inside the conversion: a property the server still
  // does not send raises 940223 instead of leaving the library.
  return soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties(objects, {name});
    return object->getProperty(name);
  });
}

}  // namespace kestrel
