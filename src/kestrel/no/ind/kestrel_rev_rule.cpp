#include "kestrel_rev_rule.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/tovmgr.h"
#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "halden/services/administration/PreferencemanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/client/Exceptions.h"
#include "kestrel_call.h"
#include "kestrel_object.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "objmodel/SoaManager.h"
#include "objmodel/pdiwrap.h"

using Halden::Services::Administration::PreferencemanagementService;
using Halden::Services::Cad::RevisionRuleConfigInfo;
using Halden::Services::Cad::StructuremanagementService;
using Halden::Soa::Client::Model::CFMPreciseEntry;
using Halden::Soa::Client::Model::CFMStatusEntry;
using Halden::Soa::Client::Model::CFMUnitNoEntry;
using Halden::Soa::Client::Model::RevisionRule;

namespace {

constexpr int kFailure = 920000;
constexpr const char* kToday = "Today";
constexpr const char* kRulePreference = "HX_config_rule_name";

using kestrel::or_empty;
using kestrel::SmString;

// One revision rule as the library keeps it.
struct RevRuleRecord {
  std::string name;
  RevisionRule* rule = nullptr;
  int unit_no = 0;
  bool has_unit = false;
  bool use_unit = false;
  SmString date;  // "Today" or an XML date-time, as the host gave it
  bool has_date = false;
  bool today = false;
};

// Shared, so that a record made for a rule the server did not list goes
// away once neither a caller nor a selection holds it.
using Record = std::shared_ptr<RevRuleRecord>;

struct RuleState {
  std::vector<Record> rev_rule_cache;
  Record current_rev_rule;
  Record preference_rev_rule;
  bool building = false;
};

// Kept for the life of the process: never destroyed, so nothing at exit
// touches framework objects the records point at.
RuleState& rules() {
  static RuleState* state = new RuleState;
  return *state;
}

bool debugging() { return kestrel::debug_enabled(kestrel::kDebugSoa); }

struct FetchedRule {
  std::string name;
  RevisionRule* rule;
};

std::vector<FetchedRule> fetch_revision_rules() {
  auto reply = kestrel::soa_request<StructuremanagementService>(
      KESTREL_HERE, [](StructuremanagementService& service) { return service.getRevisionRules(); });
  std::vector<FetchedRule> fetched;
  fetched.reserve(reply.output.size());
  for (const auto& output : reply.output) {
    if (!output.revRule) continue;
    Halden::Soa::Client::Property* name = kestrel::get_property_force_load(output.revRule, "object_name");
    fetched.push_back({name ? name->getStringValue() : std::string(), output.revRule});
  }
  return fetched;
}

// The entry list outside the policy is loaded on its own; that request
// converts no exceptions.
std::size_t count_rule_entries(RevisionRule* rule) {
  try {
    return rule->count_entry_list();
  } catch (const Halden::Soa::Client::NotLoadedException&) {
  }
  kestrel::soa_request_unconverted<Halden::Services::Core::DatamanagementService>(
      KESTREL_HERE, [&](auto& dm) { dm.getProperties({rule}, {"entry_list"}); });
  Halden::Soa::Client::Property* entries = rule->getProperty("entry_list");
  return entries ? entries->getModelObjectArrayValue().size() : 0;
}

bool rule_has_date_entry(RevisionRule* rule) {
  const std::size_t count = count_rule_entries(rule);
  for (std::size_t i = 0; i < count; ++i) {
    auto* status = dynamic_cast<CFMStatusEntry*>(rule->get_entry_list_at(i));
    if (!status) continue;
    Halden::Soa::Client::Property* date_type = kestrel::get_property_force_load(status, "date_type");
    if (!date_type) continue;
    const int type = date_type->getIntValue();
    if (type == 0 || type == 1) return true;
  }
  return false;
}

bool rule_has_unit_entry(RevisionRule* rule) {
  const std::size_t count = count_rule_entries(rule);
  for (std::size_t i = 0; i < count; ++i)
    if (dynamic_cast<CFMUnitNoEntry*>(rule->get_entry_list_at(i))) return true;
  return false;
}

void find_or_create_rev_rule(const char* name, Record& target);

// The list becomes the cache only once every rule was read, so a build that
// fails part-way leaves the next caller to build again.
int build_rev_rule_cache() {
  RuleState& state = rules();
  if (state.building || !state.rev_rule_cache.empty()) return 0;
  const kestrel::FlagScope building(state.building);
  int status = 0;
  try {
    std::vector<Record> cache;
    for (auto& fetched : fetch_revision_rules()) {
      auto record = std::make_shared<RevRuleRecord>();
      record->name = std::move(fetched.name);
      record->rule = fetched.rule;
      record->has_date = rule_has_date_entry(fetched.rule);
      record->has_unit = rule_has_unit_entry(fetched.rule);
      cache.push_back(std::move(record));
    }
    state.rev_rule_cache = std::move(cache);

    char* host_name = nullptr;
    status = PDIWRAP_ask_configuration_rule(false, &host_name);
    SmString name(host_name);
    find_or_create_rev_rule(name.get(), state.current_rev_rule);
  } catch (const std::exception& e) {
    // Logged and dropped: the entry point goes on with what the cache holds.
    Orvane::Error::Severe error = Orvane::Error::Severe::Convert(e);
    error.AddLocation(__FILE_NAME__, __LINE__);
    ERROR_lprintf("KRAL SOA debug: Caught error code in SOA version of list_configuration_rules %d\n", error.Code());
  } catch (...) {
    // No error object to convert: logged with no code, and dropped alike.
    ERROR_lprintf("KRAL SOA debug: Caught error code in SOA version of list_configuration_rules %d\n", 0);
  }
  return status;
}

// The host's settings of a rule, its date kept in XML form.
void take_host_settings(const char* name, RevRuleRecord& record) {
  char* host_date = nullptr;
  PDIWRAP_ask_config_rule_status(name, false, &record.has_date, &record.today, &record.has_unit, &record.use_unit,
                                 &host_date, &record.unit_no);
  SmString date(host_date);
  if (!date) return;
  date_s when{};
  if (CLOCK_string_to_date(date.get(), &when) != 0) return;
  char xml[CLOCK_XML_DATE_SIZE];
  if (CLOCK_get_date_XML_string(&when, xml, sizeof xml) != 0) return;
  record.date.reset(SM_string_copy(xml));
}

// The host's current rule object; 940032 when its GUID names none.
RevisionRule* construct_host_rule(const char* guid) {
  Halden::Soa::Client::ModelObject* object = kestrel::get_model_manager()->constructTypedObject("RevisionRule", guid);
  // Hosts match these texts as they are, a literal backslash and "n" at the
  // end included (the window's copies end in a newline); keep them.
  if (!object) KESTREL_RAISE(940032, "KRAL SOA: construct object failed on uid = %s\\n", guid);
  auto* rule = dynamic_cast<RevisionRule*>(object);
  if (!rule) KESTREL_RAISE(940032, "KRAL SOA: Cast to item revision failed, uid = %s\\n", guid);
  return rule;
}

// A name the cache does not hold, or a target that already holds a record,
// keeps the target's record.
void find_or_create_rev_rule(const char* name, Record& target) {
  build_rev_rule_cache();
  const std::vector<Record>& cache = rules().rev_rule_cache;
  if (cache.empty() || !name) return;
  const auto found = std::find_if(cache.begin(), cache.end(), [&](const Record& r) { return r->name == name; });
  if (found != cache.end()) target = *found;
  if (target) return;

  // A rule the server did not list: the host's current rule object under this
  // name, with the host's settings; without a host GUID an empty record.
  auto record = std::make_shared<RevRuleRecord>();
  char* host_guid = nullptr;
  PDIWRAP_ask_config_rule_GUID(false, &host_guid);
  SmString guid(host_guid);
  if (guid) {
    record->rule = construct_host_rule(guid.get());
    guid.reset();
    record->name = name;
    take_host_settings(name, *record);
  }
  target = std::move(record);
}

// The record asked for: the preference's, or the current one.
Record selected_record(bool from_preference) {
  if (!from_preference) return rules().current_rev_rule;
  char* name = nullptr;
  KESTREL_ask_configuration_rule(true, &name);
  const SmString unused(name);  // asked only for the record it selects
  return rules().preference_rev_rule;
}

void persist_rule_preference(const char* rule_name) {
  using namespace Halden::Services::Administration;
  PreferenceInfo preference;
  preference.definition = {kRulePreference, "", "", "User", "STRING", false, false};
  preference.values = {{"Halden", {rule_name}}};
  const std::vector<SetPreferencesIn> input = {{"User", {preference}}};
  kestrel::soa_request<PreferencemanagementService>(
      KESTREL_HERE, [&](PreferencemanagementService& service) { service.setPreferences(input); });
}

// Selects the rule, persisting it first when asked; the record, or none.
Record select_rule(const char* rule_name, bool persist) {
  Record record;
  find_or_create_rev_rule(rule_name, record);
  // Nothing names a rule to persist without a name; the preference record
  // changes only once the preference was written.
  if (persist && rule_name) {
    persist_rule_preference(rule_name);
    rules().preference_rev_rule = record;
  }
  if (record) rules().current_rev_rule = record;
  if (debugging())
    // No blank after the comma: the line as hosts' logs show it.
    RDEBUG_print_message("KESTREL_set_configuration_rule returns status = %d,setting rule = %s", record ? 0 : kFailure,
                         or_empty(rule_name));
  return record;
}

bool is_valid_rule_date(const char* date) {
  date_s when{};
  if (CLOCK_xml_dateTime_to_date(date, nullptr, nullptr, &when) != 0) return false;
  return static_cast<std::int16_t>(when.year) >= 1000;
}

// The date a record keeps: none for no or an empty text, else a copy of
// "Today" or of an XML date from the year 1000; 920029 for any other text.
char* rule_date_copy(const char* date) {
  if (!date || !*date) return nullptr;
  if (std::strcmp(date, kToday) != 0 && !is_valid_rule_date(date)) KESTREL_RAISE(920029, "Invalid date string.");
  return SM_string_copy(date);
}

}  // namespace

