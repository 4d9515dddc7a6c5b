#include "kestrel_validation.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/file.h"
#include "corerun/memory.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/FilemanagementService.h"
#include "halden/services/core/PropdescriptorService.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/validation/ValidationService.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/FccProxy.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_dates.h"
#include "kestrel_partial_errors.h"
#include "kestrel_relation.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "objmodel/SoaManager.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Services::Core::FilemanagementService;
using Halden::Services::Core::PropdescriptorService;
using Halden::Services::Core::SessionService;
using Halden::Services::Internal::Validation::ValidationService;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::Property;
using Halden::Soa::Client::RuntimeException;
using ServerObject = Halden::Soa::Client::ModelObject;
namespace Core = Halden::Services::Core;
namespace Validation = Halden::Services::Internal::Validation;

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

namespace {

using Inputs = std::vector<ValidationResultInput>;
// Report datasets by client id, as core creation answered them.
using DatasetsById = std::map<std::string, ServerObject*>;
using kestrel::InputsByDataset;

constexpr const char* kCheckReq = "CHECK_REQ";
// Report datasets take names of at most this many bytes.
constexpr std::size_t kReportNameLimit = 32;

// Client ids of creation requests: the input's index in decimal.
std::string client_id(std::size_t index) {
  const kestrel::SmString id(SM_sprintf("%d", static_cast<int>(index)));
  return kestrel::or_empty(id.get());
}

std::string uid_of(const ServerObject* object) { return object ? object->getUid() : std::string(); }

// The session request of these entries: policy 2, no catch clauses.
Core::GetSessionInfoResponse session_info() {
  return kestrel::soa_request_unconverted<SessionService>(
      KESTREL_HERE, [](SessionService& session) { return session.getSessionInfo(); });
}

// The date as the debug lines show it; empty for a date that is not valid.
std::string date_text(const date_s& date) {
  char* text = nullptr;
  CLOCK_get_date_string(&date, true, &text);
  const kestrel::SmString owned(text);
  return kestrel::or_empty(owned.get());
}

// A property's value as the reader takes it; a value of another kind (or a
// single value without one) is the server's data the library cannot use.
template <class Read>
decltype(auto) read_list(Property* property, const ServerObject* object, const char* name, Read&& read) {
  try {
    return read(*property);
  } catch (const RuntimeException&) {
    KESTREL_RAISE(940209, "KRAL SOA: Error getting property %s on object of type %s", name, type_name_of(object));
  }
}

// A property of the object, loaded when needed, as the reader takes it;
// what the server sends as null reads as empty. Copies: a later read may
// load the object's properties anew.
template <class Value, class Read>
Value value_of(ServerObject* object, const char* name, Read&& read) {
  Property* property = kestrel::ask_validation_object_property(object, name, true);
  if (!property) return Value();
  return read_list(property, object, name, read);
}

std::vector<std::string> strings_of(ServerObject* object, const char* name) {
  return value_of<std::vector<std::string>>(object, name, [](Property& p) { return p.getStringArrayValue(); });
}
std::vector<ServerObject*> objects_of(ServerObject* object, const char* name) {
  return value_of<std::vector<ServerObject*>>(object, name, [](Property& p) { return p.getModelObjectArrayValue(); });
}
std::string text_of(ServerObject* object, const char* name) {
  return value_of<std::string>(object, name, [](Property& p) { return p.getStringValue(); });
}
int int_of(ServerObject* object, const char* name) {
  return value_of<int>(object, name, [](Property& p) { return p.getIntValue(); });
}
ServerObject* object_of(ServerObject* object, const char* name) {
  return value_of<ServerObject*>(object, name, [](Property& p) { return p.getModelObjectValue(); });
}

// ---------------------------------------------------------------------------
// Report upload

// The name part of a local path.
std::string file_name_of(const std::string& path) {
  const int type = CFI_get_file_type(path.c_str());
  char* directory = nullptr;
  char* name = nullptr;
  CFI_split_filespec(path.c_str(), type, &directory, &name);
  const kestrel::SmString owned_directory(directory), owned_name(name);
  return kestrel::or_empty(owned_name.get());
}

std::vector<Core::FileInfoInput> file_infos(const std::vector<ValidationReportFile>& files) {
  std::vector<Core::FileInfoInput> infos;
  infos.reserve(files.size());
  for (const auto& file : files)
    infos.push_back({"", file_name_of(file.path), file.reference_name, file.text_flag == 1, true});
  return infos;
}

// The files of the report that an input carries, or none.
const std::vector<ValidationReportFile>* report_files_of(const ValidationResultInput& input) {
  return input.reports.empty() ? nullptr : &input.reports.front().files;
}

void assert_one_report(const ValidationResultInput& input, const char* text) {
  if (MACH__checking_level >= 1 && input.reports.size() > 1)
    ERROR_assertion_failed(__FILE_NAME__, __LINE__, "%s", text);
}

// ASCII case folded as STR_compare_i compares: up to the first NUL.
std::string folded(const std::string& text) {
  std::string out(text.c_str());
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Detaches the dataset's files before new ones arrive: one request naming
// each of its references once, case ignored.
void remove_named_references(ServerObject* dataset, const std::vector<std::string>& names) {
  if (names.empty()) return;
  Core::RemoveNamedReferenceInfo entry{"", dataset, {}};
  std::unordered_set<std::string> seen;
  seen.reserve(names.size());
  for (const auto& name : names)
    if (seen.insert(folded(name)).second) entry.references.push_back({"", name, nullptr, false});
  const std::vector<Core::RemoveNamedReferenceInfo> entries = {std::move(entry)};
  kestrel::soa_request<DatamanagementService>(KESTREL_HERE,
                                              [&](DatamanagementService& dm) { dm.removeNamedReferences(entries); });
}

std::vector<Core::CommitInput> commit_inputs(const std::vector<Core::CommitInfo>& infos) {
  std::vector<Core::CommitInput> inputs;
  inputs.reserve(infos.size());
  for (const auto& info : infos) {
    Core::CommitInput input{info.dataset, info.flag, {}};
    input.fileInfos.reserve(info.fileInfos.size());
    for (const auto& f : info.fileInfos)
      input.fileInfos.push_back({f.text1, f.text2, f.text3, f.flag1, f.flag2, f.text4});
    inputs.push_back(std::move(input));
  }
  return inputs;
}

// Hands the files to the file client, then commits what the tickets name,
// whatever the upload statuses: the server reports what it could not commit.
void upload_and_commit(const Halden::Soa::Client::FccProxy& file_client,
                       const std::map<std::string, std::string>& tickets,
                       const Core::GetDatasetWriteTicketsResponse& reply) {
  if (!tickets.empty()) {
    std::map<std::string, int> statuses;
    file_client.uploadFiles(tickets, statuses);
  }
  if (reply.commitInfos.empty()) return;
  const std::vector<Core::CommitInput> commits = commit_inputs(reply.commitInfos);
  kestrel::soa_request<FilemanagementService>(KESTREL_HERE,
                                              [&](FilemanagementService& files) { files.commitDatasetFiles(commits); });
}

Core::GetDatasetWriteTicketsResponse write_tickets(const std::vector<Core::WriteTicketInput>& requests) {
  return kestrel::soa_request_unconverted<FilemanagementService>(
      KESTREL_HERE, [&](FilemanagementService& files) { return files.getDatasetWriteTickets(requests); });
}

// Reply entry -> input index, -1 for an entry without one. One entry per
// input pairs them by index; otherwise entries take the inputs in order,
// passing over those the server reported a partial error for.
std::vector<int> owners_of_entries(std::size_t inputs, std::size_t entries,
                                   const Halden::Soa::Client::ServiceData& data) {
  std::vector<int> owners(entries, -1);
  if (entries == inputs) {
    for (std::size_t e = 0; e < entries; ++e) owners[e] = static_cast<int>(e);
    return owners;
  }
  std::vector<bool> failed(inputs, false);
  for (const auto& stack : data.getPartialErrors()) {
    const int index = stack.getClientIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < inputs) failed[static_cast<std::size_t>(index)] = true;
  }
  std::size_t next = 0;
  for (std::size_t e = 0; e < entries; ++e) {
    while (next < inputs && failed[next]) ++next;
    if (next == inputs) break;
    owners[e] = static_cast<int>(next++);
  }
  return owners;
}

// Ticket -> local path for the files of one dataset's tickets, in the order
// they were asked; a ticket beyond the files has no file.
void add_tickets(const Core::CommitInfo& commit, const std::vector<ValidationReportFile>& files,
                 std::map<std::string, std::string>& tickets) {
  for (std::size_t j = 0; j < commit.fileInfos.size() && j < files.size(); ++j)
    if (!commit.fileInfos[j].text4.empty()) tickets[commit.fileInfos[j].text4] = files[j].path;
}

// The files of one result go into its own report dataset: a ticket request
// of its own, the tickets of that dataset paired with the files of its own
// input; tickets the reply gives for another dataset are skipped.
void upload_result_files(const Halden::Soa::Client::FccProxy& file_client, ServerObject* dataset,
                         const std::vector<ValidationReportFile>& files) {
  const std::vector<Core::WriteTicketInput> requests = {{dataset, true, file_infos(files)}};
  const auto reply = write_tickets(requests);
  const std::string own = dataset->getUid();
  std::map<std::string, std::string> tickets;
  for (const auto& commit : reply.commitInfos)
    if (commit.dataset && commit.dataset->getUid() == own) add_tickets(commit, files, tickets);
  upload_and_commit(file_client, tickets, reply);
}

}  // namespace

