// One server endpoint: the stub that answers each service family, and the log
// of the requests it was sent.
#pragma once

#include <functional>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace Halden::Soa::Server {

// What a request told the server, stamped by the framework.
struct RequestRecord {
  std::string service;
  std::string operation;
  int policy;  // the active property policy, -1 when none was set
};

// Stubs are kept by their family's stub type, so a new family needs no change
// here. A family not installed answers every request with a protocol error.
class Server {
 public:
  template <class Stub>
  void install(Stub* stub) {
    stubs_[std::type_index(typeid(Stub))] = stub;
  }
  // The family's stub, or null when none is installed.
  template <class Stub>
  Stub* stub() const {
    auto it = stubs_.find(std::type_index(typeid(Stub)));
    return it == stubs_.end() ? nullptr : static_cast<Stub*>(it->second);
  }

  std::vector<RequestRecord> requests;
  // Run as each request arrives, before its stub answers; a test's fault
  // injector throws from it what the server or the transport would.
  std::function<void(const RequestRecord&)> on_request;
  // Run after the stub answered, before its reply reaches the client: what
  // it throws stands for a reply lost on the way, after the server acted.
  std::function<void(const RequestRecord&)> on_reply;

 private:
  std::unordered_map<std::type_index, void*> stubs_;
};

}  // namespace Halden::Soa::Server
