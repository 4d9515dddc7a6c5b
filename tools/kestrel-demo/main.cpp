// A small host: loads libkestrel.so, takes its table and runs a session
// against the sample world, printing what happens. It uses the library only
// through the table.
#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/server/Endpoint.h"
#include "halden/server/SampleWorld.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/SoaManager.h"

namespace {

constexpr const char* kHost = "http://sample-world:7001/kestrel";

using InitModule = const KESTREL_interface_s* (*)(int*);

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : KESTREL_LIBRARY_PATH;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
    return 1;
  }
  auto init = reinterpret_cast<InitModule>(dlsym(library, "KESTREL_init_module"));
  if (!init) {
    std::fprintf(stderr, "%s has no KESTREL_init_module\n", path);
    return 1;
  }

  int version = 0;
  const KESTREL_interface_s* table = init(&version);
  Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
  std::printf("loaded libkestrel, interface version %d\n", version);

  Halden::Soa::Server::SampleWorld world;
  Halden::Soa::Server::Server server;
  server.session = &world;
  server.datamanagement = &world;
  server.connection = &world;
  Halden::Soa::Server::bindEndpoint(kHost, &server);
  corerun::testing::echo_log(stderr);

  try {
    table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    table->KESTREL_login("engineer", "secret", true);
    const UserGroupRole who = table->KESTREL_ask_user_group_role();
    std::printf("logged in as %s (%s / %s)\n", who.user.c_str(), who.group.c_str(), who.role.c_str());

    std::unique_ptr<std::vector<std::string>> services(table->KESTREL_list_available_services());
    std::printf("the server offers %zu services:\n", services->size());
    for (const auto& name : *services) std::printf("  %s\n", name.c_str());

    const auto rule = table->KESTREL_ask_preference_values("user", "HX_config_rule_name");
    std::printf("preference HX_config_rule_name = %s\n", rule.empty() ? "(none)" : rule.front().c_str());

    table->KESTREL_logout(true);
    std::printf("logged out\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
