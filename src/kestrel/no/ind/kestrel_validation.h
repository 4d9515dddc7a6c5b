// Validation results: created through the internal validation service or,
// on a newer server, through core creation; saved, updated, and their report
// files uploaded into their report datasets.
#pragma once

#include <string>

#include "kestrel/kestrel_validation_types.h"

namespace Halden::Soa::Client {
class ModelObject;
class Property;
}  // namespace Halden::Soa::Client

namespace kestrel {

// The property of a server object, loaded from the server when the framework
// does not hold it and force is true: first the object's standard
// properties, then the one property. Null for a property sent as null.
// Raises 940209 for a null object, 940223 when the property cannot be loaded
// or force is false.
Halden::Soa::Client::Property* ask_validation_object_property(Halden::Soa::Client::ModelObject* object,
                                                              const std::string& name, bool force);

}  // namespace kestrel

// Validation data sent to the server; the UIDs of the objects it answers,
// "" for an entry without one, so positions stay.
ValidationObjectList KESTREL_send_validation_inputs(const std::vector<ValidationDataInput>& inputs);
// The validation results of objects, with the files of their reports and
// read tickets for them (one ticket request per report dataset).
ValidationDataList KESTREL_get_validation_data(const ValidationDataRequest& request);
// Per answer of the server, its object and its results.
ValidationQueryResultList KESTREL_query_validation_results(const std::vector<ValidationResultQuery>& queries);
