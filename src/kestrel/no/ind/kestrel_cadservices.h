// CAD part, item and dataset creation, and dataset files through tickets.
//
// Each entry sends one request and answers true unless its reply carries a
// partial error of level 3; the caller's lists get the reply's created,
// updated and plain objects and the objects its errors name. A null record
// pointer in an input list, or a null result list, raises 940208 before any
// request.
#pragma once

#include <map>
#include <vector>

#include "halden/services/cad/DatamanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/FilemanagementService.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_cad_types.h"
#include "objmodel/ModelObject.h"

// The read ticket of every "OstraFile" reference of the datasets, by file
// UID; with reference names (null or empty: all), only references of those
// names. Tickets are written even when the answer is false.
bool KESTREL_get_dataset_file_read_tickets(const std::vector<Orvane::PdmSoa::Dataset*>& datasets,
                                           const std::vector<UString>* reference_names,
                                           DatasetFileTickets* tickets_out);
// One new result per reply entry, appended; true even with partial errors.
bool KESTREL_get_dataset_write_tickets(const std::vector<WriteTicketInput*>& requests,
                                       std::vector<WriteTicketResult*>* results_out);
bool KESTREL_commit_dataset_files(const std::vector<CommitInput*>& requests,
                                  std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                                  std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                                  std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                                  std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
// One new result per part of the reply, appended (also with partial errors).
bool KESTREL_create_parts(const std::vector<PartCreateInput*>& parts, std::vector<PartResult*>* results_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
bool KESTREL_create_datasets(const std::vector<DatasetCreateInput*>& requests,
                             std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                             std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                             std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                             std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);
// A key that is a host object without a server object raises 940209.
bool KESTREL_create_items(const std::map<Orvane::PdmSoa::ModelObject*, ItemCreateInput*>& requests,
                          std::vector<Orvane::PdmSoa::ModelObject*>* created_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* updated_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* plain_out,
                          std::vector<Orvane::PdmSoa::ModelObject*>* error_objects_out);

// The host's WorkspaceObject of a server object; null for none, or when the
// host holds the object as another class.
Orvane::PdmSoa::WorkspaceObject* KESTREL_ask_workspace_object(Halden::Soa::Client::ModelObject* object);

namespace kestrel {

// Host records into the framework's, field by field.
std::vector<Halden::Services::Core::DatasetCreateInput> convert_dataset_inputs(
    const std::vector<DatasetCreateInput*>& requests);
std::map<Halden::Soa::Client::ModelObject*, Halden::Services::Core::ItemCreateInput> convert_item_inputs(
    const std::map<Orvane::PdmSoa::ModelObject*, ItemCreateInput*>& requests);
std::vector<Halden::Services::Cad::PartCreateInput> convert_part_inputs(const std::vector<PartCreateInput*>& parts);
std::vector<Halden::Services::Core::WriteTicketInput> convert_write_ticket_inputs(
    const std::vector<WriteTicketInput*>& requests);
std::vector<Halden::Services::Core::CommitInput> convert_commit_inputs(const std::vector<CommitInput*>& requests);
// The reply's parts as new host results, in reply order; the caller owns them.
std::vector<std::unique_ptr<PartResult>> convert_cad_part_results(
    const std::vector<Halden::Services::Cad::PartOutput>& outputs);

}  // namespace kestrel
