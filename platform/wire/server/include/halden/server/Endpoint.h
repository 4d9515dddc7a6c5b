// Where connections find their server: a process-wide map from host text to
// endpoint. Servers bind themselves here; the framework only looks up.
#pragma once

#include <string>

namespace Halden::Soa::Server {

class Server;

void bindEndpoint(const std::string& host, Server* server);
void unbindEndpoint(const std::string& host);
Server* findEndpoint(const std::string& host);

}  // namespace Halden::Soa::Server
