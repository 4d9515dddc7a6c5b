#include "kestrel_utils.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "corerun/clock.h"
#include "corerun/system.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/core/SessionService.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_request.h"

using Halden::Services::Core::SessionService;
using Halden::Soa::Client::Connection;
using Halden::Soa::Client::ModelObject;

namespace kestrel {

namespace {
// The values of a caller's list, for duplicate tests in constant time.
// Open addressing over indices into the list, sized once for what the list
// holds and what may be appended, so a large reply costs no allocation per
// entry; indices stay valid while the list grows.
template <class T, class Hash>
class ListIndex {
 public:
  ListIndex(std::vector<T>& list, std::size_t incoming) : list_(list) {
    std::size_t capacity = 16;
    while (capacity < 2 * (list.size() + incoming)) capacity <<= 1;
    slots_.assign(capacity, kEmpty);
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::size_t& slot = find(list[i]);
      if (slot == kEmpty) slot = i;
    }
  }

  // Appends the value unless the list already holds an equal one.
  void append_once(T value) {
    std::size_t& slot = find(value);
    if (slot != kEmpty) return;
    slot = list_.size();
    list_.push_back(std::move(value));
  }

 private:
  static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

  std::size_t& find(const T& value) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash()(value) & mask;; i = (i + 1) & mask)
      if (slots_[i] == kEmpty || list_[slots_[i]] == value) return slots_[i];
  }

  std::vector<T>& list_;
  std::vector<std::size_t> slots_;
};

// Pointers are aligned, so their low bits alone would crowd a few slots.
struct PointerHash {
  std::size_t operator()(const void* p) const {
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(p) >> 4) * 0x9E3779B97F4A7C15ull >> 16);
  }
};

using HostObjectIndex = ListIndex<Orvane::PdmSoa::ModelObject*, PointerHash>;

void append_host_objects(const std::vector<ModelObject*>& objects, HostObjects* list) {
  if (!list || objects.empty()) return;
  HostObjectIndex index(*list, objects.size());
  for (ModelObject* object : objects)
    if (object) index.append_once(host_object_of(object));
}

}  // namespace

Halden::Soa::Client::ModelManager* get_model_manager() { return get_model_manager(KESTREL_HERE); }

bool digest_service_data(const Halden::Soa::Client::ServiceData& reply, HostObjects* created, HostObjects* updated,
                         HostObjects* plain, HostObjects* error_objects, std::vector<UString>* deleted_uids) {
  append_host_objects(reply.getCreatedObjects(), created);
  append_host_objects(reply.getUpdatedObjects(), updated);
  append_host_objects(reply.getPlainObjects(), plain);

  if (deleted_uids && !reply.getDeletedObjects().empty()) {
    ListIndex<UString, std::hash<UString>> index(*deleted_uids, reply.getDeletedObjects().size());
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
    const Halden::Soa::Common::DateTime when(date->year, date->month + 1, date->day, date->hour, date->minute,
                                             date->second);
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
