#include "halden/server/TestServer.h"

namespace Halden::Soa::Server {

TestServer::TestServer(std::string host) : host_(std::move(host)) { bindEndpoint(host_, &server); }

TestServer::~TestServer() { unbindEndpoint(host_); }

}  // namespace Halden::Soa::Server
