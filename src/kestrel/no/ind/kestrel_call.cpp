#include "kestrel_call.h"

#include "corerun/system.h"

namespace kestrel {

namespace {
Halden::Soa::Client::ModelManager* model_manager_cache = nullptr;
}  // namespace

bool debug_enabled(const char* flag) { return MACH__checking_level >= 1 && RDEBUG_ask_flag(flag); }

Halden::Soa::Client::Connection& require_connection(Site site) {
  Halden::Soa::Client::Connection* connection = KESTREL_ask_connection();
  if (!connection) ERROR_raise(site.file, site.line, 940209, "%s", kNoConnection);
  return *connection;
}

Halden::Soa::Client::ModelManager* get_model_manager(Site site) {
  Halden::Soa::Client::Connection& connection = require_connection(site);
  if (!model_manager_cache) model_manager_cache = connection.getModelManager();
  return model_manager_cache;
}

void reset_model_manager_cache() { model_manager_cache = nullptr; }

}  // namespace kestrel
