#include "halden/services/requirementsmanagement/RequirementsmanagementService.h"

#include "halden/server/RequirementsManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Requirementsmanagement {

namespace {
constexpr const char* kService = "Requirementsmanagement-2008-06-RequirementsManagement";
}

RequirementsmanagementService* RequirementsmanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<RequirementsmanagementService>(connection, kService);
}

ExportToApplicationResponse RequirementsmanagementService::exportToApplication(
    const std::vector<ExportToApplicationInput>& inputs) {
  namespace Wire = Soa::Server;
  std::vector<Wire::FullTextExportRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs) records.push_back({Soa::Client::Internal::uidOf(i.object), i.applicationFormat, i.text});
  auto reply = Soa::Client::Internal::invoke(*connection_, kService, "exportToApplication", [&](Wire::Server& server) {
    return Soa::Client::Internal::require<Wire::RequirementsManagementStub>(server, kService)
        .exportToApplication(records);
  });
  ExportToApplicationResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  out.transientFileReadTickets = std::move(reply.texts);
  return out;
}

}  // namespace Halden::Services::Requirementsmanagement
