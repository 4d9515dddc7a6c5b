#include "kestrel_cadservices.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <utility>

#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_object.h"
#include "kestrel_request.h"
#include "kestrel_utils.h"
#include "objmodel/SoaManager.h"

namespace Cad = Halden::Services::Cad;
namespace Core = Halden::Services::Core;
using Halden::Soa::Client::Property;
using Orvane::PdmSoa::Dataset;
using Orvane::PdmSoa::Item;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;
using Orvane::PdmSoa::WorkspaceObject;
using HostObject = Orvane::PdmSoa::ModelObject;
using HostObjects = std::vector<HostObject*>;
using ServerObject = Halden::Soa::Client::ModelObject;

namespace {

constexpr const char* kNoServerObject = "KRAL SOA: Error getting SOA object from KRAL object";

// Every record the host passed, before anything is sent.
template <class Record>
void require_records(const std::vector<Record*>& records, const char* what, const char* entry) {
  for (const Record* record : records)
    if (!record) KESTREL_RAISE(940208, "KRAL SOA: Null %s in %s", what, entry);
}

template <class List>
void require_output(List* out, const char* what, const char* entry) {
  if (!out) KESTREL_RAISE(940208, "KRAL SOA: Null %s in %s", what, entry);
}

// Host records into the framework's. A host object becomes its server
// object, none when there is no host object or no server object behind it.
// One function per record; lists convert element by element.

ServerObject* server_of(HostObject* object) { return object ? object->GetObjectPtr() : nullptr; }

std::string text_of(const UString& text) { return UStringToString(text); }

Cad::NameValueInput to_framework(const NameValueInput& in);
Core::FileInfoInput to_framework(const FileInfoInput& in);
Core::FileInfoInputExt to_framework(const FileInfoInputExt& in);
Cad::RelationInput to_framework(const RelationInput& in);
Cad::ObjectRefInput to_framework(const ObjectRefInput& in);
Cad::PartItemInput to_framework(const PartItemInput& in);
Cad::PartRevisionInput to_framework(const PartRevisionInput& in);
Cad::PartDatasetInput to_framework(const PartDatasetInput& in);
Cad::PartCreateInput to_framework(const PartCreateInput& in);
Core::DatasetCreateInput to_framework(const DatasetCreateInput& in);
Core::ItemCreateInput to_framework(const ItemCreateInput& in);
Core::WriteTicketInput to_framework(const WriteTicketInput& in);
Core::CommitInput to_framework(const CommitInput& in);

template <class In>
auto to_framework(const std::vector<In>& list) {
  std::vector<decltype(to_framework(list.front()))> out;
  out.reserve(list.size());
  for (const In& in : list) out.push_back(to_framework(in));
  return out;
}

// The records behind the host's pointers, all checked before.
template <class In>
auto to_framework(const std::vector<In*>& list) {
  std::vector<decltype(to_framework(*list.front()))> out;
  out.reserve(list.size());
  for (const In* in : list) out.push_back(to_framework(*in));
  return out;
}

Cad::NameValueInput to_framework(const NameValueInput& in) { return {text_of(in.name), text_of(in.value)}; }

Core::FileInfoInput to_framework(const FileInfoInput& in) {
  return {text_of(in.text1), text_of(in.text2), text_of(in.text3), in.flag1, in.flag2};
}

Core::FileInfoInputExt to_framework(const FileInfoInputExt& in) {
  return {text_of(in.text1), text_of(in.text2), text_of(in.text3), in.flag1, in.flag2, text_of(in.text4)};
}

Cad::RelationInput to_framework(const RelationInput& in) {
  return {text_of(in.text1), server_of(in.object), text_of(in.text2), text_of(in.text3), to_framework(in.name_values)};
}

Cad::ObjectRefInput to_framework(const ObjectRefInput& in) {
  return {server_of(in.object), text_of(in.text1), text_of(in.text2), text_of(in.text3), to_framework(in.name_values)};
}

Cad::PartItemInput to_framework(const PartItemInput& in) {
  return {server_of(in.object),
          text_of(in.text1),
          text_of(in.text2),
          text_of(in.text3),
          text_of(in.text4),
          to_framework(in.name_values),
          to_framework(in.object_refs),
          server_of(in.optional_object)};
}

Cad::PartRevisionInput to_framework(const PartRevisionInput& in) {
  return {server_of(in.object), text_of(in.text1), to_framework(in.name_values), to_framework(in.object_refs)};
}

Cad::PartDatasetInput to_framework(const PartDatasetInput& in) {
  return {text_of(in.text1),
          server_of(in.object),
          text_of(in.text2),
          text_of(in.text3),
          text_of(in.text4),
          text_of(in.text5),
          text_of(in.text6),
          text_of(in.text7),
          in.flag,
          text_of(in.text8),
          to_framework(in.name_values1),
          to_framework(in.name_values2),
          to_framework(in.object_refs),
          to_framework(in.file_infos),
          to_framework(in.relations)};
}

// The part's dataset pointers were checked by the caller.
Cad::PartCreateInput to_framework(const PartCreateInput& in) {
  return {text_of(in.text), to_framework(in.item), to_framework(in.revision), to_framework(in.datasets)};
}

Core::DatasetCreateInput to_framework(const DatasetCreateInput& in) {
  return {text_of(in.text1), server_of(in.object1), text_of(in.text2),    text_of(in.text3),
          text_of(in.text4), text_of(in.text5),     server_of(in.object2)};
}

Core::ItemCreateInput to_framework(const ItemCreateInput& in) {
  Core::ItemCreateInput out{text_of(in.text1), text_of(in.text2), text_of(in.text3), {}};
  for (const auto& [name, value] : in.attributes) out.attributes.emplace(text_of(name), text_of(value));
  return out;
}

Core::WriteTicketInput to_framework(const WriteTicketInput& in) {
  return {server_of(in.dataset), in.flag, to_framework(in.file_infos)};
}

Core::CommitInput to_framework(const CommitInput& in) {
  return {server_of(in.dataset), in.flag, to_framework(in.file_infos)};
}

// Framework replies into host records.

UString host_text(const std::string& text) { return StringToUString(text); }

// The host object of a reply object as class T through the registry, none
// when the reply names none or the host holds it as another class.
template <class T>
T* host_by_uid(ServerObject* object) {
  if (!object) return nullptr;
  return dynamic_cast<T*>(
      SoaManager::GetObjectManager()->GetObjectByUid(host_text(object->getUid()), T::AskClassName()));
}

ObjectResult to_host(const Cad::ObjectOutput& out);
FileInfoResultExt to_host(const Core::FileInfoOutput& out);
CommitInfoResult to_host(const Core::CommitInfo& out);
DatasetResult to_host(const Cad::DatasetOutput& out);
PartResult to_host(const Cad::PartOutput& out);

template <class Out>
auto to_host(const std::vector<Out>& list) {
  std::vector<decltype(to_host(list.front()))> in;
  in.reserve(list.size());
  for (const Out& out : list) in.push_back(to_host(out));
  return in;
}

ObjectResult to_host(const Cad::ObjectOutput& out) {
  return {host_text(out.text), out.object ? kestrel::host_object_of(out.object) : nullptr};
}

FileInfoResultExt to_host(const Core::FileInfoOutput& out) {
  return {host_text(out.text1), host_text(out.text2), host_text(out.text3), out.flag1, out.flag2, host_text(out.text4)};
}

CommitInfoResult to_host(const Core::CommitInfo& out) {
  return {host_by_uid<Dataset>(out.dataset), out.flag, to_host(out.fileInfos)};
}

DatasetResult to_host(const Cad::DatasetOutput& out) {
  return {host_text(out.text), host_by_uid<Dataset>(out.dataset), to_host(out.commitInfos), to_host(out.objects1),
          to_host(out.objects2)};
}

PartResult to_host(const Cad::PartOutput& out) {
  return {host_text(out.text),   host_by_uid<Item>(out.item), host_by_uid<ItemRevision>(out.itemRevision),
          to_host(out.datasets), to_host(out.objects1),       to_host(out.objects2)};
}

// Moves new host records to the caller's list.
template <class Record>
void hand_over(std::vector<std::unique_ptr<Record>>& records, std::vector<Record*>* out) {
  out->reserve(out->size() + records.size());
  for (auto& record : records) out->push_back(record.release());
}

bool digest(const Halden::Soa::Client::ServiceData& reply, HostObjects* created_out, HostObjects* updated_out,
            HostObjects* plain_out, HostObjects* error_objects_out) {
  return kestrel::digest_service_data(reply, created_out, updated_out, plain_out, error_objects_out, nullptr);
}

}  // namespace

