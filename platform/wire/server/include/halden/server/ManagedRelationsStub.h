// The managed-relations family: trace reports of requirements and the trace
// links of a 2007 server ("Tracelink" objects).
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct TraceReportRequest {
  std::string object_uid;
  std::string kind;  // "Defining" or "Complying"
  int depth = 0;
};

// A parent and its children: an object and its trace links, or a trace link
// and the object at its other end. "" is a null object.
struct TraceTreeNodeRecord {
  std::string parent_uid;
  std::vector<std::string> child_uids;
};

struct TraceReportReply {
  std::vector<TraceTreeNodeRecord> defining, indirect_defining, complying, indirect_complying;
  WireServiceData data;
};

struct TraceLinkCreateRecord {
  std::string text1, text2;
  std::vector<std::string> primary_uids, secondary_uids;
};

struct CreatedObjectsReply {
  std::vector<std::string> objects;  // "" is a null object
  WireServiceData data;
};

struct TraceLinkModifyRecord {
  std::string link_uid;
  std::vector<std::string> list1, list2, list3, list4;
};

// What the sample world answers: links run from a primary (defining) object
// to a secondary (complying) one, as "Tracelink" objects on a server whose
// version begins with "V2007" or "P2007" and as "FND_TraceLink" relations
// otherwise. A "Defining" report fills the defining trees, a "Complying" one
// the complying trees; the indirect trees go one link further.
class ManagedRelationsStub {
 public:
  virtual ~ManagedRelationsStub() = default;
  virtual TraceReportReply getTraceReport(const TraceReportRequest& request) = 0;
  // One link per primary and secondary at the same position, named by text1 and described by text2.
  virtual CreatedObjectsReply createTraceLink(const std::vector<TraceLinkCreateRecord>& records) = 0;
  // Remembers the records; an unknown link is a partial error.
  virtual WireServiceData modifyTraceLink(const std::vector<TraceLinkModifyRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
