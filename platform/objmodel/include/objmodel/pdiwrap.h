// The host's PDM interface: its current revision rule and error handling.
#pragma once

#include "objmodel/ModelObject.h"

// Texts come back in SM_alloc memory that the caller frees with SM_free, or
// null. The flag asks the host for its own (true) or the session's rule.
int PDIWRAP_ask_configuration_rule(bool own, char** name);
int PDIWRAP_ask_config_rule_GUID(bool own, char** guid);
// The host's settings of a rule; the outputs are written for any name.
int PDIWRAP_ask_config_rule_status(const char* name, bool own, bool* has_date, bool* today, bool* has_unit,
                                   bool* use_unit, char** date, int* unit_no);

// Lets the next host call report its errors without raising them.
void PDI_allow_all_errors();

// The item revision of a CAD dataset (the second tag is the host's own); 0 on
// success.
int PDI_ask_appdata_partrev(tag_t dataset, tag_t* item_revision, tag_t* second);
// The host's access flags of a dataset; bit value 2 means write access. 0 on
// success.
int PDI_ask_appdata_access(tag_t dataset, int* flags);
