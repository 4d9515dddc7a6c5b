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

// Relative structure: parents (item revisions) with the child occurrences to
// create or change in their BOM views, or the occurrence threads to remove.
struct OccurrenceAttribute {
  std::string name, value;
};

struct OccurrenceNote {
  std::string type, text;
};

struct ChildRecord {
  std::string client_id;
  std::string cad_occ_id;  // "" for none
  std::string child_uid;   // "" for none
  std::vector<OccurrenceAttribute> attributes;
  bool as_required = false;
  std::vector<double> transform;
  std::vector<OccurrenceNote> notes;
};

struct RelativeStructureRecord {
  std::string parent_uid;
  std::vector<ChildRecord> children;
  bool precise = false;
};

// The 2007-12 form: a BOM view modified since last_modified (unless null) is
// refused.
struct RelativeStructureRecord2 {
  Common::DateTime last_modified;
  std::string parent_uid;
  std::vector<ChildRecord> children;
  bool precise = false;
};

struct DeleteStructureRecord {
  std::string parent_uid;
  std::vector<std::string> thread_uids;
};

struct DeleteStructureRecord2 {
  Common::DateTime last_modified;
  std::string parent_uid;
  std::vector<std::string> thread_uids;
};

struct RelativeStructureOptions {
  std::string cad_occ_id_attribute;
  std::vector<std::string> object_types;
};

struct RelativeStructureOptions2 {
  bool flag = false;
  std::string cad_occ_id_attribute;
  std::vector<std::string> object_types;
};

struct RelativeStructureReply {
  std::map<std::string, std::string> threads;  // client id -> occurrence thread UID
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

  // Relative structure, before and from the 2007-12 operations.
  virtual RelativeStructureReply createOrUpdateRelativeStructure(const std::vector<RelativeStructureRecord>& parents,
                                                                 const std::string& view_type, bool complete,
                                                                 const RelativeStructureOptions& options) = 0;
  virtual RelativeStructureReply createOrUpdateRelativeStructure2(const std::vector<RelativeStructureRecord2>& parents,
                                                                  const std::string& view_type, bool complete,
                                                                  const RelativeStructureOptions2& options) = 0;
  virtual WireServiceData deleteRelativeStructure(const std::vector<DeleteStructureRecord>& parents,
                                                  const std::string& view_type,
                                                  const RelativeStructureOptions& options) = 0;
  virtual WireServiceData deleteRelativeStructure2(const std::vector<DeleteStructureRecord2>& parents,
                                                   const std::string& view_type,
                                                   const RelativeStructureOptions2& options) = 0;
};

}  // namespace Halden::Soa::Server
