#include "kestrel_relation.h"

#include <string>

#include "corerun/error.h"
#include "halden/services/core/SessionService.h"
#include "kestrel_call.h"

using Halden::Services::Core::SessionService;

namespace {

// The probe: unasked at load, then answered for the life of the process.
bool server_version_unprobed = true;
bool server_version_2007 = false;

bool begins_with(const std::string& text, const char* prefix) { return text.find(prefix) == 0; }

}  // namespace

namespace kestrel {

bool is_server_version_2007() {
  if (!server_version_unprobed) return server_version_2007;
  // No property policy and no catch clauses: framework exceptions reach the
  // caller, and the probe stays unasked.
  const std::string version =
      soa_request_on<SessionService>(require_connection(KESTREL_HERE),
                                     [](SessionService& session) { return session.getSessionInfo().serverVersion; });
  ERROR_lprintf("Halden Integration: Server version: %s\n", version.c_str());
  server_version_2007 = begins_with(version, "V2007") || begins_with(version, "P2007");
  server_version_unprobed = false;
  return server_version_2007;
}

}  // namespace kestrel