namespace kestrel {

std::vector<Core::DatasetCreateInput> convert_dataset_inputs(const std::vector<DatasetCreateInput*>& requests) {
  return to_framework(requests);
}

std::map<ServerObject*, Core::ItemCreateInput> convert_item_inputs(
    const std::map<HostObject*, ItemCreateInput*>& requests) {
  std::map<ServerObject*, Core::ItemCreateInput> out;
  for (const auto& [key, request] : requests) out[server_of(key)] = to_framework(*request);
  return out;
}

std::vector<Cad::PartCreateInput> convert_part_inputs(const std::vector<PartCreateInput*>& parts) {
  return to_framework(parts);
}

std::vector<Core::WriteTicketInput> convert_write_ticket_inputs(const std::vector<WriteTicketInput*>& requests) {
  return to_framework(requests);
}

std::vector<Core::CommitInput> convert_commit_inputs(const std::vector<CommitInput*>& requests) {
  return to_framework(requests);
}

std::vector<std::unique_ptr<PartResult>> convert_cad_part_results(const std::vector<Cad::PartOutput>& outputs) {
  std::vector<std::unique_ptr<PartResult>> results;
  results.reserve(outputs.size());
  for (const auto& output : outputs) results.push_back(std::make_unique<PartResult>(to_host(output)));
  return results;
}

}  // namespace kestrel

