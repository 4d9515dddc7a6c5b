// CAD structure management: revision rules and product structure.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/services/core/RelationFilter.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/client/model/RevisionRule.h"
#include "halden/soa/client/model/Structure.h"
#include "halden/soa/common/DateTime.h"

namespace Halden::Services::Cad {

// How a request configures structure: a rule with its effectivity settings.
struct RevisionRuleConfigInfo {
  std::string clientId;
  Soa::Client::Model::RevisionRule* revRule = nullptr;
  int unitNo = 0;
  Soa::Common::DateTime date;
  bool today = false;
  Soa::Client::ModelObject* endItem = nullptr;
  Soa::Client::ModelObject* endItemRevision = nullptr;
  std::vector<Soa::Client::ModelObject*> overrideFolders;
};

struct RevisionRuleInfo {
  Soa::Client::Model::RevisionRule* revRule = nullptr;
};

struct GetRevisionRulesResponse {
  std::vector<RevisionRuleInfo> output;
  Soa::Client::ServiceData serviceData;
};

struct CreateBomWindowsInfo {
  std::string clientId;
  Soa::Client::ModelObject* item = nullptr;
  Soa::Client::ModelObject* itemRev = nullptr;
  Soa::Client::ModelObject* bomView = nullptr;
  RevisionRuleConfigInfo revRuleConfigInfo;
};

struct CreateBomWindowsOutput {
  std::string clientId;
  Soa::Client::ModelObject* bomWindow = nullptr;
  Soa::Client::ModelObject* bomLine = nullptr;  // the window's top line
};

struct CreateBomWindowsResponse {
  std::vector<CreateBomWindowsOutput> output;
  Soa::Client::ServiceData serviceData;
};

// Which related data an expansion returns with each line.
struct ExpandBomLinesPref {
  bool expandRelatedData = false;  // false: the lines alone
  std::vector<Core::RelationFilter> filters;
};

struct BomLineData {
  Soa::Client::ModelObject* bomLine = nullptr;
  Soa::Client::ModelObject* itemRevOfBOMLine = nullptr;
  std::vector<Soa::Client::ModelObject*> datasets;
};

struct ExpandBomLinesOutput {
  BomLineData parent;
  std::vector<BomLineData> children;
};

struct ExpandBomLinesResponse {
  std::vector<ExpandBomLinesOutput> output;  // one per line, in request order
  Soa::Client::ServiceData serviceData;
};

struct BomLinePath {
  std::string name;
  std::vector<std::string> path;
};

struct GetBomLinesByPathInfo {
  std::string clientId;
  Soa::Client::ModelObject* scope = nullptr;  // a BOM window or line
  bool flag = false;
  std::vector<BomLinePath> paths;
};

struct GetBomLinesByPathResponse {
  std::map<std::string, Soa::Client::ModelObject*> lines;  // key -> line
  Soa::Client::ServiceData serviceData;
};

struct ConfiguredRevisionInfo {
  Soa::Client::ModelObject* item = nullptr;
  Soa::Client::Model::RevisionRule* revRule = nullptr;
};

struct ConfiguredRevisionOutput {
  Soa::Client::ModelObject* item = nullptr;
  Soa::Client::Model::RevisionRule* revRule = nullptr;
  Soa::Client::ModelObject* itemRevision = nullptr;  // the revision the rule configures
};

struct GetConfiguredRevisionsResponse {
  std::vector<ConfiguredRevisionOutput> output;  // one per item the rule configures
  Soa::Client::ServiceData serviceData;
};

// Relative structure: the child occurrences of parents, created, changed or
// removed in one request. The records of the 2007-12 operations end in 2.
struct AttributesInfo {
  std::string name;
  std::string value;
};

struct OccNote {
  std::string noteType;
  std::string noteText;
};

struct OccInfo {
  std::vector<AttributesInfo> attrsToSet;
  bool asRequired = false;
  std::vector<double> occTransform;  // 16 values per matrix
  std::vector<OccNote> occNotes;
};

struct ChildInfo {
  std::string clientId;
  std::string cadOccId;
  Soa::Client::ModelObject* child = nullptr;
  OccInfo occInfo;
};

struct RelativeStructureInfo {
  Soa::Client::ModelObject* parent = nullptr;
  std::vector<ChildInfo> childInfo;
  bool precise = false;
};

struct RelativeStructureInfo2 {
  Soa::Common::DateTime lastModifiedOfBVR;  // the null date: not checked
  Soa::Client::ModelObject* parent = nullptr;
  std::vector<ChildInfo> childInfo;
  bool precise = false;
};

// Options of both relative-structure operations.
struct RelativeStructurePref {
  std::string cadOccIdAttrName;
  std::vector<std::string> objectTypes;
};

struct RelativeStructurePref2 {
  bool flag = false;
  std::string cadOccIdAttrName;
  std::vector<std::string> objectTypes;
};

struct CreateOrUpdateRelativeStructureResponse {
  std::map<std::string, Soa::Client::Model::PSOccurrenceThread*> output;  // clientId -> thread
  Soa::Client::ServiceData serviceData;
};

struct DeleteRelativeStructureInfo {
  Soa::Client::ModelObject* parent = nullptr;
  std::vector<std::string> childInfo;  // occurrence threads, by UID
};

struct DeleteRelativeStructureInfo2 {
  Soa::Common::DateTime lastModifiedOfBVR;
  Soa::Client::ModelObject* parent = nullptr;
  std::vector<std::string> childInfo;
};

class StructuremanagementService {
 public:
  static StructuremanagementService* getService(Soa::Client::Connection* connection);
  explicit StructuremanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  // Every revision rule of the server, in the server's order.
  GetRevisionRulesResponse getRevisionRules();

  CreateBomWindowsResponse createBomWindows(const std::vector<CreateBomWindowsInfo>& info);
  Soa::Client::ServiceData closeBomWindows(const std::vector<Soa::Client::ModelObject*>& windows);
  ExpandBomLinesResponse expandBomLinesOneLevel(const std::vector<Soa::Client::ModelObject*>& lines,
                                                const ExpandBomLinesPref& pref);
  GetBomLinesByPathResponse getBomLinesByPath(const std::vector<GetBomLinesByPathInfo>& info);
  GetConfiguredRevisionsResponse getConfiguredRevisions(const std::vector<ConfiguredRevisionInfo>& info);

  CreateOrUpdateRelativeStructureResponse createOrUpdateRelativeStructure(
      const std::vector<RelativeStructureInfo>& info, const std::string& bomViewTypeName, bool complete,
      const RelativeStructurePref& pref);
  CreateOrUpdateRelativeStructureResponse createOrUpdateRelativeStructure(
      const std::vector<RelativeStructureInfo2>& info, const std::string& bomViewTypeName, bool complete,
      const RelativeStructurePref2& pref);
  Soa::Client::ServiceData deleteRelativeStructure(const std::vector<DeleteRelativeStructureInfo>& info,
                                                   const std::string& bomViewTypeName,
                                                   const RelativeStructurePref& pref);
  Soa::Client::ServiceData deleteRelativeStructure(const std::vector<DeleteRelativeStructureInfo2>& info,
                                                   const std::string& bomViewTypeName,
                                                   const RelativeStructurePref2& pref);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Cad
