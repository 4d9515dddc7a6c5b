// Where connections find their server: a process-wide map from host text to
// endpoint, kept by the framework stand-in.
#pragma once

#include <string>

namespace Halden::Soa::Server {

struct Server;

void bindEndpoint(const std::string& host, Server* server);
void unbindEndpoint(const std::string& host);
Server* findEndpoint(const std::string& host);

}  // namespace Halden::Soa::Server
