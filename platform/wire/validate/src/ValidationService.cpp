#include "halden/services/internal/validation/ValidationService.h"

#include "halden/server/ValidationStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Internal::Validation {

namespace {
constexpr const char* kService = "Internal-Validation-2008-03-Validation";
namespace Wire = Soa::Server;
using Soa::Client::Internal::uidOf;

std::vector<Wire::ValidationParameterRecord> parameter_records(const std::vector<ParameterInfo>& parameters) {
  std::vector<Wire::ValidationParameterRecord> records;
  records.reserve(parameters.size());
  for (const auto& p : parameters) records.push_back({p.name, p.value, p.op});
  return records;
}

std::vector<Wire::ValidationReportRecord> report_records(const std::vector<ReportInfo>& reports) {
  std::vector<Wire::ValidationReportRecord> records;
  records.reserve(reports.size());
  for (const auto& r : reports) records.push_back({r.flag, uidOf(r.object), r.text, r.name, r.datasetType, r.files});
  return records;
}

}  // namespace

ValidationService* ValidationService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ValidationService>(connection, kService);
}

CreateResultsResponse ValidationService::createValidationResults(const std::vector<ResultInput>& inputs) {
  std::vector<Wire::ValidationResultRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs)
    records.push_back({uidOf(i.existingResult), i.text, uidOf(i.itemRevision), uidOf(i.target), uidOf(i.dataObject),
                       i.validationId, i.result, i.status, i.comments, i.date, uidOf(i.user), i.isAdhoc,
                       parameter_records(i.parameters), report_records(i.reports), i.flag});
  auto reply =
      Soa::Client::Internal::invoke(*connection_, kService, "createValidationResults", [&](Wire::Server& server) {
        return Soa::Client::Internal::require<Wire::ValidationStub>(server, kService).createValidationResults(records);
      });
  CreateResultsResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs) {
    ResultOutput output{Soa::Client::Internal::objectOf(models, o.result_uid), {}};
    output.reports.reserve(o.report_uids.size());
    for (const auto& uid : o.report_uids) output.reports.push_back({Soa::Client::Internal::objectOf(models, uid)});
    out.output.push_back(std::move(output));
  }
  return out;
}

}  // namespace Halden::Services::Internal::Validation
