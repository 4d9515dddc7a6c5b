#include "halden/server/world/ValidationWorld.h"

#include <map>
#include <string>

namespace Halden::Soa::Server {

namespace {

bool is_result(const WorldStore::StoredObject* object) {
  return object && !object->types.empty() && object->types.front() == "ValReqResult";
}

std::vector<std::string> first_reports(const WorldStore::StoredObject& result) {
  auto it = result.properties.find("validation_report");
  if (it == result.properties.end()) return {};
  std::vector<std::string> reports;
  for (const auto& uid : it->second.references)
    if (!uid.empty()) reports.push_back(uid);
  return reports;
}

}  // namespace

const std::vector<std::string>& ValidationWorld::result_types() {
  static const std::vector<std::string> types = {"ValReqResult", "WorkspaceObject", "POM_object"};
  return types;
}

const std::vector<std::string>& ValidationWorld::parameter_types() {
  static const std::vector<std::string> types = {"ValidationParams", "POM_object"};
  return types;
}

const std::vector<std::string>& ValidationWorld::dataset_types(const std::string& type) {
  static std::map<std::string, std::vector<std::string>> chains;
  auto& chain = chains[type];
  if (chain.empty()) {
    if (type != "Dataset") chain.push_back(type);
    chain.insert(chain.end(), {"Dataset", "WorkspaceObject", "POM_object"});
  }
  return chain;
}

CreateValidationResultsReply ValidationWorld::createValidationResults(
    const std::vector<ValidationResultRecord>& records) {
  CreateValidationResultsReply reply;
  UidList created, updated;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    if (record.item_revision_uid.empty()) {
      errors.push_back(WorldStore::error_of(static_cast<int>(i), std::to_string(i), 215001,
                                            "A validation result needs the validated item revision."));
      continue;
    }
    std::string uid = record.existing_uid;
    if (is_result(store_.find(uid))) {
      updated.add(uid);
    } else {
      uid = store_.fresh_uid("valresult-");
      // The record names neither the check nor its requirement: a client
      // writes them afterwards. A result without a report has an empty list.
      store_.add_object(uid, result_types(),
                        {props::str("object_name", record.validation_id), props::ref("validation_requirement", ""),
                         props::refs("validation_report", {})});
      created.add(uid);
    }

    std::vector<std::string> names, ops, values;
    for (const auto& p : record.parameters) {
      names.push_back(p.name);
      ops.push_back(p.op);
      values.push_back(p.value);
    }
    const std::string parameters = store_.fresh_uid("valparams-");
    store_.add_object(parameters, parameter_types(),
                      {props::strs("names", names), props::strs("ops", ops), props::strs("values", values)});
    created.add(parameters);

    std::vector<std::string> reports =
        record.reports.empty() ? std::vector<std::string>() : first_reports(*store_.find(uid));
    if (reports.empty()) {
      for (const auto& report : record.reports) {
        const std::string dataset = store_.fresh_uid("valreport-");
        store_.add_object(dataset, dataset_types(report.dataset_type.empty() ? "Dataset" : report.dataset_type),
                          {props::str("object_name", report.name),
                           props::str("object_type", report.dataset_type.empty() ? "Dataset" : report.dataset_type),
                           props::refs("ref_list", {}), props::strs("ref_names", {})});
        created.add(dataset);
        reports.push_back(dataset);
      }
    } else {
      updated.add(reports.front());
    }

    for (auto property :
         {props::str("validation_id", record.validation_id), props::logical("validation_result", record.result),
          props::integer("validation_status", record.status), props::str("validation_comments", record.comments),
          props::date("validation_date", record.date), props::logical("validation_is_adhoc", record.is_adhoc),
          props::ref("validation_item_rev_tag", record.item_revision_uid),
          props::ref("validation_target", record.target_uid), props::ref("validation_data_obj", record.data_uid),
          props::ref("validation_user", record.user_uid), props::ref("validation_parameters", parameters)})
      store_.set_property(uid, std::move(property));
    if (!reports.empty()) store_.set_property(uid, props::refs("validation_report", reports));
    reply.outputs.push_back({uid, reports});
  }
  UidList carried;
  carried.add(created.uids());
  carried.add(updated.uids());
  reply.data = store_.reply_with(carried.uids());
  reply.data.created = created.uids();
  reply.data.updated = updated.uids();
  reply.data.errors = std::move(errors);
  return reply;
}

