#include <map>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"
#include "corerun/memory.h"
#include "objmodel/pdiwrap.h"

namespace {
struct Values {
  std::vector<std::string> values;
  int status = 0;
};

std::map<int, Values>& hx_prefs() {
  static std::map<int, Values> prefs;
  return prefs;
}
}  // namespace

// The PDM manager and the host's PDM interface share one current rule.
int TOVMGR_VIREL_ask_config_rule_GUID(bool own, char** guid) { return PDIWRAP_ask_config_rule_GUID(own, guid); }

int TOVMGR_ask_hx_pref_values(TOVMGR__hx_prefs_e pref, int* count, char*** values) {
  *count = 0;
  *values = nullptr;
  auto it = hx_prefs().find(pref);
  if (it == hx_prefs().end()) return 0;
  if (it->second.status != 0) return it->second.status;
  const auto& texts = it->second.values;
  if (texts.empty()) return 0;
  *values = static_cast<char**>(SM_alloc(texts.size() * sizeof(char*)));
  for (std::size_t i = 0; i < texts.size(); ++i) (*values)[i] = SM_string_copy(texts[i].c_str());
  *count = static_cast<int>(texts.size());
  return 0;
}

void TOVMGR_free_pdi_string_array(int count, char** values) {
  if (!values) return;
  for (int i = 0; i < count; ++i) SM_free(values[i]);
  SM_free(values);
}

namespace cadlink::testing {
void set_hx_pref_values(int pref, std::vector<std::string> values, int status) {
  hx_prefs()[pref] = Values{std::move(values), status};
}
void clear_hx_prefs() { hx_prefs().clear(); }
}  // namespace cadlink::testing
