#include "kestrel_object.h"

#include "halden/services/core/DatamanagementService.h"
#include "kestrel_utils.h"

using Halden::Services::Core::DatamanagementService;

namespace kestrel {

Halden::Soa::Client::Property* get_property_force_load(Halden::Soa::Client::ModelObject* object,
                                                       const std::string& property_name) {
  try {
    return object->getProperty(property_name);
  } catch (const Halden::Soa::Client::NotLoadedException&) {
  }
  ERROR_lprintf("KRAL SOA Warning: force-load of non-policy property %s on object of type %s\n", property_name.c_str(),
                object->getType()->getName().c_str());
  return soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties({object}, {property_name});
    return object->getProperty(property_name);
  });
}

}  // namespace kestrel
