// How the library reaches the server: where an error reports itself from,
// the session's connection and model manager, the standard conversion of
// the framework's exceptions, and a request to one service. Shared by both
// builds: nothing here sets a property policy or knows a host class.
#pragma once

#include <utility>

#include "corerun/error.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/common/Exceptions.h"

// The connection of the build's session, or null; each build's connection
// file defines it.
Halden::Soa::Client::Connection* KESTREL_ask_connection();

namespace kestrel {

// Where a raise reports itself from.
struct Site {
  const char* file;
  int line;
};
#define KESTREL_HERE (::kestrel::Site{__FILE_NAME__, __LINE__})

// Raise through the base library with this file and line; never returns.
#define KESTREL_RAISE(code, ...) ERROR_raise(__FILE_NAME__, __LINE__, code, __VA_ARGS__)

constexpr const char* kNoConnection = "SOA: No connection object - SOA unavailable or not initialized";
// constructObject of both builds, for an empty type name.
constexpr const char* kNullConstructType = "Null type not supported in constructObject";

// Debug output is on when the checking level is at least 1 and the flag is set.
bool debug_enabled(const char* flag);
constexpr const char* kDebugSoa = "TOVMGR_debug_soa";

// The session's connection; 940209 when there is none.
Halden::Soa::Client::Connection& require_connection(Site site);

// The connection's model manager, kept until reset; 940209 from the site
// given without a connection.
Halden::Soa::Client::ModelManager* get_model_manager(Site site);
void reset_model_manager_cache();
// The same, reporting from the file that owns the accessor in this build.
Halden::Soa::Client::ModelManager* get_model_manager();

// A null entry in a caller's list raises 940208 naming the entry point,
// before anything is sent.
template <class List>
void require_no_nulls(Site site, const List& list, const char* entry) {
  for (const auto* element : list)
    if (!element) ERROR_raise(site.file, site.line, 940208, "KRAL SOA: Null object in %s", entry);
}

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

// The service of the connection given.
template <class Service>
Service& service_of(Halden::Soa::Client::Connection& connection) {
  return *Service::getService(&connection);
}

// One request to a service of the connection given, as it is: no property
// policy, no conversion. The caller adds either where its build wants them.
template <class Service, class Call>
decltype(auto) soa_request_on(Halden::Soa::Client::Connection& connection, Call&& call) {
  return std::forward<Call>(call)(service_of<Service>(connection));
}

}  // namespace kestrel
