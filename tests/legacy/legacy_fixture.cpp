#include "legacy_fixture.h"

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/testing.h"
#include "objmodel/testing.h"
#include "srvtools/testing.h"

namespace kestrel::test {

LegacyTest::LegacyTest() {
  corerun::testing::reset();
  objmodel::testing::reset();  // the host's current rule, asked through cadlink
  cadlink::testing::reset();
  srvtools::testing::reset();
  Halden::Soa::Client::testing::reset();
  int version = 0;
  table = KESTREL_init_module(&version);
}

void LegacyTest::Connect(const char* protocol) {
  table->KESTREL_create_connection(kHost, protocol, "engineer", "secret", "Engineering", "Designer", "");
}

std::vector<std::string> LegacyTest::Requests() const {
  std::vector<std::string> names;
  for (const auto& r : server.requests) names.push_back(r.operation);
  return names;
}

}  // namespace kestrel::test
