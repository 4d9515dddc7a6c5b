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

class DataManagementStub {
 public:
  virtual ~DataManagementStub() = default;
  // An empty name list asks for the standard properties of the policy in force.
  virtual WireServiceData getProperties(const std::vector<std::string>& uids,
                                        const std::vector<std::string>& names) = 0;
  virtual WireServiceData loadObjects(const std::vector<std::string>& uids) = 0;
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

// One endpoint: the stubs that answer each family. A family left null
// answers every request with a protocol error.
struct Server {
  SessionStub* session = nullptr;
  DataManagementStub* datamanagement = nullptr;
  ConnectionStub* connection = nullptr;
  std::vector<RequestRecord> requests;
};

}  // namespace Halden::Soa::Server
