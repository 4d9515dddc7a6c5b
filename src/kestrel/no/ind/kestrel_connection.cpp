#include "kestrel_connection.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "KestrelInternalServerException.h"
#include "KestrelListener.h"
#include "cadlink/tovmgr.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/system.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/SessionService.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "kestrel_utils.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "srvtools/hxutils.h"

using Halden::Services::Core::DatamanagementService;
using Halden::Services::Core::GetSessionInfoResponse;
using Halden::Services::Core::SessionService;
using Halden::Soa::Client::Connection;
using Halden::Soa::Client::CredentialManager;
using kestrel::FlagScope;
using kestrel::or_empty;
namespace Exceptions = Halden::Soa::Common::Exceptions;

namespace {

// What a session creates. Logout forgets it without deleting it: the
// framework may still hold the connection, its manager and its handler.
struct Session {
  Connection* connection = nullptr;
  SoaLoginCredentials* credentials = nullptr;
  Orvane::PdmSoa::KestrelInternalServerException* handler = nullptr;
  GetSessionInfoResponse* info = nullptr;
};

struct SessionState {
  Session current;
  Orvane::PdmSoa::KestrelListener* model_listener = nullptr;
  // Kept reachable for the life of the process; never deleted.
  std::vector<std::unique_ptr<Session>> retired;
  std::vector<std::unique_ptr<Orvane::PdmSoa::KestrelListener>> retired_listeners;
};

SessionState& state() {
  static SessionState* s = new SessionState;  // outlives every static destructor that might log out
  return *s;
}

Orvane::System::EnvironmentVariable& pom_refresh_variable() {
  static Orvane::System::EnvironmentVariable variable("TOVII_TOVMGR_POM_REFRESH");
  return variable;
}

SoaLoginCredentials* session_credentials(Connection* connection) {
  auto* credentials = dynamic_cast<SoaLoginCredentials*>(connection->getCredentialManager());
  if (!credentials) KESTREL_RAISE(940209, "%s", kestrel::kNoConnection);
  return credentials;
}

}  // namespace

namespace kestrel {

SessionPhase& session_phase() {
  static SessionPhase phase;
  return phase;
}

void forget_connection() {
  auto& s = state();
  if (s.current.connection || s.current.credentials || s.current.handler || s.current.info)
    s.retired.push_back(std::make_unique<Session>(s.current));
  s.current = Session{};
  reset_model_manager_cache();
}

}  // namespace kestrel

Connection* KESTREL_ask_connection() { return state().current.connection; }

void KESTREL_create_connection(const char* host, const char* protocol, const char* user, const char* password,
                               const char* group, const char* role, const char* discriminator, bool sso) {
  auto& s = state();
  auto& phase = kestrel::session_phase();
  if (s.current.connection) return;

  FlagScope initialising(phase.initialising);
  try {
    s.current.credentials = new SoaLoginCredentials(new CredentialManager::Credentials(
        or_empty(user), or_empty(password), or_empty(group), or_empty(role), or_empty(discriminator)));
    s.current.connection = new Connection(or_empty(host), s.current.credentials, kestrel::protocol_of(protocol),
                                          Halden::Soa::Client::REST, true);
    ERROR_lprintf("SOA connection created for user=%s, group=%s, role=%s, discriminator=%s\n", or_empty(user),
                  or_empty(group), or_empty(role), or_empty(discriminator));
    // The handler's class name is the system's own; it is not an exception.
    s.current.handler = new Orvane::PdmSoa::KestrelInternalServerException();  // NOLINT(bugprone-throw-keyword-missing)
    s.current.connection->setExceptionHandler(s.current.handler);
    if (sso) {
      phase.sso_mode = true;
      SM_free(phase.sso_discriminator);
      phase.sso_discriminator = SM_string_copy_persistent(or_empty(discriminator));
    }
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    kestrel::forget_connection();
    KESTREL_RAISE(940207, "SOA runtime exception creating connection: %s", e.what());
  } catch (const Exceptions::SoaException& e) {
    kestrel::forget_connection();
    KESTREL_RAISE(940207, "SOA exception creating connection: %s", e.what());
  }

  // A listener left registered by a failed logout stays with its old
  // connection; it is set aside before anything here can fail, so no later
  // logout deletes it while that connection still knows it.
  if (s.model_listener) s.retired_listeners.emplace_back(std::exchange(s.model_listener, nullptr));

  Orvane::PdmSoa::SoaManager::GetAvailableSoaServices();

  s.model_listener = new Orvane::PdmSoa::KestrelListener();
  auto* models = s.current.connection->getModelManager();
  models->addDeleteListener(s.model_listener);
  models->addPartialErrorListener(s.model_listener);

  phase.initialising = false;
  if (Orvane::PdmSoa::SoaManager::IsServiceAvailable("Internal-Core-2007-05-Session")) {
    const bool disabled = pom_refresh_variable().IsDisabled();
    kestrel::set_pom_refresh_mode(!disabled);
    ERROR_lprintf("SOA: POM refresh is %s\n", disabled ? "Disabled" : "Enabled");
  } else {
    ERROR_lprintf("SOA: Unable to set SOA POM refresh mode, service not available in this Halden version\n");
  }
}

