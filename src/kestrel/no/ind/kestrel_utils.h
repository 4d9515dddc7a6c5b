// Shared services of the library: the server-call pattern, the model
// manager, reply digests, preferences, dates and the services list.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "corerun/error.h"
#include "corerun/ustring.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_connection.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

struct date_s;

namespace kestrel {

// Where a raise reports itself from.
struct Site {
  const char* file;
  int line;
};
#define KESTREL_HERE (::kestrel::Site{__FILE_NAME__, __LINE__})

// Raise through the base library with this file and line; never returns.
#define KESTREL_RAISE(code, ...) ERROR_raise(__FILE_NAME__, __LINE__, code, __VA_ARGS__)

// Debug output is on when the checking level is at least 1 and the flag is set.
bool debug_enabled(const char* flag);
constexpr const char* kDebugSoa = "TOVMGR_debug_soa";

// Runs a request with the standard conversion of the framework's exceptions
// into the base library's errors; anything else passes unchanged.
template <class Request>
decltype(auto) convert_soa_exceptions(Site site, Request&& request) {
  try {
    return request();
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    ERROR_raise(site.file, site.line, 940222, "KRAL SOA: SOA runtime exception: %s", e.what());
  } catch (const Halden::Soa::Client::NotLoadedException& e) {
    ERROR_raise(site.file, site.line, 940223, "KRAL SOA: SOA not loaded exception: %s", e.what());
  } catch (const Halden::Soa::Common::Exceptions::SoaException& e) {
    ERROR_raise(site.file, site.line, 940222, "KRAL SOA: SOA exception: %s", e.what());
  }
}

// The session's connection; 940209 when there is none.
Halden::Soa::Client::Connection* require_connection(Site site);

// One request to a service of the session's connection, without setting a
// property policy.
template <class Service, class Call>
decltype(auto) soa_request_without_policy(Site site, Call&& call) {
  Service* service = Service::getService(require_connection(site));
  return convert_soa_exceptions(site, [&]() -> decltype(auto) { return call(*service); });
}

// The common pattern: property policy 2, then one request.
template <class Service, class Call>
decltype(auto) soa_request(Site site, Call&& call) {
  SetActivePropertyPolicy(2);
  return soa_request_without_policy<Service>(site, std::forward<Call>(call));
}

Halden::Soa::Client::ModelManager* get_model_manager();
void reset_model_manager_cache();

using HostObjects = std::vector<Orvane::PdmSoa::ModelObject*>;

// Appends the reply's objects to the lists given (null skips a list), each
// object once, and logs its level-3 partial errors. True when there were none.
bool digest_service_data(const Halden::Soa::Client::ServiceData& reply, HostObjects* created, HostObjects* updated,
                         HostObjects* plain, HostObjects* error_objects, std::vector<UString>* deleted_uids);

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
std::string KESTREL_ask_connection_option(int attempts, int sleep_seconds, const std::string& user,
                                          const std::string& password, const std::string& group);