int KESTREL_set_configuration_rule(const char* rule_name, bool persist) {
  return select_rule(rule_name, persist) ? 0 : kFailure;
}

int KESTREL_ask_config_rule_GUID(bool from_preference, char** uid_out) {
  if (!uid_out) return kFailure;
  build_rev_rule_cache();
  const Record record = selected_record(from_preference);
  int status = kFailure;
  *uid_out = nullptr;
  if (record && record->rule) {
    *uid_out = SM_string_copy_persistent(record->rule->getUid().c_str());
    status = 0;
  }
  if (debugging())
    RDEBUG_print_message("KESTREL_ask_config_rule_GUID returns: status = %d, GUID = %s", status, or_empty(*uid_out));
  return status;
}

int KESTREL_ask_configuration_rule(bool from_preference, char** name_out) {
  if (!name_out) return kFailure;
  int status = kFailure;
  SmString name;
  build_rev_rule_cache();
  RuleState& state = rules();
  if (from_preference) {
    PDI_allow_all_errors();
    int count = 0;
    char** values = nullptr;
    const int answer = TOVMGR_ask_hx_pref_values(TOVMGR__hx_config_rule_name, &count, &values);
    if (answer == 0 && count >= 1) {
      ERROR_lprintf("HX_config_rule_name returned as [%s]\n", values[0]);
      name.reset(SM_string_copy_persistent(values[0]));
    }
    TOVMGR_free_pdi_string_array(count, values);
    find_or_create_rev_rule(name.get(), state.preference_rev_rule);
    if (name) status = 0;
  } else if (state.current_rev_rule && !state.current_rev_rule->name.empty()) {
    name.reset(SM_string_copy_persistent(state.current_rev_rule->name.c_str()));
    if (name) status = 0;
  }
  *name_out = name.release();
  if (debugging())
    RDEBUG_print_message("KESTREL_ask_configuration_rule returns: status = %d, Name = %s", status, or_empty(*name_out));
  return status;
}

