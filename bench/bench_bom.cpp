// One level of BOM lines expanded through the table at growing numbers of
// children; the time per child should stay flat.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"

namespace {

constexpr const char* kHost = "http://bench-world:7001/kestrel";
constexpr int kSizes[] = {100, 1000, 10000};

std::string parent_of(int children) { return "WIDE-" + std::to_string(children); }

// One session for the process, on a world with one wide assembly per size.
struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    auto& world = test_server.world;
    int part = 0;
    for (int size : kSizes) {
      world.add_item(parent_of(size), "Wide assembly");
      world.add_item_revision(parent_of(size), "A", true);
      for (int i = 0; i < size; ++i) {
        const std::string child = "P-" + std::to_string(++part);
        world.add_item(child, "Part");
        world.add_item_revision(child, "A", true);
        world.add_occurrence(parent_of(size), "A", child);
      }
    }
    table = bench::open_session(kHost);
  }

  Orvane::PdmSoa::BomLine* top_line(int children) {
    auto* revision = table->KESTREL_get_item_revision_by_id(parent_of(children), "A", 0);
    auto* window = table->KESTREL_create_bom_window(revision->GetUid().utf8());
    return table->KESTREL_ask_bom_top_line(window);
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
};

Session& session() {
  static Session s;
  return s;
}

// The host's part: it owns the lists and the child lines in them.
void release(std::vector<std::vector<Orvane::PdmSoa::BomLine*>*>* lists) {
  for (auto* list : *lists) {
    for (auto* line : *list) delete line;
    delete list;
  }
  delete lists;
}

void BM_ExpandBomLines(benchmark::State& state) {
  const int children = static_cast<int>(state.range(0));
  Session& s = session();
  const std::vector<Orvane::PdmSoa::BomLine*> lines = {s.top_line(children)};
  // The server makes its lines on the first expansion; time the ones after.
  release(s.table->KESTREL_expand_bom_lines(lines, 0));
  for (auto _ : state) {
    release(s.table->KESTREL_expand_bom_lines(lines, 0));
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * children);
}
BENCHMARK(BM_ExpandBomLines)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
