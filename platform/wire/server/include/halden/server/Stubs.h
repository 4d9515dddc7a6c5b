// The server side of each service family: one pure-virtual stub per family.
// The sample world implements them; the mocks script them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct LoginRequest {
  std::string user, password, group, role, discriminator;
};

struct SessionInfoReply {
  std::string user_uid;  // first object reference: the session user
  std::string group_uid;
  std::string server_version;
  WireServiceData data;
};

struct PreferencesReply {
  std::map<std::string, std::vector<std::string>> preferences;
  WireServiceData data;
};

class SessionStub {
 public:
  virtual ~SessionStub() = default;
  virtual WireServiceData login(const LoginRequest& request) = 0;
  virtual WireServiceData logout() = 0;
  virtual SessionInfoReply getSessionInfo() = 0;
  virtual PreferencesReply getPreferences(const std::string& scope, const std::vector<std::string>& names) = 0;
  virtual std::vector<std::string> getAvailableServices() = 0;
  // Internal session service.
  virtual WireServiceData refreshPOMCachePerRequest(bool refresh) = 0;
};

// Related objects under one relation, of the named types (any type when none).
struct RelationFilterRecord {
  std::string relation;
  std::vector<std::string> types;
};

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

// CAD structure management.
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

struct PreferenceDefinition {
  std::string name, category, description, scope, type;
  bool is_array = false, is_disabled = false;
};

struct PreferenceValues {
  std::string origin;
  std::vector<std::string> values;
};

struct PreferenceEntry {
  PreferenceDefinition definition;
  std::vector<PreferenceValues> values;
};

struct PreferenceScope {
  std::string scope;
  std::vector<PreferenceEntry> preferences;
};

class PreferenceManagementStub {
 public:
  virtual ~PreferenceManagementStub() = default;
  virtual WireServiceData setPreferences(const std::vector<PreferenceScope>& scopes) = 0;
};

// Options a connection asks of its server endpoint, outside any service.
class ConnectionStub {
 public:
  virtual ~ConnectionStub() = default;
  virtual std::string getOption(int option) = 0;
};

// What a request told the server, stamped by the framework.
struct RequestRecord {
  std::string service;
  std::string operation;
  int policy;  // the active property policy, -1 when none was set
};

class ClassificationStub;
class ManagedRelationsStub;
class InternalDataManagementStub;
class RequirementsManagementStub;

// One endpoint: the stubs that answer each family. A family left null
// answers every request with a protocol error.
struct Server {
  SessionStub* session = nullptr;
  DataManagementStub* datamanagement = nullptr;
  ConnectionStub* connection = nullptr;
  StructureManagementStub* structuremanagement = nullptr;
  PreferenceManagementStub* preferencemanagement = nullptr;
  ClassificationStub* classification = nullptr;
  ManagedRelationsStub* managedrelations = nullptr;
  InternalDataManagementStub* internaldatamanagement = nullptr;
  RequirementsManagementStub* requirementsmanagement = nullptr;
  std::vector<RequestRecord> requests;
};

}  // namespace Halden::Soa::Server
