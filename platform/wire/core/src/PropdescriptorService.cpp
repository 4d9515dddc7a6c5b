#include "halden/services/core/PropdescriptorService.h"

#include "halden/server/PropDescriptorStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Core-2007-06-PropDescriptor";
}

PropdescriptorService* PropdescriptorService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<PropdescriptorService>(connection, kService);
}

GetAttachedPropDescsResponse PropdescriptorService::getAttachedPropDescs(
    const std::vector<AttachedPropDescsInfo>& inputs) {
  std::vector<Wire::AttachedPropDescsRequest> requests;
  requests.reserve(inputs.size());
  for (const auto& i : inputs) requests.push_back({i.typeName, i.propNames});
  auto reply = invoke(*connection_, kService, "getAttachedPropDescs", [&](Wire::Server& server) {
    return require<Wire::PropDescriptorStub>(server, kService).getAttachedPropDescs(requests);
  });
  GetAttachedPropDescsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [type, descs] : reply.by_type) {
    auto& list = out.inputTypeNameToPropDescOutput[type];
    list.reserve(descs.size());
    for (const auto& d : descs) list.push_back({d.property_name, objectOf(models, d.lov_uid)});
  }
  return out;
}

GetPropDescriptorsResponse PropdescriptorService::getPropDescriptors(const std::vector<std::string>& typeNames) {
  auto reply = invoke(*connection_, kService, "getPropDescriptors", [&](Wire::Server& server) {
    return require<Wire::PropDescriptorStub>(server, kService).getPropDescriptors(typeNames);
  });
  GetPropDescriptorsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [type, descs] : reply.by_type) {
    auto& list = out.descriptors[type];
    list.reserve(descs.size());
    for (const auto& d : descs) list.emplace_back(d.name, d.type, d.is_array, d.modifiable);
  }
  return out;
}

}  // namespace Halden::Services::Core
