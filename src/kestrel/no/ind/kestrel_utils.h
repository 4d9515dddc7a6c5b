// Services of the library beside the call layer: reply digests,
// preferences, dates and the services list.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "corerun/ustring.h"
#include "halden/soa/client/ServiceData.h"
#include "objmodel/ModelObject.h"

struct date_s;

namespace kestrel {

using HostObjects = std::vector<Orvane::PdmSoa::ModelObject*>;

// Appends the reply's objects to the lists given (null skips a list), each
// object once, and logs its level-3 partial errors. True when there were none.
bool digest_service_data(const Halden::Soa::Client::ServiceData& reply, HostObjects* created, HostObjects* updated,
                         HostObjects* plain, HostObjects* error_objects, std::vector<UString>* deleted_uids);

// Index probes the digests made so far in this process (for tests that count
// work instead of timing it).
std::size_t digest_probes();

void set_pom_refresh_mode(bool enabled);

}  // namespace kestrel

std::vector<std::string> KESTREL_ask_preference_values(const std::string& scope, const std::string& name);
std::map<std::string, std::vector<std::string>>* KESTREL_ask_preferences(const std::string& scope,
                                                                         const std::vector<std::string>& names);
UString KESTREL_get_datetime_string(const date_s* date);
std::vector<std::string>* KESTREL_list_available_services();
// The type names of the object from its own type up to the root; empty for
// a null object or one without a type.
std::vector<std::string> KESTREL_ask_type_hierarchy(const Halden::Soa::Client::ModelObject* object);
