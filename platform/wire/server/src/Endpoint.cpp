#include "halden/server/Endpoint.h"

#include <map>

namespace Halden::Soa::Server {
namespace {
std::map<std::string, Server*>& endpoints() {
  static std::map<std::string, Server*> map;
  return map;
}
}  // namespace

void bindEndpoint(const std::string& host, Server* server) { endpoints()[host] = server; }
void unbindEndpoint(const std::string& host) { endpoints().erase(host); }
Server* findEndpoint(const std::string& host) {
  auto it = endpoints().find(host);
  return it == endpoints().end() ? nullptr : it->second;
}
}  // namespace Halden::Soa::Server
