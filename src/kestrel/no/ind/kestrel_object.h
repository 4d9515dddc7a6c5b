// Server objects by UID and property reading with forced loading.
#pragma once

#include <string>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Property.h"

namespace kestrel {

// Reads a property; one outside the policy is loaded on its own and read again.
Halden::Soa::Client::Property* get_property_force_load(Halden::Soa::Client::ModelObject* object,
                                                       const std::string& property_name);

}  // namespace kestrel
