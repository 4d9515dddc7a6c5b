// One saved query run through the table (slot 10) at growing numbers of
// found objects, beside the framework's own handling of the same reply; the
// time per object should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/services/query/SavedqueryService.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"

namespace {

using namespace Halden::Soa::Server;

constexpr const char* kHost = "http://bench-world:7001/kestrel";
constexpr int kSizes[] = {1000, 10000, 100000};

std::string query_of(int size) { return "query-" + std::to_string(size); }

// Every run of a query named by its size answers that many items, built
// once, so the benchmark times the client side only.
struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    const std::vector<std::string> chain = {"Item", "WorkspaceObject", "POM_object"};
    for (int size : kSizes) {
      test_server.world.savedquery.add_query(query_of(size), "Found " + std::to_string(size), "Item", {});
      ExecuteQueryReply& reply = replies[query_of(size)];
      reply.found = size;
      reply.object_uids.reserve(size);
      for (int i = 0; i < size; ++i) {
        std::string uid = "found-" + std::to_string(size) + "-" + std::to_string(i);
        reply.data.objects.push_back(WireObject{uid, chain, {props::str("object_name", "Part")}});
        reply.object_uids.push_back(std::move(uid));
      }
    }
    ON_CALL(test_server.savedquery, executeSavedQuery).WillByDefault([this](const std::string& uid, auto&&...) {
      return replies.at(uid);
    });
    table = bench::open_session(kHost);
    std::unique_ptr<std::vector<Orvane::PdmSoa::Query*>> listed(table->KESTREL_list_saved_queries());
    for (auto* query : *listed) hosts[query->GetUid().utf8()] = query;
  }

  TestServer test_server{kHost};
  std::map<std::string, ExecuteQueryReply> replies;
  const KESTREL_interface_s* table = nullptr;
  std::map<std::string, Orvane::PdmSoa::Query*> hosts;
};

Session& session() {
  static Session s;
  return s;
}

void BM_ExecuteSavedQuery(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Session& s = session();
  Orvane::PdmSoa::Query* query = s.hosts.at(query_of(size));
  const std::vector<std::string> entries = {"Item ID"}, values = {"*"};
  // The first run makes the server and host objects; time the ones after.
  delete s.table->KESTREL_execute_saved_query(query, entries, values, 0);
  for (auto _ : state) {
    std::unique_ptr<std::vector<Orvane::PdmSoa::PomObject*>> found(
        s.table->KESTREL_execute_saved_query(query, entries, values, 0));
    benchmark::DoNotOptimize(found->data());
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_ExecuteSavedQuery)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMicrosecond);

// The same request and reply through the framework alone.
void BM_FrameworkExecuteSavedQuery(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Session& s = session();
  auto* service = Halden::Services::Query::SavedqueryService::getService(s.table->KESTREL_ask_connection());
  Halden::Soa::Client::ModelObject* query = s.hosts.at(query_of(size))->GetObjectPtr();
  const std::vector<std::string> entries = {"Item ID"}, values = {"*"};
  service->executeSavedQuery(query, entries, values, 0);
  for (auto _ : state) {
    auto reply = service->executeSavedQuery(query, entries, values, 0);
    benchmark::DoNotOptimize(reply.objects.data());
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_FrameworkExecuteSavedQuery)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