namespace kestrel {

std::vector<ValidationResultInfo> upload_validation_reports(const Inputs& inputs,
                                                            const std::vector<Validation::ResultOutput>& entries,
                                                            const Halden::Soa::Client::ServiceData& data) {
  const Halden::Soa::Client::FccProxy file_client;
  const std::vector<int> owners = owners_of_entries(inputs.size(), entries.size(), data);
  std::vector<ValidationResultInfo> results;
  results.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ValidationResultInfo info;
    ServerObject* result = entries[i].result;
    info.result_uid = uid_of(result);
    if (result && !entries[i].reports.empty()) {
      const ValidationResultInput* input = owners[i] < 0 ? nullptr : &inputs[static_cast<std::size_t>(owners[i])];
      if (input) assert_one_report(*input, "inputs[inx].reports.size() <= 1");
      const std::vector<ServerObject*> reports = objects_of(result, "validation_report");
      if (!reports.empty()) {
        ServerObject* dataset = reports.front();
        if (!dataset) KESTREL_RAISE(940209, "KRAL SOA: Error getting SOA object from KRAL object");
        info.report_dataset_uid = dataset->getUid();
        // A result without an input, or whose input has no report, has no
        // files to replace the old ones: it names its dataset and reads
        // nothing more of it.
        if (const auto* files = input ? report_files_of(*input) : nullptr) {
          remove_named_references(dataset, strings_of(dataset, "ref_names"));
          upload_result_files(file_client, dataset, *files);
        }
      }
    }
    results.push_back(std::move(info));
  }
  return results;
}