WorkspaceObject* KESTREL_ask_workspace_object(ServerObject* object) {
  return object ? dynamic_cast<WorkspaceObject*>(kestrel::host_object_of(object)) : nullptr;
}

bool KESTREL_get_dataset_file_read_tickets(const std::vector<Dataset*>& datasets,
                                           const std::vector<UString>* reference_names,
                                           DatasetFileTickets* tickets_out) {
  constexpr const char* kEntry = "KESTREL_get_dataset_file_read_tickets";
  require_output(tickets_out, "ticket map", kEntry);
  require_records(datasets, "object", kEntry);
  // No names, or an empty list: every file.
  std::unordered_set<UString> wanted;
  if (reference_names) wanted.insert(reference_names->begin(), reference_names->end());
  const UString file_type("OstraFile");
  static const std::string kNoName;

  std::vector<ServerObject*> files;
  for (Dataset* dataset : datasets) {
    // The references keep their positions, nulls included, so that each
    // lines up with its name; the list is copied because reading the names
    // may load properties anew.
    const Property* list = kestrel::ask_host_object_property(dataset, "ref_list", true);
    const std::vector<ServerObject*> references =
        list ? kestrel::object_array_value(*list, "ref_list") : std::vector<ServerObject*>();
    const std::vector<std::string>& names = KESTREL_get_object_property_string_array(dataset, "ref_names", true);
    if (references.empty()) continue;
    for (std::size_t i = 0; i < references.size(); ++i) {
      if (!references[i]) continue;
      HostObject* reference = kestrel::host_object_of(references[i]);
      if (!reference || reference->GetObjectType() != file_type) continue;
      const std::string& name = i < names.size() ? names[i] : kNoName;
      if (!wanted.empty() && !wanted.count(UString(name))) continue;
      if (ServerObject* file = reference->GetObjectPtr()) files.push_back(file);
    }
  }

  auto reply = kestrel::soa_request<Core::FilemanagementService>(
      KESTREL_HERE, [&](Core::FilemanagementService& fm) { return fm.getFileReadTickets(files); });
  const bool clean = digest(reply.serviceData, nullptr, nullptr, nullptr, nullptr);
  for (const auto& [file, ticket] : reply.tickets) {
    if (!file) continue;
    (*tickets_out)[host_text(file->getUid())] = host_text(ticket);
  }
  return clean;
}

