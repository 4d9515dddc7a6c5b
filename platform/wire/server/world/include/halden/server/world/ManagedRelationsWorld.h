// The sample world's requirements and their trace links, with full text.
// Each link exists in both server generations' forms: a "Tracelink" object
// "tracelink-<key>" and an "FND_TraceLink" relation "fndlink-<key>"; what
// the server answers follows its version.
#pragma once

#include <string>
#include <vector>

#include "halden/server/ManagedRelationsStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/SessionWorld.h"

namespace Halden::Soa::Server {

class ManagedRelationsWorld : public ManagedRelationsStub {
 public:
  ManagedRelationsWorld(WorldStore& store, const SessionWorld& session) : store_(store), session_(session) {}
  // Requirements "req-root" > "req-brake" > "req-stop" and the item
  // "item-K-1200"; full text "fulltext-brake" and "fulltext-stop" on
  // "IMAN_specification" of their requirements.
  void populate();

  // A requirement "req-<key>" of type "Requirement".
  std::string add_requirement(const std::string& key, const std::string& name);
  // A "FullText" object attached to the object under "IMAN_specification".
  std::string add_full_text(const std::string& key, const std::string& object_uid,
                            const std::string& type = "FullText");
  // A link from primary to secondary; answers its UID in the current generation.
  std::string add_link(const std::string& key, const std::string& primary_uid, const std::string& secondary_uid,
                       const std::string& name = "");
  // The link's UID in the server's current generation.
  std::string link_uid(const std::string& key) const;
  bool is_2007() const;
  const std::vector<TraceLinkModifyRecord>& modified() const { return modified_; }
  // The objects a relation request for the object finds under the relation ("" for all).
  std::vector<std::string> secondaries_of(const std::string& uid, const std::string& relation) const;

  TraceReportReply getTraceReport(const TraceReportRequest& request) override;
  CreatedObjectsReply createTraceLink(const std::vector<TraceLinkCreateRecord>& records) override;
  WireServiceData modifyTraceLink(const std::vector<TraceLinkModifyRecord>& records) override;

 private:
  struct Link {
    std::string key, primary, secondary;
  };
  std::string uid_of(const Link& link) const;
  // Nodes {object, its links} then {link, its far end}, for the links that
  // end (defining) or start (complying) at the object; answers the far ends.
  std::vector<std::string> add_nodes(std::vector<TraceTreeNodeRecord>& tree, const std::string& uid,
                                     bool defining) const;

  WorldStore& store_;
  const SessionWorld& session_;
  std::vector<Link> links_;
  std::vector<TraceLinkModifyRecord> modified_;
  int created_ = 0;
};

}  // namespace Halden::Soa::Server
