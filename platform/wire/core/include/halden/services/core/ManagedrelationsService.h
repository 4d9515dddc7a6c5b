// Managed relations: trace reports of requirements and the trace links of a
// 2007 server.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct TraceReportInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string kind;  // "Defining" or "Complying"
  int depth = 0;
};

struct TraceTreeNode {
  Soa::Client::ModelObject* parent = nullptr;
  std::vector<Soa::Client::ModelObject*> children;
};

struct TraceReportResponse {
  std::vector<TraceTreeNode> definingTree, indirectDefiningTree, complyingTree, indirectComplyingTree;
  Soa::Client::ServiceData serviceData;
};

struct TraceLinkCreateInput {
  std::string text1, text2;
  std::vector<Soa::Client::ModelObject*> primaryObjects, secondaryObjects;
};

struct CreateTraceLinkResponse {
  std::vector<Soa::Client::ModelObject*> output;
  Soa::Client::ServiceData serviceData;
};

struct TraceLinkModifyInput {
  Soa::Client::ModelObject* traceLink = nullptr;
  std::vector<Soa::Client::ModelObject*> list1, list2, list3, list4;
};

class ManagedrelationsService {
 public:
  static ManagedrelationsService* getService(Soa::Client::Connection* connection);
  explicit ManagedrelationsService(Soa::Client::Connection* connection) : connection_(connection) {}

  TraceReportResponse getTraceReport(const TraceReportInput& input);
  CreateTraceLinkResponse createTraceLink(const std::vector<TraceLinkCreateInput>& inputs);
  Soa::Client::ServiceData modifyTraceLink(const std::vector<TraceLinkModifyInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
