// Controls of the host object-model stand-in for tests and the demo.
#pragma once

#include <optional>
#include <string>

namespace objmodel::testing {

void set_default_iiop_string(const std::string& address);
void set_http(bool http);
void set_start_hxserver(bool started);
// What SoaManager::UseSoaInPdi answers; true at first.
void set_use_soa_in_pdi(bool use);
// The host throws std::bad_alloc when asked to wrap a server object once
// this many more wraps succeeded; negative: never (the default).
void fail_wrapping_after(int wraps);
// Forgets the services list, host objects, known items and reports; keeps
// the table.
void reset();

// The host's revision rules, answered by the PDIWRAP_ calls and by the PDM
// manager's rule GUID. At first the current rule is "Latest Working", GUID
// "rule-latest-working", status 0, and no rule has settings.
struct ConfigRuleStatus {
  int status = 0;
  bool has_date = false, today = false, has_unit = false, use_unit = false;
  std::optional<std::string> date;  // the host's date text, e.g. "05-Mar-2024 08:30"
  int unit_no = 0;
};
// Null name or GUID: the host has none.
void set_current_config_rule(const char* name, const char* guid, int status = 0);
void set_config_rule_status(const std::string& name, ConfigRuleStatus settings);
int allow_all_errors_calls();
void reset_config_rules();

}  // namespace objmodel::testing