InputsByDataset inputs_by_dataset(const Inputs& inputs, const DatasetsById& datasets) {
  InputsByDataset index;
  index.reserve(datasets.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    auto it = datasets.find(client_id(i));
    if (it != datasets.end() && it->second) index.emplace(it->second->getUid(), static_cast<int>(i));
  }
  return index;
}

int find_input_index_of_object(const InputsByDataset& index, const ServerObject* dataset) {
  if (!dataset) return -1;
  auto it = index.find(dataset->getUid());
  return it == index.end() ? -1 : it->second;
}

void upload_report_files(const Inputs& inputs, const DatasetsById& datasets) {
  const Halden::Soa::Client::FccProxy file_client;
  std::vector<Core::WriteTicketInput> requests;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    assert_one_report(inputs[i], "inputs[inx].reports.size() <= 1");
    const auto* files = report_files_of(inputs[i]);
    if (!files) continue;
    auto it = datasets.find(client_id(i));
    if (it == datasets.end() || !it->second) continue;
    requests.push_back({it->second, true, file_infos(*files)});
  }
  if (requests.empty()) return;

  const auto reply = write_tickets(requests);
  const InputsByDataset index = inputs_by_dataset(inputs, datasets);
  std::map<std::string, std::string> tickets;
  for (const auto& commit : reply.commitInfos) {
    const int n = find_input_index_of_object(index, commit.dataset);
    const auto* files = n < 0 ? nullptr : report_files_of(inputs[static_cast<std::size_t>(n)]);
    if (files) add_tickets(commit, *files, tickets);
  }
  upload_and_commit(file_client, tickets, reply);
}

}  // namespace kestrel

