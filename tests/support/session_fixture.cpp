#include "support/session_fixture.h"

#include <sstream>

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/testing.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "srvtools/testing.h"

namespace kestrel::test {

std::string log_text() { return corerun::testing::log(); }

std::vector<std::string> log_lines() {
  std::vector<std::string> lines;
  std::istringstream in(corerun::testing::log());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void clear_log() { corerun::testing::clear_log(); }

SessionTest::SessionTest() {
  // One reset per stand-in.
  corerun::testing::reset();
  objmodel::testing::reset();
  cadlink::testing::reset();
  srvtools::testing::reset();
  Halden::Soa::Client::testing::reset();

  int version = 0;
  table = KESTREL_init_module(&version);
  Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
  objmodel::testing::set_default_iiop_string(kHost);
}

SessionTest::~SessionTest() { Orvane::PdmSoa::SoaManager::SetSoaInterface(nullptr); }

void SessionTest::Connect(const char* protocol) {
  table->KESTREL_create_connection(kHost, protocol, "engineer", "secret", "Engineering", "Designer", "", false);
}

void SessionTest::ConnectAndLogin() {
  Connect();
  table->KESTREL_login("engineer", "secret", true);
}

std::vector<std::string> SessionTest::Requests() const {
  std::vector<std::string> names;
  for (const auto& r : server.requests) names.push_back(r.operation);
  return names;
}

}  // namespace kestrel::test
