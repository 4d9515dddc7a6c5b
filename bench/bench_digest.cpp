// The reply digest at growing reply sizes; time per object should stay flat.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "halden/soa/client/ModelManager.h"
#include "kestrel_utils.h"
#include "objmodel/testing.h"

namespace {

void BM_DigestServiceData(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  objmodel::testing::reset();
  Halden::Soa::Client::ModelManager models;
  Halden::Soa::Client::ServiceData reply;
  for (std::size_t i = 0; i < n; ++i) {
    auto* object = models.constructTypedObject("Folder", "uid-" + std::to_string(i));
    reply.created.push_back(object);
    reply.updated.push_back(object);
    reply.deleted.push_back("gone-" + std::to_string(i));
  }
  for (auto _ : state) {
    kestrel::HostObjects created, updated;
    std::vector<UString> deleted;
    benchmark::DoNotOptimize(kestrel::digest_service_data(reply, &created, &updated, nullptr, nullptr, &deleted));
    benchmark::DoNotOptimize(created.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_DigestServiceData)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
