#include "kestrel_validation.h"

#include <unordered_set>
#include <vector>

#include "corerun/error.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/FilemanagementService.h"
#include "halden/services/internal/validation/ValidationService.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel_call.h"
#include "kestrel_partial_errors.h"
#include "kestrel_request.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::Property;
using ServerObject = Halden::Soa::Client::ModelObject;

namespace {

const char* type_name_of(const ServerObject* object) { return object->getType()->getName().c_str(); }

}  // namespace

namespace kestrel {

Property* ask_validation_object_property(ServerObject* object, const std::string& name, bool force) {
  if (!object) KESTREL_RAISE(940209, "KRAL SOA: Error getting SOA object from KRAL object");
  try {
    return object->getProperty(name);
  } catch (const NotLoadedException&) {
  } catch (...) {
    KESTREL_RAISE(940209, "KRAL SOA: Error getting property %s on object of type %s", name.c_str(),
                  type_name_of(object));
  }

  if (debug_enabled(kDebugSoa)) RDEBUG_print_message("SOA debug: not loaded exception for property %s\n", name.c_str());
  if (!force) {
    if (debug_enabled(kDebugSoa))
      RDEBUG_print_message("SOA debug - caller asked not to force load property %s\n", name.c_str());
    KESTREL_RAISE(940223, "KRAL SOA: Property %s not loaded on object of type %s", name.c_str(), type_name_of(object));
  }

  const std::vector<ServerObject*> objects = {object};
  Property* property = nullptr;
  const bool loaded = soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties(objects, {});
    try {
      property = object->getProperty(name);
      return true;
    } catch (const NotLoadedException&) {
      return false;
    }
  });
  if (loaded) return property;

  ERROR_lprintf("KRAL SOA Warning: force-load of property %s on object of type %s\n", name.c_str(),
                type_name_of(object));
  // The last read stays inside the conversion: a property the server still
  // does not send raises 940223 instead of leaving the library.
  return soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    dm.getProperties(objects, {name});
    return object->getProperty(name);
  });
}

}  // namespace kestrel

// ---- validation data, results of objects and their reports, queries

namespace Validation = Halden::Services::Internal::Validation;
using Halden::Services::Core::FilemanagementService;
using Halden::Soa::Client::ModelManager;

namespace {
// The helpers of slots 80, 82 and 83.
namespace lookups {

std::string uid_or_empty(const ServerObject* object) { return object ? object->getUid() : std::string(); }

// Property readers for what the server may send as null: empty then.
std::string text_value(const Property* property) { return property ? property->getStringValue() : std::string(); }
int int_value(const Property* property) { return property ? property->getIntValue() : 0; }
ServerObject* object_value(const Property* property) { return property ? property->getModelObjectValue() : nullptr; }
// Copies: a later read may load the object's properties anew.
std::vector<std::string> texts_value(const Property* property) {
  return property ? property->getStringArrayValue() : std::vector<std::string>();
}
std::vector<ServerObject*> objects_value(const Property* property) {
  return property ? property->getModelObjectArrayValue() : std::vector<ServerObject*>();
}

// Property policy 2, then the validation service, as each entry begins.
Validation::ValidationService& validation_service() {
  SetActivePropertyPolicy(2);
  return kestrel::service_of<Validation::ValidationService>(kestrel::require_connection(KESTREL_HERE));
}

ServerObject* load_if_named(ModelManager& models, const std::string& uid) {
  return uid.empty() ? nullptr : models.loadObjects(uid);
}

Validation::DataInput data_input(ModelManager& models, const ValidationDataInput& in) {
  Validation::DataInput record;
  record.object = load_if_named(models, in.object_uid);
  // The first text goes twice: the service takes it as two fields.
  record.text1 = in.first_text;
  record.text2 = in.first_text;
  record.text3 = in.second_text;
  record.text4 = in.third_text;
  record.text5 = in.fourth_text;
  record.flag1 = true;
  record.text6 = in.fifth_text;
  record.parameters.reserve(in.parameters.size());
  for (const auto& p : in.parameters) record.parameters.push_back({p.name, p.value, p.op});
  record.report.flag = true;
  record.relatedObject = load_if_named(models, in.related_uid);
  record.flag2 = in.flag;
  return record;
}

Validation::ResultQueryInput query_input(ModelManager& models, const ValidationResultQuery& in) {
  Validation::ResultQueryInput record;
  record.object = load_if_named(models, in.object_uid);
  record.text2 = in.first_text;
  record.text3 = in.second_text;
  record.text4 = in.third_text;
  record.text5 = in.fourth_text;
  record.text6 = in.fifth_text;
  record.texts = in.texts;
  record.flag2 = in.flag;
  return record;
}

// The report dataset of a result, its files and a read ticket for each. A
// file beyond the reference names, or without a ticket, gets empty texts.
ValidationReportData report_data(ServerObject* result, FilemanagementService& files_service) {
  const std::vector<ServerObject*> reports =
      objects_value(kestrel::ask_validation_object_property(result, "validation_report", true));
  if (reports.empty()) return {};
  ServerObject* dataset = reports.front();
  const std::vector<std::string> names =
      texts_value(kestrel::ask_validation_object_property(dataset, "ref_names", true));
  const std::vector<ServerObject*> files =
      objects_value(kestrel::ask_validation_object_property(dataset, "ref_list", true));
  const auto tickets = files_service.getFileReadTickets(files).tickets;
  ValidationReportData data{dataset->getUid(), {}};
  data.files.reserve(files.size());
  for (std::size_t j = 0; j < files.size(); ++j) {
    ValidationReportFileInfo info;
    info.original_file_name = text_value(kestrel::ask_validation_object_property(files[j], "original_file_name", true));
    info.text_flag = int_value(kestrel::ask_validation_object_property(files[j], "text_flag", true));
    if (j < names.size()) info.reference_name = names[j];
    const auto ticket = tickets.find(files[j]);
    if (ticket != tickets.end()) info.ticket = ticket->second;
    data.files.push_back(std::move(info));
  }
  return data;
}

}  // namespace lookups
}  // namespace

