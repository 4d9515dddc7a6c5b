// Core data management: properties, loading, items by id.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ItemIdRequest {
  std::string item_id;
  std::vector<std::string> revision_ids;  // none: the newest revisions, as many as the count asks
};

struct ItemRevisionEntry {
  std::string revision_uid;               // "" for none
  std::vector<std::string> dataset_uids;  // "" for none
};

struct ItemFromIdOutput {
  std::string item_uid;
  std::vector<ItemRevisionEntry> revisions;
};

struct ItemFromIdReply {
  std::vector<ItemFromIdOutput> outputs;  // one per item found
  WireServiceData data;
};

class DataManagementStub {
 public:
  virtual ~DataManagementStub() = default;
  // An empty name list asks for the standard properties of the policy in force.
  virtual WireServiceData getProperties(const std::vector<std::string>& uids,
                                        const std::vector<std::string>& names) = 0;
  virtual WireServiceData loadObjects(const std::vector<std::string>& uids) = 0;
  // No filter: every dataset of each revision.
  virtual ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                        const std::vector<RelationFilterRecord>& filters) = 0;
};

}  // namespace Halden::Soa::Server
