#include "objmodel/pdiwrap.h"

#include <map>
#include <optional>
#include <string>

#include "corerun/memory.h"
#include "objmodel/testing.h"

namespace {

constexpr int kNoRule = 920000;

struct RuleState {
  std::optional<std::string> name = std::string("Latest Working");
  std::optional<std::string> guid = std::string("rule-latest-working");
  int status = 0;
  std::map<std::string, objmodel::testing::ConfigRuleStatus> settings;
  int allow_all_errors = 0;
};

RuleState& rules() {
  static RuleState state;
  return state;
}

char* copy_of(const std::optional<std::string>& text) { return text ? SM_string_copy(text->c_str()) : nullptr; }

}  // namespace

int PDIWRAP_ask_configuration_rule(bool, char** name) {
  *name = copy_of(rules().name);
  return rules().status;
}

int PDIWRAP_ask_config_rule_GUID(bool, char** guid) {
  *guid = copy_of(rules().guid);
  return rules().guid ? 0 : kNoRule;
}

int PDIWRAP_ask_config_rule_status(const char* name, bool, bool* has_date, bool* today, bool* has_unit, bool* use_unit,
                                   char** date, int* unit_no) {
  objmodel::testing::ConfigRuleStatus settings;
  settings.status = kNoRule;
  auto it = name ? rules().settings.find(name) : rules().settings.end();
  if (it != rules().settings.end()) settings = it->second;
  *has_date = settings.has_date;
  *today = settings.today;
  *has_unit = settings.has_unit;
  *use_unit = settings.use_unit;
  *date = copy_of(settings.date);
  *unit_no = settings.unit_no;
  return settings.status;
}

void PDI_allow_all_errors() { ++rules().allow_all_errors; }

namespace {
struct AppData {
  std::map<tag_t, std::pair<tag_t, int>> partrev;
  std::map<tag_t, std::pair<int, int>> access;
  int access_calls = 0;
};
AppData& appdata() {
  static AppData data;
  return data;
}
}  // namespace

int PDI_ask_appdata_partrev(tag_t dataset, tag_t* item_revision, tag_t* second) {
  auto it = appdata().partrev.find(dataset);
  if (it == appdata().partrev.end()) return 1;
  *item_revision = it->second.first;
  *second = NULL_TAG;
  return it->second.second;
}

int PDI_ask_appdata_access(tag_t dataset, int* flags) {
  ++appdata().access_calls;
  auto it = appdata().access.find(dataset);
  if (it == appdata().access.end()) {
    *flags = 2;
    return 0;
  }
  *flags = it->second.first;
  return it->second.second;
}

namespace objmodel::testing {
void set_current_config_rule(const char* name, const char* guid, int status) {
  rules().name = name ? std::optional<std::string>(name) : std::nullopt;
  rules().guid = guid ? std::optional<std::string>(guid) : std::nullopt;
  rules().status = status;
}
void set_config_rule_status(const std::string& name, ConfigRuleStatus settings) {
  rules().settings[name] = std::move(settings);
}
int allow_all_errors_calls() { return rules().allow_all_errors; }
void reset_config_rules() { rules() = RuleState(); }
void set_appdata_partrev(tag_t dataset, tag_t item_revision, int status) {
  appdata().partrev[dataset] = {item_revision, status};
}
void set_appdata_access(tag_t dataset, int flags, int status) { appdata().access[dataset] = {flags, status}; }
int appdata_access_calls() { return appdata().access_calls; }
void reset_appdata() { appdata() = AppData(); }
}  // namespace objmodel::testing
