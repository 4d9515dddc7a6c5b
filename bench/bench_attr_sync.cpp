// Attribute-mapping resolution through the table: parts x 20 definitions,
// cold (cache cleared first) and warm (answered from the cache), clearing all
// parts, and writing every part's values back (its two requests, then the
// cached records read again). The time per definition should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_session.h"
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
constexpr int kWriteBackParts = 1000;
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
    table = bench::open_session(kHost);
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
        if (size == kWriteBackParts) {
          tag_of(item);  // the host holds the parts it writes
          updates.push_back({item, revision, dataset, "", &definitions, nullptr});
        }
      }
    }
    for (int d = 0; d < kDefinitions; ++d) value_texts.push_back("new/" + std::to_string(d));
    for (const auto& v : value_texts) values.push_back(v.c_str());
    for (auto& u : updates) u.values = values.data();
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
  std::vector<AttrValueUpdate> updates;  // of the first kWriteBackParts parts
  std::vector<std::string> value_texts;
  std::vector<const char*> values;
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

// Every part's 20 values written back, with all its records cached: one
// write request, one refresh, and the 16 property records of each part read
// again.
void BM_WriteBack(benchmark::State& state) {
  auto& s = session();
  release(s.table->KESTREL_resolve_attr_mappings(s.pointers(kWriteBackParts)));
  std::vector<AttrValueUpdate*> updates;
  for (auto& u : s.updates) updates.push_back(&u);
  auto& requests = s.test_server.server.requests;
  bool two_requests = true;
  for (auto _ : state) {
    requests.clear();
    s.table->KESTREL_update_attr_values(updates);
    two_requests = two_requests && requests.size() == 2 && requests[0].operation == "createParts" &&
                   requests[1].operation == "refreshObjects";
  }
  requests.clear();
  if (!two_requests) state.SkipWithError("write-back sent other than its write and its refresh");
  state.SetItemsProcessed(state.iterations() * kWriteBackParts * kDefinitions);
}

BENCHMARK(BM_ResolveCold)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResolveWarm)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearParts)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBack)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