ValidationObjectList KESTREL_send_validation_inputs(const std::vector<ValidationDataInput>& inputs) {
  ValidationObjectList out;
  Validation::ValidationService& service = lookups::validation_service();
  ModelManager& models = *kestrel::get_model_manager(KESTREL_HERE);
  std::vector<Validation::DataInput> records;
  records.reserve(inputs.size());
  for (const auto& input : inputs) records.push_back(lookups::data_input(models, input));
  kestrel::convert_soa_exceptions(KESTREL_HERE, [&] {
    const auto reply = service.sendValidationData(records);
    out.uids.reserve(reply.output.size());
    for (const auto& output : reply.output) out.uids.push_back(lookups::uid_or_empty(output.object));
    out.errors = kestrel::partial_error_infos(reply.serviceData);
  });
  return out;
}

ValidationDataList KESTREL_get_validation_data(const ValidationDataRequest& request) {
  ValidationDataList out;
  Validation::ValidationService& service = lookups::validation_service();
  ModelManager& models = *kestrel::get_model_manager(KESTREL_HERE);
  std::vector<ServerObject*> objects;
  objects.reserve(request.object_uids.size());
  for (const auto& uid : request.object_uids) objects.push_back(models.loadObjects(uid));
  const auto reply = kestrel::convert_soa_exceptions(KESTREL_HERE, [&] {
    auto answer = service.getValidationResults(objects);
    out.errors = kestrel::partial_error_infos(answer.serviceData);
    return answer;
  });
  FilemanagementService& files_service =
      kestrel::service_of<FilemanagementService>(kestrel::require_connection(KESTREL_HERE));

  const std::unordered_set<std::string> wanted(request.data_object_uids.begin(), request.data_object_uids.end());
  out.result_uids.reserve(reply.results.size());
  if (!request.skip_reports) out.reports.reserve(reply.results.size());
  for (ServerObject* result : reply.results) {
    if (!wanted.empty()) {
      // A result the reply names as null has no data object either.
      const ServerObject* data =
          result ? lookups::object_value(kestrel::ask_validation_object_property(result, "validation_data_obj", true))
                 : nullptr;
      if (!data || !wanted.count(data->getUid())) continue;
    }
    out.result_uids.push_back(lookups::uid_or_empty(result));
    if (request.skip_reports) continue;
    out.reports.push_back(result ? lookups::report_data(result, files_service) : ValidationReportData());
  }
  return out;
}

ValidationQueryResultList KESTREL_query_validation_results(const std::vector<ValidationResultQuery>& queries) {
  ValidationQueryResultList out;
  Validation::ValidationService& service = lookups::validation_service();
  ModelManager& models = *kestrel::get_model_manager(KESTREL_HERE);
  std::vector<Validation::ResultQueryInput> records;
  records.reserve(queries.size());
  for (const auto& query : queries) records.push_back(lookups::query_input(models, query));
  kestrel::convert_soa_exceptions(KESTREL_HERE, [&] {
    const auto reply = service.queryValidationResults(records);
    out.results.reserve(reply.output.size());
    for (const auto& output : reply.output) {
      ValidationQueryResult result{lookups::uid_or_empty(output.object), {}};
      result.result_uids.reserve(output.objects.size());
      for (const ServerObject* object : output.objects) result.result_uids.push_back(lookups::uid_or_empty(object));
      out.results.push_back(std::move(result));
    }
    out.errors = kestrel::partial_error_infos(reply.serviceData);
  });
  return out;
}
