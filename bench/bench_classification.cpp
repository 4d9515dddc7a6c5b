// Class descriptions through the table for many ids with ten descriptions
// each, beside the framework's own handling of the same reply; the time per
// class should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/services/classification/ClassificationService.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/Classification.h"

namespace {

constexpr const char* kHost = "http://bench-classes:7001/kestrel";
constexpr int kDescriptions = 10;
constexpr int kSizes[] = {100, 1000};

std::vector<std::string> ids_of(int count) {
  std::vector<std::string> ids;
  ids.reserve(count);
  for (int i = 0; i < count; ++i) ids.push_back("CL-" + std::to_string(count) + "-" + std::to_string(i));
  return ids;
}

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    for (int size : kSizes)
      for (const auto& id : ids_of(size))
        for (int d = 0; d < kDescriptions; ++d)
          test_server.world.classification.add_description(id, {id + "-" + std::to_string(d),
                                                                "storage",
                                                                "Name " + id,
                                                                "Description of " + id,
                                                                d,
                                                                d,
                                                                d,
                                                                {{"unit", "mm", "metric"}}});
    table = bench::open_session(kHost);
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
};

Session& session() {
  static Session s;
  return s;
}

void BM_ClassDescriptions(benchmark::State& state) {
  const auto ids = ids_of(static_cast<int>(state.range(0)));
  Session& s = session();
  for (auto _ : state) {
    auto* classes = s.table->KESTREL_ask_class_descriptions(ids);
    // The host's part: it owns the map and the classes in it.
    for (auto& [id, list] : *classes)
      for (auto* c : list) delete c;
    delete classes;
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * ids.size() * kDescriptions);
}
BENCHMARK(BM_ClassDescriptions)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);

// The framework alone: the same request and reply, no host classes.
void BM_ClassDescriptionsFrameworkOnly(benchmark::State& state) {
  const auto ids = ids_of(static_cast<int>(state.range(0)));
  Session& s = session();
  auto* service =
      Halden::Services::Classification::ClassificationService::getService(s.table->KESTREL_ask_connection());
  for (auto _ : state) {
    auto reply = service->getClassDescriptions(ids);
    benchmark::DoNotOptimize(reply.descriptions.size());
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * ids.size() * kDescriptions);
}
BENCHMARK(BM_ClassDescriptionsFrameworkOnly)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
