#include "kestrel_utils.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "corerun/clock.h"
#include "corerun/system.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/core/SessionService.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_dates.h"
#include "kestrel_host.h"
#include "kestrel_pointer_table.h"
#include "kestrel_request.h"

using Halden::Services::Core::SessionService;
using Halden::Soa::Client::Connection;
using Halden::Soa::Client::ModelObject;

namespace kestrel {

namespace {

std::size_t probe_count = 0;

// The pointers of a caller's list, for duplicate tests in constant time:
// open addressing over the pointers themselves, so a probe reads the table
// alone; sized once for what the list holds and what may be appended.
class PointerIndex {
 public:
  using Pointer = Orvane::PdmSoa::ModelObject*;
  PointerIndex(std::vector<Pointer>& list, std::size_t incoming)
      : list_(list), slots_(half_full_capacity(list.size() + incoming), nullptr) {
    for (Pointer value : list) insert(value);
  }

  // Appends the value unless the list already holds it.
  void append_once(Pointer value) {
    if (insert(value)) list_.push_back(value);
  }

 private:
  // True when the value was not yet held.
  bool insert(Pointer value) {
    if (!value) return !std::exchange(null_held_, true);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = address_slot(value) & mask;; i = (i + 1) & mask) {
      ++probe_count;
      if (slots_[i] == value) return false;
      if (!slots_[i]) {
        slots_[i] = value;
        return true;
      }
    }
  }

  std::vector<Pointer>& list_;
  std::vector<Pointer> slots_;
  bool null_held_ = false;
};

// The texts of a caller's list, likewise; over indices into the list, which
// stay valid while it grows.
class TextIndex {
 public:
  TextIndex(std::vector<UString>& list, std::size_t incoming)
      : list_(list), slots_(half_full_capacity(list.size() + incoming), kEmpty) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::size_t& slot = find(list[i]);
      if (slot == kEmpty) slot = i;
    }
  }

  void append_once(UString value) {
    std::size_t& slot = find(value);
    if (slot != kEmpty) return;
    slot = list_.size();
    list_.push_back(std::move(value));
  }

 private:
  static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

  std::size_t& find(const UString& value) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = std::hash<UString>()(value) & mask;; i = (i + 1) & mask) {
      ++probe_count;
      if (slots_[i] == kEmpty || list_[slots_[i]] == value) return slots_[i];
    }
  }

  std::vector<UString>& list_;
  std::vector<std::size_t> slots_;
};

using HostObjectIndex = PointerIndex;

void append_host_objects(const std::vector<ModelObject*>& objects, HostObjects* list) {
  if (!list || objects.empty()) return;
  HostObjectIndex index(*list, objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) {
    prefetch_ahead(objects, i);
    if (objects[i]) index.append_once(host_object_of(objects[i]));
  }
}

}  // namespace

std::size_t digest_probes() { return probe_count; }

Halden::Soa::Client::ModelManager* get_model_manager() { return get_model_manager(KESTREL_HERE); }

bool digest_service_data(const Halden::Soa::Client::ServiceData& reply, HostObjects* created, HostObjects* updated,
                         HostObjects* plain, HostObjects* error_objects, std::vector<UString>* deleted_uids) {
  append_host_objects(reply.getCreatedObjects(), created);
  append_host_objects(reply.getUpdatedObjects(), updated);
  append_host_objects(reply.getPlainObjects(), plain);

  if (deleted_uids && !reply.getDeletedObjects().empty()) {
    TextIndex index(*deleted_uids, reply.getDeletedObjects().size());
    for (const auto& uid : reply.getDeletedObjects()) index.append_once(UString(uid));
  }

  bool clean = true;
  std::optional<HostObjectIndex> named;
  if (error_objects) named.emplace(*error_objects, reply.sizeOfPartialErrors());
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
    if (named) named->append_once(host_object_of(associated));
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
    const Halden::Soa::Common::DateTime when = kestrel::date_time_from_fields(*date);
    const std::string text = when.toString();
    if (kestrel::debug_enabled(kestrel::kDebugSoa))
      RDEBUG_print_message("KRAL SOA debug: KESTREL_get_datetime_string  time=%s\n", text.c_str());  // two blanks, kept
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
  // No newlines between the names: the listing as hosts' logs show it.
  if (debug) RDEBUG_print_message("KRAL SOA debug: Halden server reports following SOA services available:");
  for (auto& name : names) {
    if (debug) RDEBUG_print_message("%s", name.c_str());
    list->push_back(std::move(name));
  }
  if (debug) RDEBUG_print_message("KRAL SOA debug: End of available services\n");
  return list.release();
}

std::vector<std::string> KESTREL_ask_type_hierarchy(const Halden::Soa::Client::ModelObject* object) {
  std::vector<std::string> names;
  names.reserve(5);
  if (!object) return names;
  for (const Halden::Soa::Client::Type* type = object->getType(); type; type = type->getParent())
    names.push_back(type->getName());
  return names;
}