// ---- validation data, results of objects and queries

const std::vector<std::string>& ValidationWorld::data_types() {
  static const std::vector<std::string> types = {"ValidationData", "WorkspaceObject", "POM_object"};
  return types;
}

void ValidationWorld::add_results_of(const std::string& object_uid, UidList& results) const {
  static const char* const kNaming[] = {"validation_target", "validation_item_rev_tag", "validation_data_obj"};
  if (is_result(store_.find(object_uid))) {
    results.add(object_uid);
    return;
  }
  for (const auto& [uid, object] : store_.objects()) {
    if (!is_result(&object)) continue;
    for (const char* name : kNaming) {
      auto it = object.properties.find(name);
      if (it == object.properties.end()) continue;
      for (const auto& reference : it->second.references)
        if (reference == object_uid) results.add(uid);
    }
  }
}

ValidationDataReply ValidationWorld::sendValidationData(const std::vector<ValidationDataRecord>& records) {
  ValidationDataReply reply;
  UidList created, updated;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    if (!record.object_uid.empty()) {
      if (!store_.find(record.object_uid)) {
        errors.push_back(WorldStore::error_of(static_cast<int>(i), std::to_string(i), 515024,
                                              "The object with UID " + record.object_uid + " could not be found."));
        reply.object_uids.emplace_back();
        continue;
      }
      updated.add(record.object_uid);
      reply.object_uids.push_back(record.object_uid);
      continue;
    }
    const std::string uid = store_.fresh_uid("valdata-");
    store_.add_object(uid, data_types(), {props::str("object_name", record.text1)});
    created.add(uid);
    reply.object_uids.push_back(uid);
  }
  std::vector<std::string> carried = created.uids();
  carried.insert(carried.end(), updated.uids().begin(), updated.uids().end());
  reply.data = store_.reply_with(carried);
  reply.data.created = created.uids();
  reply.data.updated = updated.uids();
  reply.data.errors = std::move(errors);
  return reply;
}

ValidationResultsReply ValidationWorld::getValidationResults(const std::vector<std::string>& object_uids) {
  ValidationResultsReply reply;
  UidList results;
  for (const auto& uid : object_uids) {
    if (!store_.find(uid)) {
      reply.data.errors.push_back(WorldStore::not_found(uid));
      continue;
    }
    add_results_of(uid, results);
  }
  auto errors = std::move(reply.data.errors);
  reply.data = store_.reply_with(results.uids());
  reply.data.plain = results.uids();
  reply.data.errors = std::move(errors);
  reply.result_uids = results.uids();
  return reply;
}

ValidationQueryReply ValidationWorld::queryValidationResults(const std::vector<ValidationQueryRecord>& records) {
  ValidationQueryReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    if (record.object_uid.empty() || !store_.find(record.object_uid)) {
      if (!record.object_uid.empty())
        errors.push_back(WorldStore::error_of(static_cast<int>(i), std::to_string(i), 515024,
                                              "The object with UID " + record.object_uid + " could not be found."));
      reply.outputs.push_back({"", {}});
      continue;
    }
    UidList results;
    add_results_of(record.object_uid, results);
    carried.add(record.object_uid);
    carried.add(results.uids());
    reply.outputs.push_back({record.object_uid, results.uids()});
  }
  reply.data = store_.reply_with(carried.uids());
  reply.data.plain = carried.uids();
  reply.data.errors = std::move(errors);
  return reply;
}

}  // namespace Halden::Soa::Server
