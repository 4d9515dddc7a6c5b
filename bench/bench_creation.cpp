// Requests that create many objects at once, through the table on the sample
// world: validation results (slot 81), datasets of one revision (slot 99) and
// validation data (slot 80). The server's time per new object should stay
// flat as the store grows; each iteration adds its objects to the same world.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace {

constexpr const char* kHost = "http://bench-creation:7001/kestrel";

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    int version = 0;
    table = KESTREL_init_module(&version);
    Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
    table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    table->KESTREL_login("engineer", "secret", true);
    revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
  Orvane::PdmSoa::ItemRevision* revision = nullptr;
};

Session& session() {
  static Session s;
  return s;
}

// Whether the server saw exactly one request of the operation; forgets
// what it saw.
bool one_request(Session& s, const char* operation) {
  std::size_t seen = 0;
  for (const auto& request : s.test_server.server.requests) seen += request.operation == operation;
  s.test_server.server.requests.clear();
  return seen == 1;
}

void BM_CreateValidationResults(benchmark::State& state) {
  Session& s = session();
  ValidationResultInput input;
  input.item_revision_uid = "rev-K-1000-B";
  input.validation_id = "check";
  input.parameters = {{"limit", "5", "<"}};
  const std::vector<ValidationResultInput> inputs(static_cast<std::size_t>(state.range(0)), input);
  s.test_server.server.requests.clear();
  for (auto _ : state) {
    const ValidationResultList results = s.table->KESTREL_create_validation_results(inputs);
    state.PauseTiming();
    const bool sound = results.results.size() == inputs.size() && one_request(s, "createValidationResults");
    state.ResumeTiming();
    if (!sound) {
      state.SkipWithError("not every result was created, in one request");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreateValidationResults)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CreateDatasets(benchmark::State& state) {
  Session& s = session();
  DatasetCreateInput input{UString("sheet"), s.revision,     UString("OSTRA_manifestation"),
                           UString("sheet"), UString("PDF"), UString(""),
                           nullptr};
  const std::vector<DatasetCreateInput*> inputs(static_cast<std::size_t>(state.range(0)), &input);
  s.test_server.server.requests.clear();
  for (auto _ : state) {
    std::vector<Orvane::PdmSoa::ModelObject*> created;
    s.table->KESTREL_create_datasets(inputs, &created, nullptr, nullptr, nullptr);
    state.PauseTiming();
    const bool sound = created.size() == inputs.size() && one_request(s, "createDatasets");
    state.ResumeTiming();
    if (!sound) {
      state.SkipWithError("not every dataset was created, in one request");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreateDatasets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SendValidationInputs(benchmark::State& state) {
  Session& s = session();
  ValidationDataInput input;
  input.first_text = "data";
  const std::vector<ValidationDataInput> inputs(static_cast<std::size_t>(state.range(0)), input);
  s.test_server.server.requests.clear();
  for (auto _ : state) {
    const ValidationObjectList objects = s.table->KESTREL_send_validation_inputs(inputs);
    state.PauseTiming();
    const bool sound = objects.uids.size() == inputs.size() && one_request(s, "sendValidationData");
    state.ResumeTiming();
    if (!sound) {
      state.SkipWithError("not every object was created, in one request");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SendValidationInputs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