namespace {

// ---------------------------------------------------------------------------
// Creation through the internal validation service

Validation::ResultInput result_record(const ValidationResultInput& input, Halden::Soa::Client::ModelManager& models) {
  Validation::ResultInput record;
  record.existingResult = input.result_uid.empty() ? nullptr : models.loadObjects(input.result_uid);
  record.itemRevision = models.loadObjects(input.item_revision_uid);
  record.target = models.loadObjects(input.target_uid);
  record.dataObject = models.loadObjects(input.data_object_uid);
  record.validationId = input.validation_id;
  record.result = input.result;
  record.status = input.status;
  record.comments = input.comments;
  record.date = kestrel::date_time_from_fields(input.date);
  record.user = session_info().user;
  record.isAdhoc = input.is_adhoc;
  record.parameters.reserve(input.parameters.size());
  for (const auto& p : input.parameters) record.parameters.push_back({p.name, p.value, p.op});
  record.reports.reserve(input.reports.size());
  for (const auto& r : input.reports)
    record.reports.push_back({r.report_flag, nullptr, "", r.name, r.dataset_type, {}});
  record.flag = input.service_flag;
  return record;
}

// ---------------------------------------------------------------------------
// Creation through core data management (servers newer than 2007)

// At most kReportNameLimit bytes, never ending inside a UTF-8 character.
std::string cut_name(std::string name) {
  if (name.size() <= kReportNameLimit) return name;
  std::size_t end = kReportNameLimit;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
  return name;
}

std::string report_dataset_name(const ValidationReport& report) {
  if (!report.name.empty()) return cut_name(report.name);
  const kestrel::SmString unique(CFI_create_unique_filename());
  return cut_name(std::string(kestrel::or_empty(unique.get())) + "_report_ds");
}

Core::CreateInput validation_params(const std::vector<ValidationParameter>& parameters) {
  Core::CreateInput input;
  input.boName = "ValidationParams";
  auto& names = input.stringArrayProps["names"];
  auto& ops = input.stringArrayProps["ops"];
  auto& values = input.stringArrayProps["values"];
  names.reserve(parameters.size());
  ops.reserve(parameters.size());
  values.reserve(parameters.size());
  for (const auto& p : parameters) {
    names.push_back(p.name);
    ops.push_back(p.op);
    values.push_back(p.value);
  }
  return input;
}

date_s local_now() { return CLOCK_time_to_date(CLOCK_gmt() + 60 * static_cast<std::int64_t>(CLOCK_local_offset())); }

// The target's last modification as the debug dump shows it; a date the
// server cannot give (not loaded, another kind) shows as an empty text: a
// dump never fails the results the caller is saving.
std::string last_modified_text(ServerObject& target) {
  try {
    Property* property = kestrel::ask_validation_object_property(&target, "last_mod_date", true);
    if (!property) return date_text(null_date);
    return date_text(kestrel::date_from_fields(
        read_list(property, &target, "last_mod_date", [](Property& p) { return p.getDateValue(); })));
  } catch (const Orvane::Error::Severe&) {
    return std::string();
  }
}

void dump_result_input(const ValidationResultInput& input, const date_s& now, ServerObject* target) {
  // "Fiilling" and "taregt" are the texts support engineers search for.
  ERROR_lprintf("\n+++ Fiilling ReqValResultCreateInput for virel check %s\n", input.check_name.c_str());
  ERROR_lprintf("\n+++ current time is %s \n", date_text(now).c_str());
  ERROR_lprintf("\n+++ input date time is %s", date_text(input.date).c_str());
  // Without a target there is no date to show, and no reason to fail.
  if (!target) return;
  ERROR_lprintf("\n+++ taregt dataset lmd time is %s\n", last_modified_text(*target).c_str());
}

Core::CreateInput val_req_result(const ValidationResultInput& input, ServerObject* parameters, ServerObject* dataset,
                                 ServerObject* user, Halden::Soa::Client::ModelManager& models) {
  Core::CreateInput create;
  create.boName = "ValReqResult";
  create.stringProps["object_name"] = input.check_name;
  create.stringProps["validation_comments"] = input.comments;
  create.tagProps["validation_data_obj"] = models.loadObjects(input.data_object_uid);
  const date_s now = local_now();
  create.dateProps["validation_date"] = kestrel::date_time_from_fields(now);
  create.stringProps["validation_id"] = input.validation_id;
  create.boolProps["validation_is_adhoc"] = input.is_adhoc;
  create.tagProps["validation_parameters"] = parameters;
  if (dataset) create.tagArrayProps["validation_report"] = {dataset};
  create.boolProps["validation_result"] = input.result;
  create.intProps["validation_status"] = input.status;
  ServerObject* target = models.loadObjects(input.target_uid);
  create.tagProps["validation_target"] = target;
  if (kestrel::debug_enabled(kCheckReq)) dump_result_input(input, now, target);
  create.tagProps["validation_item_rev_tag"] = models.loadObjects(input.item_revision_uid);
  create.tagProps["validation_user"] = user;
  if (!input.requirement_uid.empty())
    create.tagProps["validation_requirement"] = models.loadObjects(input.requirement_uid);
  return create;
}

// The first created object of each output that has one, by client id.
std::unordered_map<std::string, ServerObject*> first_created(const Core::CreateResponse& reply) {
  std::unordered_map<std::string, ServerObject*> created;
  created.reserve(reply.output.size());
  for (const auto& out : reply.output)
    if (!out.objects.empty() && out.objects.front()) created.emplace(out.clientId, out.objects.front());
  return created;
}

template <class Map>
ServerObject* entry_of(const Map& map, const std::string& id) {
  auto it = map.find(id);
  return it == map.end() ? nullptr : it->second;
}

ValidationResultList create_validation_results_by_dm(const Inputs& inputs, ServerObject* user) {
  auto& models = *kestrel::get_model_manager();
  auto create = [](const std::vector<Core::CreateIn>& in) {
    return kestrel::soa_request_on<DatamanagementService>(
        kestrel::require_connection(KESTREL_HERE), [&](DatamanagementService& dm) { return dm.createObjects(in); });
  };
  SetActivePropertyPolicy(2);

  std::vector<Core::CreateIn> parameter_inputs;
  parameter_inputs.reserve(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i)
    parameter_inputs.push_back({client_id(i), validation_params(inputs[i].parameters)});
  const auto parameters = first_created(create(parameter_inputs));

  std::vector<Core::DatasetCreateInput> dataset_inputs;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    assert_one_report(inputs[i], "inputs[inx].reports.size() <=1");
    if (inputs[i].reports.size() != 1) continue;
    const ValidationReport& report = inputs[i].reports.front();
    // Client id, container, relation type, name, type, description; the tool
    // used, empty as well, has no field of its own in this record.
    dataset_inputs.push_back(
        {client_id(i), nullptr, "", report_dataset_name(report), report.dataset_type, "", nullptr});
  }
  const auto created_datasets = kestrel::soa_request_on<DatamanagementService>(
      kestrel::require_connection(KESTREL_HERE),
      [&](DatamanagementService& dm) { return dm.createDatasets(dataset_inputs); });
  DatasetsById datasets;
  for (const auto& [id, dataset] : created_datasets.output)
    if (dataset) datasets.emplace(id, dataset);

