// Attribute-mapping resolution through the table: parts x 20 definitions,
// cold (cache cleared first) and warm (answered from the cache), and clearing
// all parts. The time per definition should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelManager.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/AttrMapping.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace {

constexpr const char* kHost = "http://bench-attr:7001/kestrel";
constexpr int kSizes[] = {1000, 10000};
constexpr int kDefinitions = 20;  // 16 property mappings, 2 constants, 2 preference values

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    using namespace Halden::Soa::Server::props;
    auto& world = test_server.world;
    std::vector<std::string> uids;
    for (int d = 0; d < kDefinitions; ++d) {
      Halden::Soa::Server::CadDataManagementWorld::Definition definition;
      definition.uid = "bench-def-" + std::to_string(d);
      definition.title = "TITLE_" + std::to_string(d);
      definition.mapping_type = d < 16 ? 1 : d < 18 ? 3 : 4;
      definition.source = "revision";
      definition.property = "bench_p" + std::to_string(d);
      definition.cad_master = true;
      definition.constant_value = "constant";
      definition.preference_name = "OSTRA_cad_units";
      world.caddatamanagement.add_definition(definition);
      uids.push_back(definition.uid);
    }
    world.caddatamanagement.set_context("Bench", "TOVMASTER", uids);
    int version = 0;
    table = KESTREL_init_module(&version);
    Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
    table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    table->KESTREL_login("engineer", "secret", true);
    Orvane::PdmSoa::SoaManager::GetAvailableSoaServices();
    AttrMappingContext context{"Bench", "TOVMASTER"};
    std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
        table->KESTREL_get_attr_mapping_definitions({&context}));
    definitions = records->front()->definitions;
    for (auto* r : *records) delete r;
    cadlink::testing::set_attr_map_defs("TOVMASTER", "Bench", definitions);

    int next = 0;
    auto* models = table->KESTREL_ask_connection()->getModelManager();
    auto tag_of = [&](const std::string& uid) {
      return Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObject(models->loadObjects(uid))->AskPdiTag();
    };
    for (int size : kSizes) {
      auto& list = parts[size];
      for (int i = 0; i < size; ++i, ++next) {
        const std::string id = "B-" + std::to_string(next);
        const std::string item = world.add_item(id, "Bench part");
        world.set_property(item, str("object_type", "Bench"));
        const std::string revision = world.add_item_revision(id, "A", false);
        for (int d = 0; d < 16; ++d)
          world.set_property(revision, str("bench_p" + std::to_string(d), id + "/" + std::to_string(d)));
        const std::string dataset = "ds-" + id;
        world.add_dataset(dataset, id, "A", "OSTRA_specification", "TOVMASTER", id);
        world.set_property(dataset, ref("dataset_type", "dstype-TOVMASTER"));
        world.set_property(dataset, refs("ref_list", {}));
        list.push_back({tag_of(dataset), tag_of(revision), &definitions});
      }
    }
  }

  std::vector<AttrMappingPart*> pointers(int size) {
    std::vector<AttrMappingPart*> out;
    for (auto& p : parts[size]) out.push_back(&p);
    return out;
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
  std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> definitions;
  std::map<int, std::vector<AttrMappingPart>> parts;
};

Session& session() {
  static Session s;
  return s;
}

void release(std::vector<AttrMappingPartResult*>* results) {
  for (auto* r : *results) delete r;
  delete results;
}

void BM_ResolveCold(benchmark::State& state) {
  auto& s = session();
  const auto parts = s.pointers(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    s.table->KESTREL_clear_attr_mapping_cache();
    state.ResumeTiming();
    release(s.table->KESTREL_resolve_attr_mappings(parts));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kDefinitions);
}

void BM_ResolveWarm(benchmark::State& state) {
  auto& s = session();
  const auto parts = s.pointers(static_cast<int>(state.range(0)));
  release(s.table->KESTREL_resolve_attr_mappings(parts));
  for (auto _ : state) release(s.table->KESTREL_resolve_attr_mappings(parts));
  state.SetItemsProcessed(state.iterations() * state.range(0) * kDefinitions);
}

void BM_ClearParts(benchmark::State& state) {
  auto& s = session();
  const auto parts = s.pointers(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    release(s.table->KESTREL_resolve_attr_mappings(parts));
    state.ResumeTiming();
    s.table->KESTREL_clear_attr_mapping_cache_for_parts(parts);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kDefinitions);
}

BENCHMARK(BM_ResolveCold)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResolveWarm)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearParts)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
