// Requests that create many objects at once, through the table on the sample
// world: validation results (slot 81), datasets of one revision (slot 99) and
// validation data (slot 80). The server's time per new object should stay
// flat as the store grows; each iteration adds its objects to the same world.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"

namespace {

constexpr const char* kHost = "http://bench-creation:7001/kestrel";

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    table = bench::open_session(kHost);
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

// Times `create`, which makes state.range(0) objects and answers how many
// came back; an iteration that got fewer, or took other than one request of
// `operation`, ends the benchmark.
template <class Create>
void time_creation(benchmark::State& state, const char* operation, Create create) {
  Session& s = session();
  const auto count = static_cast<std::size_t>(state.range(0));
  s.test_server.server.requests.clear();
  for (auto _ : state) {
    const std::size_t made = create();
    state.PauseTiming();
    const bool sound = made == count && one_request(s, operation);
    state.ResumeTiming();
    if (!sound) {
      state.SkipWithError("not every object was created, in one request");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CreateValidationResults(benchmark::State& state) {
  ValidationResultInput input;
  input.item_revision_uid = "rev-K-1000-B";
  input.validation_id = "check";
  input.parameters = {{"limit", "5", "<"}};
  const std::vector<ValidationResultInput> inputs(static_cast<std::size_t>(state.range(0)), input);
  time_creation(state, "createValidationResults",
                [&] { return session().table->KESTREL_create_validation_results(inputs).results.size(); });
}
BENCHMARK(BM_CreateValidationResults)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CreateDatasets(benchmark::State& state) {
  DatasetCreateInput input{UString("sheet"), session().revision, UString("OSTRA_manifestation"),
                           UString("sheet"), UString("PDF"),     UString(""),
                           nullptr};
  const std::vector<DatasetCreateInput*> inputs(static_cast<std::size_t>(state.range(0)), &input);
  time_creation(state, "createDatasets", [&] {
    std::vector<Orvane::PdmSoa::ModelObject*> created;
    session().table->KESTREL_create_datasets(inputs, &created, nullptr, nullptr, nullptr);
    return created.size();
  });
}
BENCHMARK(BM_CreateDatasets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SendValidationInputs(benchmark::State& state) {
  ValidationDataInput input;
  input.first_text = "data";
  const std::vector<ValidationDataInput> inputs(static_cast<std::size_t>(state.range(0)), input);
  time_creation(state, "sendValidationData",
                [&] { return session().table->KESTREL_send_validation_inputs(inputs).uids.size(); });
}
BENCHMARK(BM_SendValidationInputs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
