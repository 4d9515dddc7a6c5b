// What crosses the wire between the framework and a server: plain records,
// no client objects. Objects are named by UID; the client's ModelManager turns
// them into ModelObjects.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/common/DateTime.h"
#include "halden/soa/common/ValueType.h"

namespace Halden::Soa::Server {

using Common::ValueType;

struct WireProperty {
  std::string name;
  ValueType type = ValueType::String;
  bool is_array = false;
  bool is_null = false;    // the framework hands the library no Property at all
  bool modifiable = true;  // what the property's description answers
  std::vector<std::string> strings;
  std::vector<int> ints;
  std::vector<double> doubles;
  std::vector<float> floats;
  std::vector<short> shorts;
  std::vector<bool> logicals;
  std::vector<char> chars;
  std::vector<Common::DateTime> dates;
  std::vector<std::string> references;  // UIDs; "" is a null reference
  std::vector<std::string> display;     // display texts; empty: derived from the values
};

struct WireObject {
  std::string uid;
  std::vector<std::string> types;  // the object's type first, then its parents
  std::vector<WireProperty> properties;
};

struct WireErrorValue {
  int code = 0;
  int level = 0;
  std::string message;
};

struct WireErrorStack {
  std::string associated_uid;  // "" when no object is associated
  int client_index = -1;
  std::string client_id;
  std::vector<WireErrorValue> values;
};

struct WireServiceData {
  std::vector<WireObject> objects;  // every object the reply names, with the properties it carries
  std::vector<std::string> created, updated, plain, deleted;  // "" in the object lists is a null object
  std::vector<WireErrorStack> errors;
};

// Related objects under one relation, of the named types (any type when none).
struct RelationFilterRecord {
  std::string relation;
  std::vector<std::string> types;
};

// The objects related to one object, group by group: the reply of the core and
// CAD related-objects operations.
struct RelatedGroupRecord {
  std::vector<std::string> uids;  // "" is a null object
  std::string name;
};

struct RelatedObjectsOutput {
  std::string object_uid;  // the input object
  std::vector<RelatedGroupRecord> groups;
};

struct RelatedObjectsReply {
  std::vector<RelatedObjectsOutput> outputs;  // one per input object, in request order
  WireServiceData data;
};

}  // namespace Halden::Soa::Server