void KESTREL_login(const char* user, const char* password, bool do_login) {
  if (!do_login) return;
  Connection& connection = kestrel::require_connection(KESTREL_HERE);
  const auto stored = session_credentials(&connection)->copyCredentials();
  const char* discriminator = kestrel::session_phase().sso_discriminator;
  kestrel::soa_request_without_policy<SessionService>(KESTREL_HERE, [&](SessionService& session) {
    session.login(or_empty(user), or_empty(password), stored.group, stored.role, or_empty(discriminator));
  });
}

int KESTREL_logout(bool terminate_server) {
  auto& s = state();
  FlagScope logging_out(kestrel::session_phase().logging_out);

  Orvane::PdmSoa::SoaManager::GetObjectManager()->ClearMaps();
  if (TOVMGR_ask_enable_AdvancedSearch()) {
    if (auto* root = TOVMGR__ask_advsearch_root()) root->Invalidate();
    TOVMGR_reset_advsearch_valid();
  }

  if (s.current.connection) {
    try {
      auto* models = kestrel::get_model_manager();
      models->removeDeleteListener(s.model_listener);
      models->removePartialErrorListener(s.model_listener);
      models->removeChangeListener(s.model_listener);
      delete s.model_listener;
      s.model_listener = nullptr;
      if (terminate_server) {
        ERROR_lprintf("Halden Integration: Terminating hxserver.\n");
        SessionService::getService(s.current.connection)->logout();
      }
    } catch (const Halden::Soa::Client::RuntimeException& e) {
      ERROR_lprintf("KRAL SOA: SOA runtime exception on exit: %s\n", e.what());
    } catch (const Exceptions::SoaException& e) {
      ERROR_lprintf("KRAL SOA: SOA exception on exit: %s\n", e.what());
    } catch (...) {
      ERROR_lprintf("KRAL SOA: Unknown SOA exception on exit\n");
    }
  }

  kestrel::forget_connection();
  return 0;
}

UserGroupRole KESTREL_ask_user_group_role() {
  const auto stored = session_credentials(&kestrel::require_connection(KESTREL_HERE))->copyCredentials();
  return UserGroupRole{stored.user, stored.group, stored.role};
}

Orvane::PdmSoa::Folder* KESTREL_ask_home_folder() {
  auto& s = state();
  if (!s.current.info) {
    // Kept only once fetched, so a failed fetch is tried again by the next call.
    auto info = std::make_unique<GetSessionInfoResponse>(kestrel::soa_request_without_policy<SessionService>(
        KESTREL_HERE, [](SessionService& session) { return session.getSessionInfo(); }));
    s.current.info = info.release();
  }
  auto* user = s.current.info->user;
  if (!user) return nullptr;

  Halden::Soa::Client::Model::Folder* folder = nullptr;
  try {
    folder = user->get_home_folder();
  } catch (...) {
    kestrel::soa_request_without_policy<DatamanagementService>(
        KESTREL_HERE, [&](DatamanagementService& dm) { dm.getProperties({user}, {"home_folder"}); });
    folder = user->get_home_folder();
  }
  return kestrel::wrap_as<Orvane::PdmSoa::Folder>(folder);
}

// Credential managers.

int SoaLoginCredentials::credentialType() { return kestrel::session_phase().sso_mode ? 1 : 0; }

