#include "kestrel_utils.h"

#include <memory>
#include <unordered_set>

#include "corerun/clock.h"
#include "corerun/system.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/core/SessionService.h"
#include "halden/soa/common/DateTime.h"

using Halden::Services::Core::SessionService;
using Halden::Soa::Client::Connection;
using Halden::Soa::Client::ModelObject;

namespace kestrel {

namespace {
Halden::Soa::Client::ModelManager* model_manager_cache = nullptr;

constexpr const char* kNoConnection = "SOA: No connection object - SOA unavailable or not initialized";

// Appends each object's host object once, seeding the duplicate test with
// what the list already holds.
void append_host_objects(const std::vector<ModelObject*>& objects, HostObjects* list) {
  if (!list || objects.empty()) return;
  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  std::unordered_set<Orvane::PdmSoa::ModelObject*> present(list->begin(), list->end());
  for (ModelObject* object : objects) {
    auto* host = manager->WrapSoaObjectWithUid(UString(object->getUid()), object);
    if (present.insert(host).second) list->push_back(host);
  }
}
}  // namespace

bool debug_enabled(const char* flag) { return MACH__checking_level >= 1 && RDEBUG_ask_flag(flag); }

Connection* require_connection(Site site) {
  Connection* connection = KESTREL_ask_connection();
  if (!connection) ERROR_raise(site.file, site.line, 940209, "%s", kNoConnection);
  return connection;
}

Halden::Soa::Client::ModelManager* get_model_manager() {
  Connection* connection = KESTREL_ask_connection();
  if (!connection) KESTREL_RAISE(940209, "%s", kNoConnection);
  if (!model_manager_cache) model_manager_cache = connection->getModelManager();
  return model_manager_cache;
}

void reset_model_manager_cache() { model_manager_cache = nullptr; }

bool digest_service_data(const Halden::Soa::Client::ServiceData& reply, HostObjects* created, HostObjects* updated,
                         HostObjects* plain, HostObjects* error_objects, std::vector<UString>* deleted_uids) {
  append_host_objects(reply.getCreatedObjects(), created);
  append_host_objects(reply.getUpdatedObjects(), updated);
  append_host_objects(reply.getPlainObjects(), plain);

  if (deleted_uids && !reply.getDeletedObjects().empty()) {
    std::unordered_set<UString> present(deleted_uids->begin(), deleted_uids->end());
    for (const auto& uid : reply.getDeletedObjects()) {
      UString u(uid);
      if (present.insert(u).second) deleted_uids->push_back(std::move(u));
    }
  }

  bool clean = true;
  std::unordered_set<Orvane::PdmSoa::ModelObject*> named;
  if (error_objects) named.insert(error_objects->begin(), error_objects->end());
  for (const auto& stack : reply.getPartialErrors()) {
    bool severe = false;
    for (const auto& value : stack.getErrorValues()) {
      if (value.getLevel() != 3) continue;
      ERROR_lprintf("KRAL SOA ServiceData error: %s\n", value.getMessage().c_str());
      severe = true;
    }
    if (!severe) continue;
    clean = false;
    ModelObject* associated = stack.getAssociatedModelObject();
    if (!associated) continue;
    ERROR_lprintf("KRAL SOA ServiceData associated uid: %s\n", associated->getUid().c_str());
    if (!error_objects) continue;
    auto* host =
        Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectWithUid(UString(associated->getUid()), associated);
    if (named.insert(host).second) error_objects->push_back(host);
  }
  return clean;
}

void set_pom_refresh_mode(bool enabled) {
  soa_request_without_policy<Halden::Services::Internal::Core::SessionService>(
      KESTREL_HERE, [&](auto& session) { session.refreshPOMCachePerRequest(enabled); });
}

}  // namespace kestrel

std::vector<std::string> KESTREL_ask_preference_values(const std::string& scope, const std::string& name) {
  auto reply = kestrel::soa_request<SessionService>(
      KESTREL_HERE, [&](SessionService& session) { return session.getPreferences(scope, {name}); });
  return reply.preferences.getPreference(name);
}

std::map<std::string, std::vector<std::string>>* KESTREL_ask_preferences(const std::string& scope,
                                                                         const std::vector<std::string>& names) {
  auto reply = kestrel::soa_request<SessionService>(
      KESTREL_HERE, [&](SessionService& session) { return session.getPreferences(scope, names); });
  return new std::map<std::string, std::vector<std::string>>(reply.preferences.getPreferences());
}

UString KESTREL_get_datetime_string(const date_s* date) {
  if (date && CLOCK_valid_date(date) && CLOCK_compare_dates(date, &null_date) != 0) {
    const Halden::Soa::Common::DateTime when(date->year, date->month + 1, date->day, date->hour, date->minute,
                                             date->second);
    const std::string text = when.toString();
    if (kestrel::debug_enabled(kestrel::kDebugSoa))
      RDEBUG_print_message("KRAL SOA debug: KESTREL_get_datetime_string  time=%s\n", text.c_str());
    return StringToUString(text);
  }
  return StringToUString(Halden::Soa::Common::DateTime::getNullDate().toString());
}

std::vector<std::string>* KESTREL_list_available_services() {
  auto names = kestrel::soa_request_without_policy<SessionService>(
      KESTREL_HERE, [](SessionService& session) { return session.getAvailableServices(); });
  auto list = std::make_unique<std::vector<std::string>>();
  list->reserve(names.size());
  const bool debug = kestrel::debug_enabled(kestrel::kDebugSoa);
  if (debug) RDEBUG_print_message("KRAL SOA debug: Halden server reports following SOA services available:");
  for (auto& name : names) {
    if (debug) RDEBUG_print_message("%s", name.c_str());
    list->push_back(std::move(name));
  }
  if (debug) RDEBUG_print_message("KRAL SOA debug: End of available services\n");
  return list.release();
}

std::string KESTREL_ask_connection_option(int attempts, int sleep_seconds, const std::string& user,
                                          const std::string& password, const std::string& group) {
  // Declared in this order so the connection goes before its credential manager.
  auto credentials = std::make_unique<LoginCredentials>(
      new Halden::Soa::Client::CredentialManager::Credentials(user, password, group, "", ""));
  auto connection = std::make_unique<Connection>(Orvane::PdmSoa::SoaManager::GetDefaultIiopString(), credentials.get(),
                                                 Halden::Soa::Client::IIOP, Halden::Soa::Client::REST, true);

  const int tries = attempts > 0 ? attempts : 1;
  std::string result;
  for (int i = 1; i <= tries; ++i) {
    try {
      result = connection->getOption(7);
    } catch (const Halden::Soa::Client::RuntimeException& e) {
      ERROR_lprintf("SOA: getOption failed: exception type: %d: %s\n", e.getType(), e.what());
    } catch (...) {
      ERROR_lprintf("SOA: runtime error calling getOption\n");
    }
    if (!result.empty()) break;
    if (sleep_seconds >= 1 && i < tries) POSIX_sleep(sleep_seconds);
  }
  return result;
}