bool KESTREL_get_dataset_write_tickets(const std::vector<WriteTicketInput*>& requests,
                                       std::vector<WriteTicketResult*>* results_out) {
  constexpr const char* kEntry = "KESTREL_get_dataset_write_tickets";
  require_output(results_out, "result list", kEntry);
  require_records(requests, "request", kEntry);
  const auto inputs = kestrel::convert_write_ticket_inputs(requests);
  auto reply = kestrel::soa_request<Core::FilemanagementService>(
      KESTREL_HERE, [&](Core::FilemanagementService& fm) { return fm.getDatasetWriteTickets(inputs); });
  std::vector<std::unique_ptr<WriteTicketResult>> results;
  results.reserve(reply.commitInfos.size());
  for (const auto& info : reply.commitInfos)
    results.push_back(std::make_unique<WriteTicketResult>(WriteTicketResult{
        dynamic_cast<Dataset*>(KESTREL_ask_workspace_object(info.dataset)), info.flag, to_host(info.fileInfos)}));
  hand_over(results, results_out);
  return true;  // partial errors reach the host through the listener alone
}

bool KESTREL_commit_dataset_files(const std::vector<CommitInput*>& requests, HostObjects* created_out,
                                  HostObjects* updated_out, HostObjects* plain_out, HostObjects* error_objects_out) {
  require_records(requests, "request", "KESTREL_commit_dataset_files");
  const auto inputs = kestrel::convert_commit_inputs(requests);
  auto reply = kestrel::soa_request<Core::FilemanagementService>(
      KESTREL_HERE, [&](Core::FilemanagementService& fm) { return fm.commitDatasetFiles(inputs); });
  return digest(reply, created_out, updated_out, plain_out, error_objects_out);
}

bool KESTREL_create_parts(const std::vector<PartCreateInput*>& parts, std::vector<PartResult*>* results_out,
                          HostObjects* created_out, HostObjects* updated_out, HostObjects* plain_out,
                          HostObjects* error_objects_out) {
  constexpr const char* kEntry = "KESTREL_create_parts";
  require_output(results_out, "result list", kEntry);
  require_records(parts, "part", kEntry);
  for (const PartCreateInput* part : parts) require_records(part->datasets, "dataset input", kEntry);
  const auto inputs = kestrel::convert_part_inputs(parts);
  auto reply = kestrel::soa_request<Cad::DatamanagementService>(
      KESTREL_HERE, [&](Cad::DatamanagementService& dm) { return dm.createParts(inputs); });
  // Converted whole before the caller's lists change.
  auto results = kestrel::convert_cad_part_results(reply.output);
  hand_over(results, results_out);
  return digest(reply.serviceData, created_out, updated_out, plain_out, error_objects_out);
}

bool KESTREL_create_datasets(const std::vector<DatasetCreateInput*>& requests, HostObjects* created_out,
                             HostObjects* updated_out, HostObjects* plain_out, HostObjects* error_objects_out) {
  require_records(requests, "request", "KESTREL_create_datasets");
  const auto inputs = kestrel::convert_dataset_inputs(requests);
  auto reply = kestrel::soa_request<Core::DatamanagementService>(
      KESTREL_HERE, [&](Core::DatamanagementService& dm) { return dm.createDatasets(inputs); });
  return digest(reply.serviceData, created_out, updated_out, plain_out, error_objects_out);
}

bool KESTREL_create_items(const std::map<HostObject*, ItemCreateInput*>& requests, HostObjects* created_out,
                          HostObjects* updated_out, HostObjects* plain_out, HostObjects* error_objects_out) {
  // A key without a server object would meet the others in one entry and
  // its item would be lost.
  for (const auto& [key, request] : requests) {
    if (!request) KESTREL_RAISE(940208, "KRAL SOA: Null request in KESTREL_create_items");
    if (key && !key->GetObjectPtr()) KESTREL_RAISE(940209, "%s", kNoServerObject);
  }
  const auto inputs = kestrel::convert_item_inputs(requests);
  auto reply = kestrel::soa_request<Core::DatamanagementService>(
      KESTREL_HERE, [&](Core::DatamanagementService& dm) { return dm.createItems(inputs); });
  return digest(reply.serviceData, created_out, updated_out, plain_out, error_objects_out);
}
