#include "halden/services/administration/PreferencemanagementService.h"

#include "halden/server/PreferenceManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Administration {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Administration-2012-09-PreferenceManagement";

Wire::PreferenceEntry wire_of(const PreferenceInfo& info) {
  const PreferenceDefinition& d = info.definition;
  Wire::PreferenceEntry entry{{d.preferenceName, d.preferenceCategory, d.preferenceDescription, d.preferenceScope,
                               d.preferenceType, d.isArray, d.isDisabled},
                              {}};
  entry.values.reserve(info.values.size());
  for (const auto& v : info.values) entry.values.push_back({v.valueOrigination, v.values});
  return entry;
}
}  // namespace

PreferencemanagementService* PreferencemanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<PreferencemanagementService>(connection, kService);
}

Soa::Client::ServiceData PreferencemanagementService::setPreferences(const std::vector<SetPreferencesIn>& input) {
  std::vector<Wire::PreferenceScope> scopes;
  scopes.reserve(input.size());
  for (const auto& in : input) {
    Wire::PreferenceScope scope{in.preferenceScope, {}};
    scope.preferences.reserve(in.preferenceInfos.size());
    for (const auto& info : in.preferenceInfos) scope.preferences.push_back(wire_of(info));
    scopes.push_back(std::move(scope));
  }
  auto reply = invoke(*connection_, kService, "setPreferences", [&](Wire::Server& server) {
    return require<Soa::Server::PreferenceManagementStub>(server, kService).setPreferences(scopes);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Administration
