// Validation results: created through the internal validation service or,
// on a newer server, through core creation; saved, updated, and their report
// files uploaded into their report datasets.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "kestrel/kestrel_validation_types.h"

namespace Halden::Soa::Client {
class ModelObject;
class Property;
class ServiceData;
}  // namespace Halden::Soa::Client
namespace Halden::Services::Internal::Validation {
struct ResultOutput;
}

namespace kestrel {

// The property of a server object, loaded from the server when the framework
// does not hold it and force is true: first the object's standard
// properties, then the one property. Null for a property sent as null.
// Raises 940209 for a null object, 940223 when the property cannot be loaded
// or force is false.
Halden::Soa::Client::Property* ask_validation_object_property(Halden::Soa::Client::ModelObject* object,
                                                              const std::string& name, bool force);

// After the internal validation service made the results: empties each
// result's report dataset of its named references and uploads the files of
// the input the result belongs to into it. One record per reply entry, in
// reply order. Entries pair with inputs by index when there is one per
// input, else in order past the inputs the reply has partial errors for; an
// entry without an input gets no upload but still names its dataset.
std::vector<ValidationResultInfo> upload_validation_reports(
    const std::vector<ValidationResultInput>& inputs,
    const std::vector<Halden::Services::Internal::Validation::ResultOutput>& entries,
    const Halden::Soa::Client::ServiceData& reply);

// After core creation made the report datasets (by client id, the input's
// index in decimal): uploads each input's report files into its dataset with
// one ticket request, one upload and one commit.
void upload_report_files(const std::vector<ValidationResultInput>& inputs,
                         const std::map<std::string, Halden::Soa::Client::ModelObject*>& datasets);

// Input index by the UID of its report dataset, built once per upload.
using InputsByDataset = std::unordered_map<std::string, int>;
InputsByDataset inputs_by_dataset(const std::vector<ValidationResultInput>& inputs,
                                  const std::map<std::string, Halden::Soa::Client::ModelObject*>& datasets);
// The input whose report dataset is this one, or -1.
int find_input_index_of_object(const InputsByDataset& index, const Halden::Soa::Client::ModelObject* dataset);

}  // namespace kestrel

// Slot 81: the results through the internal validation service, then their
// report files; the partial errors of the validation request.
ValidationResultList KESTREL_create_validation_results(const std::vector<ValidationResultInput>& inputs);
// Slot 84: as slot 81 on a 2007 server (asked on every call); on a newer
// one through core creation of parameters, report datasets and results.
ValidationResultList KESTREL_save_validation_results(const std::vector<ValidationResultInput>& inputs);
// Slot 85: as slot 81, then on a newer server (asked once per process) the
// check's name and requirement written on each result the inputs name.
ValidationResultList KESTREL_update_validation_results(const std::vector<ValidationResultInput>& inputs);

// Validation data sent to the server; the UIDs of the objects it answers,
// "" for an entry without one, so positions stay.
ValidationObjectList KESTREL_send_validation_inputs(const std::vector<ValidationDataInput>& inputs);
// The validation results of objects, with the files of their reports and
// read tickets for them (one ticket request per report dataset).
ValidationDataList KESTREL_get_validation_data(const ValidationDataRequest& request);
// Per answer of the server, its object and its results.
ValidationQueryResultList KESTREL_query_validation_results(const std::vector<ValidationResultQuery>& queries);
