// Revision rules: the process-wide rule cache, the entry points that select,
// read, list and persist the rule, and the rule configuration of requests.
#pragma once

#include <memory>

#include "halden/services/cad/StructuremanagementService.h"

// The entry points report 0 on success and 920000 on failure (also for a null
// output pointer, with nothing written); they raise only where a server call,
// a date check or the host's rule object fails.
int KESTREL_set_configuration_rule(const char* rule_name, bool persist);
int KESTREL_ask_config_rule_GUID(bool from_preference, char** uid_out);
int KESTREL_ask_configuration_rule(bool from_preference, char** name_out);
int KESTREL_set_config_rule_all(const char* rule_name, const char* date, bool use_unit, int unit_no, bool persist);
int KESTREL_ask_config_rule_status(const char* rule_name, bool from_preference, bool* has_date, bool* today,
                                   bool* has_unit, bool* use_unit, char** date_out, int* unit_no);
int KESTREL_list_configuration_rules(int* count, char*** names);
int KESTREL_ask_config_rule_has_precise(bool from_preference, bool* has_precise);

// A configuration of the current rule for one request (client id: the rule's
// name; rule object; date; unit number 0; today false), or null when there is
// no current rule. The rule cache is left unchanged.
std::unique_ptr<Halden::Services::Cad::RevisionRuleConfigInfo> KESTREL_get_soa_config_rule();
