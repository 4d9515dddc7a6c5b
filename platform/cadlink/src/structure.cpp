#include <string>
#include <utility>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace {
struct Lookups {
  cadlink::testing::BvrLookup scripted;
  std::vector<std::string> asked;
};

struct SaveSettings {
  bool service_2007_12 = true;
  int service_2007_12_queries = 0;
  bool has_view_type = true;
  std::string view_type = "view";
};

SaveSettings& save_settings() {
  static SaveSettings settings;
  return settings;
}

Lookups& lookups() {
  static Lookups state;
  return state;
}
}  // namespace

bool TOVMGR_SOA_ask_bvr(const char* uid, Orvane::PdmSoa::ItemRevision** item_revision,
                        Orvane::PdmSoa::ModelObject** item, Orvane::PdmSoa::ModelObject** bvr) {
  using namespace Orvane::PdmSoa;
  lookups().asked.emplace_back(uid ? uid : "");
  *item_revision = nullptr;
  *item = nullptr;
  *bvr = nullptr;
  if (lookups().scripted) return lookups().scripted(uid, item_revision, item, bvr);
  if (!uid) return false;

  // The host knows what the session has handed it.
  auto* revision =
      dynamic_cast<ItemRevision*>(SoaManager::GetObjectManager()->GetObjectByUid(uid, ItemRevision::AskClassName()));
  if (!revision) return false;
  *item_revision = revision;
  *item = revision->GetPropertyObject("items_tag");
  *bvr = revision->GetPropertyObject("structure_revisions");
  return true;
}

bool TOVMGR__is_service_2007_12_available() {
  ++save_settings().service_2007_12_queries;
  return save_settings().service_2007_12;
}

const char* TOVMGR_VIREL_ask_view_type() {
  return save_settings().has_view_type ? save_settings().view_type.c_str() : nullptr;
}

namespace cadlink::testing {
void set_service_2007_12_available(bool available) { save_settings().service_2007_12 = available; }
int service_2007_12_queries() { return save_settings().service_2007_12_queries; }
void set_view_type(const char* view_type) {
  save_settings().has_view_type = view_type != nullptr;
  save_settings().view_type = view_type ? view_type : "";
}
void clear_save_settings() { save_settings() = SaveSettings(); }
void set_bvr_lookup(BvrLookup lookup) { lookups().scripted = std::move(lookup); }
const std::vector<std::string>& bvr_lookups() { return lookups().asked; }
void clear_bvr_lookups() { lookups() = Lookups(); }
}  // namespace cadlink::testing
