// An update batch through the table: Start, one StartAssy per parent, N
// AddChild under N/100 parents, Commit. AddChild and the commit are timed
// apart, per child; both should stay flat as N grows. BM_WorldCommit is the
// sample world's own share of a commit, the same request sent straight to it.
// BM_AddChildNotes is one child with N notes and N attributes, added and
// then given again with new texts, per entry; it too should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"

namespace {

constexpr const char* kHost = "http://batch-world:7001/kestrel";
constexpr int kMaxParents = 1000;
constexpr int kChildParts = 10;
constexpr int kChildrenPerParent = 100;
const double kMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    for (int p = 0; p < kMaxParents; ++p) {
      world.add_item("ASM-" + std::to_string(p), "Assembly");
      world.add_item_revision("ASM-" + std::to_string(p), "A", false);
    }
    for (int c = 0; c < kChildParts; ++c) {
      world.add_item("PRT-" + std::to_string(c), "Part");
      world.add_item_revision("PRT-" + std::to_string(c), "A", true);
    }
    table = bench::open_session(kHost);
    for (int p = 0; p < kMaxParents; ++p)
      parents.push_back(table->KESTREL_get_item_revision_by_id("ASM-" + std::to_string(p), "A", 0));
    for (int c = 0; c < kChildParts; ++c)
      children.push_back(table->KESTREL_get_item_revision_by_id("PRT-" + std::to_string(c), "A", 0));
    server.requests.clear();
  }

  // Start, the parents and their children; the batch stays open.
  void describe(int count) {
    table->KESTREL_RelativeStructureUpdateStart();
    const int parent_count = count / kChildrenPerParent;
    for (int p = 0; p < parent_count; ++p) {
      table->KESTREL_RelativeStructureUpdateStartAssy(p, parents[p], false, nullptr);
      for (int c = 0; c < kChildrenPerParent; ++c)
        benchmark::DoNotOptimize(table->KESTREL_RelativeStructureAddChild(p, c, children[c % kChildParts], "", kMatrix,
                                                                          false, nullptr, nullptr));
    }
  }

  // Takes the host's part of a commit's results, and removes what it saved
  // so that the world does not grow from one round to the next.
  void release(std::map<std::string, std::string>* handles, std::map<std::string, Orvane::PdmSoa::Component*>* comps,
               int count) {
    table->KESTREL_RelativeStructureDeleteStart();
    const int parent_count = count / kChildrenPerParent;
    for (int p = 0; p < parent_count; ++p) table->KESTREL_RelativeStructureDeleteStartAssy(p, parents[p], nullptr);
    for (const auto& [client_id, handle] : *handles)
      table->KESTREL_RelativeStructureDeleteChild(std::stoi(client_id), handle.substr(handle.rfind(' ') + 1));
    table->KESTREL_RelativeStructureDeleteCommit();
    delete handles;
    delete comps;
    server.requests.clear();
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  Halden::Soa::Server::SampleWorld& world = test_server.world;
  Halden::Soa::Server::Server& server = test_server.server;
  const KESTREL_interface_s* table = nullptr;
  std::vector<Orvane::PdmSoa::ModelObject*> parents;
  std::vector<Orvane::PdmSoa::ModelObject*> children;
};

Session& session() {
  static Session s;
  return s;
}

void BM_AddChild(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Session& s = session();
  // Each round's Start discards the batch before.
  for (auto _ : state) s.describe(count);
  s.table->KESTREL_RelativeStructureUpdateStart();
  state.SetItemsProcessed(state.iterations() * count);
}

void BM_Commit(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Session& s = session();
  for (auto _ : state) {
    state.PauseTiming();
    s.describe(count);
    state.ResumeTiming();
    std::map<std::string, Orvane::PdmSoa::Component*>* components = nullptr;
    auto* handles = s.table->KESTREL_RelativeStructureUpdateCommit(true, &components);
    state.PauseTiming();
    s.release(handles, components, count);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}

void BM_AddChildNotes(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Session& s = session();
  std::map<std::string, std::string> first, second;
  for (int k = 0; k < count; ++k) {
    const std::string key = "KEY-" + std::to_string(k);
    first.emplace_hint(first.end(), key, "first");
    second.emplace_hint(second.end(), key, "second");
  }
  for (auto _ : state) {
    s.table->KESTREL_RelativeStructureUpdateStart();
    s.table->KESTREL_RelativeStructureUpdateStartAssy(0, s.parents[0], false, nullptr);
    benchmark::DoNotOptimize(
        s.table->KESTREL_RelativeStructureAddChild(0, 0, s.children[0], "", kMatrix, false, &first, &first));
    benchmark::DoNotOptimize(
        s.table->KESTREL_RelativeStructureAddChild(0, 0, nullptr, "", nullptr, false, &second, &second));
  }
  s.table->KESTREL_RelativeStructureUpdateStart();
  state.SetItemsProcessed(state.iterations() * count);
}

void BM_WorldCommit(benchmark::State& state) {
  namespace Wire = Halden::Soa::Server;
  const int count = static_cast<int>(state.range(0));
  Session& s = session();
  std::vector<Wire::RelativeStructureRecord2> records;
  for (int p = 0; p < count / kChildrenPerParent; ++p) {
    Wire::RelativeStructureRecord2 record{{}, s.parents[p]->GetUid().utf8(), {}, false};
    for (int c = 0; c < kChildrenPerParent; ++c)
      record.children.push_back({std::to_string(p) + "_" + std::to_string(c),
                                 "",
                                 s.children[c % kChildParts]->GetUid().utf8(),
                                 {},
                                 false,
                                 std::vector<double>(kMatrix, kMatrix + 16),
                                 {}});
    records.push_back(std::move(record));
  }
  for (auto _ : state) {
    auto reply = s.world.structuremanagement.createOrUpdateRelativeStructure2(records, "view", true,
                                                                              {true, "bl_occurrence_uid", {}});
    state.PauseTiming();
    std::vector<Wire::DeleteStructureRecord2> deletes;
    for (const auto& record : records) deletes.push_back({{}, record.parent_uid, {}});
    for (const auto& [client_id, thread] : reply.threads) deletes[std::stoi(client_id)].thread_uids.push_back(thread);
    s.world.structuremanagement.deleteRelativeStructure2(deletes, "view", {true, "bl_occurrence_uid", {}});
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_AddChild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Commit)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddChildNotes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorldCommit)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