int KESTREL_set_config_rule_all(const char* rule_name, const char* date, bool use_unit, int unit_no, bool persist) {
  Record record;
  if (persist) {
    record = select_rule(rule_name, true);
  } else {
    find_or_create_rev_rule(rule_name, record);
  }
  if (record) {
    record->today = false;
    record->date.reset();  // dropped also when the new date is rejected
    record->date.reset(rule_date_copy(date));
    record->use_unit = use_unit;
    record->unit_no = unit_no;
  }
  rules().current_rev_rule = record;
  if (debugging()) RDEBUG_print_message("KESTREL_set_config_rule_all");
  return 0;
}

int KESTREL_ask_config_rule_status(const char* rule_name, bool from_preference, bool* has_date, bool* today,
                                   bool* has_unit, bool* use_unit, char** date_out, int* unit_no) {
  if (!has_date || !today || !has_unit || !use_unit || !date_out || !unit_no) return kFailure;
  Record record;
  if (from_preference) {
    record = selected_record(true);
  } else {
    find_or_create_rev_rule(rule_name, record);
  }
  if (debugging()) RDEBUG_print_message("KESTREL_ask_config_rule_status");
  if (!record) return kFailure;
  *has_date = record->has_date;
  *today = record->today;
  *has_unit = record->has_unit;
  *use_unit = record->use_unit;
  *unit_no = record->unit_no;
  *date_out = record->date ? SM_string_copy_persistent(record->date.get()) : nullptr;
  return 0;
}