  kestrel::upload_report_files(inputs, datasets);
  const std::vector<std::string> types = {"ValReqResult"};
  kestrel::soa_request_on<PropdescriptorService>(
      kestrel::require_connection(KESTREL_HERE),
      [&](PropdescriptorService& descriptors) { descriptors.getPropDescriptors(types); });

  std::vector<Core::CreateIn> result_inputs;
  result_inputs.reserve(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string id = client_id(i);
    result_inputs.push_back(
        {id, val_req_result(inputs[i], entry_of(parameters, id), entry_of(datasets, id), user, models)});
  }
  const auto reply = create(result_inputs);

  ValidationResultList out;
  out.results.reserve(reply.output.size());
  for (const auto& created : reply.output) {
    if (created.objects.empty() || !created.objects.front()) continue;
    out.results.push_back({created.objects.front()->getUid(), uid_of(entry_of(datasets, created.clientId)), {}, {}});
  }
  out.errors = kestrel::partial_error_infos(reply.serviceData);
  return out;
}

// Slot 85's own answer to the server generation: asked once per process,
// 2007 until asked.
bool update_unprobed = true;
bool update_server_2007 = true;

bool update_server_is_2007() {
  if (update_unprobed) {
    update_server_2007 = kestrel::is_version_2007(session_info().serverVersion);
    update_unprobed = false;
  }
  return update_server_2007;
}

}  // namespace

