// CAD structure management: revision rules, BOM windows and lines.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct RevisionRulesReply {
  std::vector<std::string> rules;  // UIDs, in the server's order; "" is a null rule
  WireServiceData data;
};

struct RevisionRuleConfigRecord {
  std::string client_id;
  std::string rule_uid;  // "" for none
  int unit_no = 0;
  Common::DateTime date;
  bool today = false;
  std::string end_item_uid, end_item_revision_uid;
  std::vector<std::string> override_folder_uids;
};

struct BomWindowRequest {
  std::string client_id;
  std::string item_uid, item_revision_uid, bom_view_uid;  // "" for none
  RevisionRuleConfigRecord config;
};

struct BomWindowOutput {
  std::string client_id;
  std::string window_uid, top_line_uid;
};

struct BomWindowsReply {
  std::vector<BomWindowOutput> outputs;
  WireServiceData data;
};

struct ExpandInfo {
  bool related_data = false;  // false: lines only
  std::vector<RelationFilterRecord> filters;
};

struct BomLineData {
  std::string line_uid;
  std::string item_revision_uid;          // "" for none
  std::vector<std::string> dataset_uids;  // "" for none
};

struct BomLineExpansion {
  BomLineData parent;
  std::vector<BomLineData> children;
};

struct ExpandBomLinesReply {
  std::vector<BomLineExpansion> outputs;  // one per line, in request order
  WireServiceData data;
};

struct BomPathEntry {
  std::string name;
  std::vector<std::string> path;
};

struct BomPathRequest {
  std::string client_id;
  std::string scope_uid;  // a window or a line
  bool flag = false;
  std::vector<BomPathEntry> entries;
};

struct BomLinesByPathReply {
  std::map<std::string, std::string> lines;  // key -> line UID
  WireServiceData data;
};

struct ConfiguredRevisionRequest {
  std::string item_uid, rule_uid;
};

struct ConfiguredRevisionOutput {
  std::string item_uid, rule_uid, revision_uid;
};

struct ConfiguredRevisionsReply {
  std::vector<ConfiguredRevisionOutput> outputs;  // one per item the rule configures
  WireServiceData data;
};

class StructureManagementStub {
 public:
  virtual ~StructureManagementStub() = default;
  virtual RevisionRulesReply getRevisionRules() = 0;
  virtual BomWindowsReply createBomWindows(const std::vector<BomWindowRequest>& requests) = 0;
  virtual WireServiceData closeBomWindows(const std::vector<std::string>& window_uids) = 0;
  virtual ExpandBomLinesReply expandBomLinesOneLevel(const std::vector<std::string>& line_uids,
                                                     const ExpandInfo& info) = 0;
  virtual BomLinesByPathReply getBomLinesByPath(const std::vector<BomPathRequest>& requests) = 0;
  virtual ConfiguredRevisionsReply getConfiguredRevisions(const std::vector<ConfiguredRevisionRequest>& requests) = 0;
};

}  // namespace Halden::Soa::Server
