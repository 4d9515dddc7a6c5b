#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"
#include "corerun/memory.h"

namespace {

struct State {
  std::map<std::pair<std::string, std::string>, std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*>> contexts;
  std::vector<std::string> lookups;
  std::vector<cadlink::testing::LovCacheCall> lov_calls;
};

State& state() {
  static State s;
  return s;
}

std::string text_of(const char* text) { return text ? text : ""; }

}  // namespace

int TOVMGR__get_attr_map_defs_of_context(const char* dataset_type, const char* item_type, int* count,
                                         Orvane::PdmSoa::CadAttrMappingDefinition*** definitions) {
  *count = 0;
  *definitions = nullptr;
  state().lookups.push_back(text_of(dataset_type) + "/" + text_of(item_type));
  auto it = state().contexts.find({text_of(dataset_type), text_of(item_type)});
  if (it == state().contexts.end() || it->second.empty()) return 0;
  const auto& held = it->second;
  auto** array = static_cast<Orvane::PdmSoa::CadAttrMappingDefinition**>(SM_alloc(held.size() * sizeof(held[0])));
  for (std::size_t i = 0; i < held.size(); ++i) array[i] = held[i];
  *count = static_cast<int>(held.size());
  *definitions = array;
  return 0;
}

void TOVMGR__add_lovs_to_cache(int count, const tag_t* lov_tags, const char* const* dataset_types,
                               const char* const* item_types, const char* const* titles) {
  cadlink::testing::LovCacheCall call;
  for (int i = 0; i < count; ++i) {
    call.lov_tags.push_back(lov_tags[i]);
    call.dataset_types.push_back(text_of(dataset_types[i]));
    call.item_types.push_back(text_of(item_types[i]));
    call.titles.push_back(text_of(titles[i]));
  }
  state().lov_calls.push_back(std::move(call));
}

namespace cadlink::testing {
void set_attr_map_defs(const std::string& dataset_type, const std::string& item_type,
                       std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> definitions) {
  state().contexts[{dataset_type, item_type}] = std::move(definitions);
}
const std::vector<std::string>& attr_map_defs_lookups() { return state().lookups; }
const std::vector<LovCacheCall>& lov_cache_calls() { return state().lov_calls; }
void clear_attr_mapping() { state() = State(); }
}  // namespace cadlink::testing