ValidationResultList KESTREL_create_validation_results(const std::vector<ValidationResultInput>& inputs) {
  SetActivePropertyPolicy(2);
  auto& models = *kestrel::get_model_manager();
  std::vector<Validation::ResultInput> records;
  records.reserve(inputs.size());
  for (const auto& input : inputs) records.push_back(result_record(input, models));

  const auto reply = kestrel::soa_request<ValidationService>(
      KESTREL_HERE, [&](ValidationService& validation) { return validation.createValidationResults(records); });
  // Outside the request's catch clauses: the upload converts what it sends.
  ValidationResultList out;
  out.results = kestrel::upload_validation_reports(inputs, reply.output, reply.serviceData);
  out.errors = kestrel::partial_error_infos(reply.serviceData);
  return out;
}

ValidationResultList KESTREL_save_validation_results(const std::vector<ValidationResultInput>& inputs) {
  // Asked afresh on every call.
  const auto info = session_info();
  if (kestrel::is_version_2007(info.serverVersion)) return KESTREL_create_validation_results(inputs);
  return create_validation_results_by_dm(inputs, info.user);
}

ValidationResultList KESTREL_update_validation_results(const std::vector<ValidationResultInput>& inputs) {
  const bool server_2007 = update_server_is_2007();
  ValidationResultList out = KESTREL_create_validation_results(inputs);
  if (server_2007) return out;

  // The internal service's records carry neither the check's name nor its
  // requirement: a newer server gets them written on each named result.
  SetActivePropertyPolicy(2);
  auto& models = *kestrel::get_model_manager();
  for (const auto& input : inputs) {
    if (input.result_uid.empty()) continue;
    ServerObject* result = models.loadObjects(input.result_uid);
    if (!result) continue;
    std::map<std::string, std::vector<std::string>> values = {{"object_name", {input.check_name}}};
    if (!input.requirement_uid.empty()) {
      kestrel::ask_validation_object_property(result, "validation_requirement", true);
      // A requirement that cannot be loaded keeps the one the result has.
      if (ServerObject* requirement = models.loadObjects(input.requirement_uid))
        values["validation_requirement"] = {Property::toModelObjectString(requirement)};
    }
    const std::vector<ServerObject*> objects = {result};
    kestrel::soa_request<DatamanagementService>(KESTREL_HERE,
                                                [&](DatamanagementService& dm) { dm.setProperties(objects, values); });
  }
  return out;
}

// ---- validation data, results of objects and their reports, queries

using Halden::Soa::Client::ModelManager;

namespace {
// The helpers of slots 80, 82 and 83.
namespace lookups {

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
  const std::vector<ServerObject*> reports = objects_of(result, "validation_report");
  if (reports.empty()) return {};
  ServerObject* dataset = reports.front();
  const std::vector<std::string> names = strings_of(dataset, "ref_names");
  const std::vector<ServerObject*> files = objects_of(dataset, "ref_list");
  const auto tickets = files_service.getFileReadTickets(files).tickets;
  ValidationReportData data{dataset->getUid(), {}};
  data.files.reserve(files.size());
  for (std::size_t j = 0; j < files.size(); ++j) {
    ValidationReportFileInfo info;
    info.original_file_name = text_of(files[j], "original_file_name");
    info.text_flag = int_of(files[j], "text_flag");
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
    for (const auto& output : reply.output) out.uids.push_back(uid_of(output.object));
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
      const ServerObject* data = result ? object_of(result, "validation_data_obj") : nullptr;
      if (!data || !wanted.count(data->getUid())) continue;
    }
    out.result_uids.push_back(uid_of(result));
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
      ValidationQueryResult result{uid_of(output.object), {}};
      result.result_uids.reserve(output.objects.size());
      for (const ServerObject* object : output.objects) result.result_uids.push_back(uid_of(object));
      out.results.push_back(std::move(result));
    }
    out.errors = kestrel::partial_error_infos(reply.serviceData);
  });
  return out;
}
