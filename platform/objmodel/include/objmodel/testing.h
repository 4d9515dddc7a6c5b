// Controls of the host object-model stand-in for tests and the demo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "objmodel/ModelObject.h"

namespace objmodel::testing {

void set_default_iiop_string(const std::string& address);
void set_http(bool http);
void set_start_hxserver(bool started);
// What SoaManager::UseSoaInPdi answers; true at first.
void set_use_soa_in_pdi(bool use);
// UIDs the host object manager fails to make host objects for (it throws
// std::runtime_error), as when the host runs out of memory.
void set_unwrappable_uids(std::vector<std::string> uids);
// The host throws std::bad_alloc when asked to wrap a server object once
// this many more wraps succeeded; negative: never (the default).
void fail_wrapping_after(int wraps);
// Forgets the services list, host objects, known items and reports; keeps
// the table; unwrappable UIDs too.
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
// The next times calls of ClassificationObject::ConstructObjectFromUid answer null.
void refuse_construct_from_uid(int times);
void reset_config_rules();

// What PDI_ask_appdata_partrev answers for a dataset tag; a tag never set
// answers 1 and leaves the outputs alone.
void set_appdata_partrev(tag_t dataset, tag_t item_revision, int status = 0);
// What PDI_ask_appdata_access answers; a tag never set answers 0 with flags 2.
void set_appdata_access(tag_t dataset, int flags, int status = 0);
int appdata_access_calls();
void reset_appdata();

}  // namespace objmodel::testing
