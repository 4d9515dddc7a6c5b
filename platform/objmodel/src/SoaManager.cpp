#include "objmodel/SoaManager.h"

#include <algorithm>
#include <memory>

#include "halden/soa/client/Connection.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/testing.h"

namespace Orvane::PdmSoa {

namespace {
struct HostState {
  std::unique_ptr<ModelObjectManager> objects = std::make_unique<ModelObjectManager>();
  std::vector<std::string> services;
  std::string iiop = "iiop://localhost:1572/kestrel";
  const KESTREL_interface_s* table = nullptr;
  bool http = false;
  bool start_hxserver = false;
  bool use_soa_in_pdi = true;
};
HostState& host() {
  static HostState state;
  return state;
}
}  // namespace

ModelObjectManager* SoaManager::GetObjectManager() { return host().objects.get(); }

const std::vector<std::string>& SoaManager::GetAvailableSoaServices() {
  const KESTREL_interface_s* table = host().table;
  if (table && table->KESTREL_list_available_services) {
    std::unique_ptr<std::vector<std::string>> names(table->KESTREL_list_available_services());
    host().services = *names;
  }
  return host().services;
}

bool SoaManager::IsServiceAvailable(const char* name) {
  const auto& s = host().services;
  return name && std::find(s.begin(), s.end(), name) != s.end();
}

std::vector<ModelObject*> SoaManager::GetSecondaryObjects(ModelObject* object, const std::string& relation_name) {
  const KESTREL_interface_s* table = host().table;
  if (!table || !table->KESTREL_get_related_objects_cad) return {};
  std::unique_ptr<std::vector<ModelObject*>> related(table->KESTREL_get_related_objects_cad(object, relation_name));
  return related ? *related : std::vector<ModelObject*>();
}

std::string SoaManager::GetDefaultIiopString() { return host().iiop; }
bool SoaManager::UseSoaInPdi() { return host().use_soa_in_pdi; }
const KESTREL_interface_s* SoaManager::GetSoaInterface() { return host().table; }
void SoaManager::SetSoaInterface(const KESTREL_interface_s* table) { host().table = table; }

}  // namespace Orvane::PdmSoa

void SetActivePropertyPolicy(int policy) { Halden::Soa::Client::setActivePolicyId(policy); }

std::string UStringToString(const UString& text) { return text.utf8(); }
UString StringToUString(const std::string& text) { return UString(text); }

std::vector<std::string> UStringVecToStringVec(const std::vector<UString>& texts) {
  std::vector<std::string> out;
  out.reserve(texts.size());
  for (const auto& t : texts) out.push_back(t.utf8());
  return out;
}

std::vector<UString> StringVecToUStringVec(const std::vector<std::string>& texts) {
  std::vector<UString> out;
  out.reserve(texts.size());
  for (const auto& t : texts) out.emplace_back(t);
  return out;
}

bool PDI_ask_HTTP() { return Orvane::PdmSoa::host().http; }
bool PDI_get_start_hxserver() { return Orvane::PdmSoa::host().start_hxserver; }

namespace objmodel::testing {
void set_default_iiop_string(const std::string& address) { Orvane::PdmSoa::host().iiop = address; }
void set_http(bool http) { Orvane::PdmSoa::host().http = http; }
void set_start_hxserver(bool started) { Orvane::PdmSoa::host().start_hxserver = started; }
void set_use_soa_in_pdi(bool use) { Orvane::PdmSoa::host().use_soa_in_pdi = use; }
void reset() {
  auto& h = Orvane::PdmSoa::host();
  h.objects = std::make_unique<Orvane::PdmSoa::ModelObjectManager>();
  h.services.clear();
  h.http = false;
  h.start_hxserver = false;
  h.use_soa_in_pdi = true;
  Orvane::PdmSoa::Item::ForgetKnownItems();
  set_unwrappable_uids({});
  refuse_construct_from_uid(0);
  reset_config_rules();
  reset_appdata();
  Halden::Soa::Client::setActivePolicyId(-1);
  fail_wrapping_after(-1);
}
}  // namespace objmodel::testing
