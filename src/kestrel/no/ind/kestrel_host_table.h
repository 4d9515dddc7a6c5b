// What the library asks of the table the host keeps (the host's copy of what
// KESTREL_init_module returned). Each build defines it for its own table.
#pragma once

#include <string>

#include "halden/soa/client/ModelObject.h"

namespace kestrel {

using ConstructObject = Halden::Soa::Client::ModelObject* (*)(const std::string& type_name, const std::string& uid);

// The host's slot 5 (constructObject); null when the host keeps no table.
ConstructObject host_construct_object();

}  // namespace kestrel
