// The request styles of this build's operations: each sets the property
// policy its operations send under and chooses whether the framework's
// exceptions are converted. What a request sends is built in the shared
// core, so the same lambda serves `soa_request_on` there.
#pragma once

#include <utility>

#include "kestrel_call.h"
#include "objmodel/SoaManager.h"

namespace kestrel {

// One request to a service of the session's connection, converted, without
// setting a property policy.
template <class Service, class Call>
decltype(auto) soa_request_without_policy(Site site, Call&& call) {
  Service& service = service_of<Service>(require_connection(site));
  return convert_soa_exceptions(site, [&]() -> decltype(auto) { return call(service); });
}

// The common pattern: property policy 2, then one converted request.
template <class Service, class Call>
decltype(auto) soa_request(Site site, Call&& call) {
  SetActivePropertyPolicy(2);
  return soa_request_without_policy<Service>(site, std::forward<Call>(call));
}

// Property policy 2, then one request whose exceptions reach the caller as
// the framework threw them; still 940209 without a connection.
template <class Service, class Call>
decltype(auto) soa_request_unconverted(Site site, Call&& call) {
  SetActivePropertyPolicy(2);
  return soa_request_on<Service>(require_connection(site), std::forward<Call>(call));
}

}  // namespace kestrel