CredentialManager::Credentials SoaLoginCredentials::copyCredentials() { return *credentials_; }

void SoaLoginCredentials::setLoginData(std::string user, std::string password, std::string discriminator) {
  credentials_->user = std::move(user);
  credentials_->password = std::move(password);
  credentials_->discriminator = std::move(discriminator);
}

namespace {

// Fresh single-sign-on credentials; the stored ones stay when none come back.
void refresh_sso_credentials(SoaLoginCredentials& manager) {
  char* user_text = nullptr;
  char* password_text = nullptr;
  const int status = HXUTILS_get_SSO_credentials(&user_text, &password_text);
  const kestrel::SmString user(user_text), password(password_text);
  if (status == 0 && user && password)
    manager.setLoginData(user.get(), password.get(), or_empty(kestrel::session_phase().sso_discriminator));
}

// The first rejection while connecting and every rejection while logging out
// are only logged (log_debug is told whether a connect is under way) and let
// pass; true when the rejection was handled so.
template <class LogDebug>
bool let_rejection_pass(LogDebug log_debug) {
  auto& phase = kestrel::session_phase();
  if (!phase.initialising && !phase.logging_out) return false;
  if (kestrel::debug_enabled(kestrel::kDebugSoa)) log_debug(phase.initialising);
  phase.initialising = false;
  return true;
}

}  // namespace

CredentialManager::Credentials SoaLoginCredentials::credentialsOnInvalidUser(Exceptions::InvalidUserException e) {
  if (let_rejection_pass([&](bool initialising) {
        if (initialising)
          RDEBUG_print_message("KRAL SOA debug: user exception, proceeding with SOA initialisation - exception = %s\n",
                               e.what());
        else
          RDEBUG_print_message("KRAL SOA debug: invalid user exception %s during SOA logout\n", e.what());
      }))
    return *credentials_;
  if (kestrel::session_phase().sso_mode) refresh_sso_credentials(*this);
  return *credentials_;
}

CredentialManager::Credentials SoaLoginCredentials::credentialsOnInvalidCredentials(
    Exceptions::InvalidCredentialsException e) {
  if (let_rejection_pass([&](bool initialising) {
        if (initialising)
          RDEBUG_print_message(
              "KRAL SOA debug: credentials exception, proceeding with SOA initialisation - exception = %s\n", e.what());
        else
          RDEBUG_print_message("KRAL SOA debug: credentials exception %s during SOA logout\n", e.what());
      }))
    return *credentials_;
  if (!kestrel::session_phase().sso_mode) {
    kestrel::forget_connection();
    KESTREL_RAISE(940207, "SOA invalid credentials exception: %s", e.what());
  }
  refresh_sso_credentials(*this);
  return *credentials_;
}

namespace {

// One step of the connection-option probe; a failure is logged as a failed
// attempt and answers false.
template <class Step>
bool option_probe_step(Step&& step) {
  try {
    step();
    return true;
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    ERROR_lprintf("SOA: getOption failed: exception type: %d: %s\n", e.getType(), e.what());
  } catch (...) {
    ERROR_lprintf("SOA: runtime error calling getOption\n");
  }
  return false;
}

}  // namespace

std::string KESTREL_ask_connection_option(int attempts, int sleep_seconds, const std::string& user,
                                          const std::string& password, const std::string& group) {
  // Declared in this order so the connection goes before its credential manager.
  auto credentials = std::make_unique<LoginCredentials>(
      new Halden::Soa::Client::CredentialManager::Credentials(user, password, group, "", ""));
  std::unique_ptr<Connection> connection;
  // A connection that cannot be made (no default address, say) is a failed
  // attempt, and no later one can do better.
  if (!option_probe_step([&] {
        connection = std::make_unique<Connection>(Orvane::PdmSoa::SoaManager::GetDefaultIiopString(), credentials.get(),
                                                  Halden::Soa::Client::IIOP, Halden::Soa::Client::REST, true);
      }))
    return {};

  const int tries = attempts > 0 ? attempts : 1;
  std::string result;
  for (int i = 1; i <= tries; ++i) {
    option_probe_step([&] { result = connection->getOption(7); });
    if (!result.empty()) break;
    if (sleep_seconds >= 1 && i < tries) POSIX_sleep(sleep_seconds);
  }
  return result;
}
