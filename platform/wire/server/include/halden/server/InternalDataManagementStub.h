// The internal data-management family: generic creation of relations.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct RelationCreateRecord {
  std::string client_id;
  std::string relation_type;
  std::string primary_uid, secondary_uid;  // "" is a null object
  std::string user_data_uid;
};

struct CreatedRelation {
  std::string client_id;
  std::string relation_uid;
};

struct CreateRelationsReply {
  std::vector<CreatedRelation> outputs;
  WireServiceData data;
};

// What the sample world answers: an "FND_TraceLink" relation per record with
// both ends known; any other record is a partial error under its client id.
class InternalDataManagementStub {
 public:
  virtual ~InternalDataManagementStub() = default;
  virtual CreateRelationsReply createRelations(const std::vector<RelationCreateRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