int KESTREL_list_configuration_rules(int* count, char*** names) {
  if (!count || !names) return kFailure;
  build_rev_rule_cache();
  const bool debug = debugging();
  if (debug) RDEBUG_print_message("KRAL SOA debug: Using SOA version of list_configuration_rules");
  const auto& cache = rules().rev_rule_cache;
  char** list = nullptr;
  if (!cache.empty()) {
    list = static_cast<char**>(SM_alloc_persistent(cache.size() * sizeof(char*)));
    for (std::size_t i = 0; i < cache.size(); ++i) list[i] = SM_string_copy_persistent(cache[i]->name.c_str());
  }
  *count = static_cast<int>(cache.size());
  *names = list;
  if (debug) RDEBUG_print_message("KRAL SOA debug: KESTREL_list_configuration_rules returning status = %d", 0);
  return 0;
}

int KESTREL_ask_config_rule_has_precise(bool from_preference, bool* has_precise) {
  if (!has_precise) return kFailure;
  *has_precise = false;
  build_rev_rule_cache();
  const Record record = selected_record(from_preference);
  if (!record || !record->rule) return kFailure;
  const std::size_t count = count_rule_entries(record->rule);
  for (std::size_t i = 0; i < count; ++i) {
    if (!dynamic_cast<CFMPreciseEntry*>(record->rule->get_entry_list_at(i))) continue;
    *has_precise = true;
    if (debugging())
      RDEBUG_print_message(
          "KRAL SOA debug: KESTREL_ask_config_rule_has_precise::ask_reprev_precise returning has_precise = %s", "TRUE");
    break;
  }
  return 0;
}

std::unique_ptr<RevisionRuleConfigInfo> KESTREL_get_soa_config_rule() {
  char* current_name = nullptr;
  KESTREL_ask_configuration_rule(false, &current_name);
  SmString name(current_name);
  Record record;
  find_or_create_rev_rule(name.get(), record);
  if (!record) return nullptr;

  auto config = std::make_unique<RevisionRuleConfigInfo>();
  config->clientId = record->name;
  config->revRule = record->rule;
  config->unitNo = 0;
  config->today = false;
  const char* date = record->date.get();
  if (!record->has_date || !date || !*date || std::strcmp(date, kToday) == 0) return config;

  std::string text = date;
  date_s when{};
  if (CLOCK_xml_dateTime_to_date(text.c_str(), nullptr, nullptr, &when) != 0) return config;
  // A date alone configures at noon.
  if (text.find('T') == std::string::npos) text += "T12:00:00-0:00";
  config->date = Halden::Soa::Common::DateTime(text);
  return config;
}
