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

DataResponse ValidationService::sendValidationData(const std::vector<DataInput>& inputs) {
  std::vector<Wire::ValidationDataRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs) {
    const auto& r = i.report;
    records.push_back({uidOf(i.object),
                       i.text1,
                       i.text2,
                       i.text3,
                       i.text4,
                       i.text5,
                       i.flag1,
                       uidOf(i.object2),
                       i.text6,
                       i.texts,
                       parameter_records(i.parameters),
                       {r.flag, uidOf(r.object), r.text, r.name, r.datasetType, r.files},
                       uidOf(i.relatedObject),
                       i.flag2});
  }
  auto reply = Soa::Client::Internal::invoke(*connection_, kService, "sendValidationData", [&](Wire::Server& server) {
    return Soa::Client::Internal::require<Wire::ValidationStub>(server, kService).sendValidationData(records);
  });
  DataResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.object_uids.size());
  for (const auto& uid : reply.object_uids) out.output.push_back({Soa::Client::Internal::objectOf(models, uid)});
  return out;
}

ResultsOfObjectsResponse ValidationService::getValidationResults(
    const std::vector<Soa::Client::ModelObject*>& objects) {
  const auto uids = Soa::Client::Internal::uidsOf(objects);
  auto reply = Soa::Client::Internal::invoke(*connection_, kService, "getValidationResults", [&](Wire::Server& server) {
    return Soa::Client::Internal::require<Wire::ValidationStub>(server, kService).getValidationResults(uids);
  });
  ResultsOfObjectsResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  out.results = Soa::Client::Internal::objectsOf(*connection_->getModelManager(), reply.result_uids);
  return out;
}

QueryResultsResponse ValidationService::queryValidationResults(const std::vector<ResultQueryInput>& inputs) {
  std::vector<Wire::ValidationQueryRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs)
    records.push_back({uidOf(i.object), i.text1, i.text2, i.text3, i.text4, i.text5, i.flag1, uidOf(i.object2), i.text6,
                       i.texts, i.flag2});
  auto reply =
      Soa::Client::Internal::invoke(*connection_, kService, "queryValidationResults", [&](Wire::Server& server) {
        return Soa::Client::Internal::require<Wire::ValidationStub>(server, kService).queryValidationResults(records);
      });
  QueryResultsResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({Soa::Client::Internal::objectOf(models, o.object_uid),
                          Soa::Client::Internal::objectsOf(models, o.result_uids)});
  return out;
}

}  // namespace Halden::Services::Internal::Validation
