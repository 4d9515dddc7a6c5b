// A complying report through the table at growing numbers of trace links,
// beside the framework's own handling of the same reply; the time per link
// should stay flat.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/services/core/ManagedrelationsService.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"

namespace {

using Halden::Soa::Server::TraceReportReply;

constexpr const char* kHost = "http://bench-relations:7001/kestrel";
constexpr int kSizes[] = {1000, 10000};

std::string queried(int links) { return "req-wide-" + std::to_string(links); }

// The report the server answers for a requirement with that many complying
// objects, each behind its own link.
TraceReportReply report_of(Halden::Soa::Server::SampleWorld& world, int links) {
  TraceReportReply reply;
  const std::string root = queried(links);
  world.add_object(root, {"Requirement", "WorkspaceObject", "POM_object"});
  reply.complying.push_back({root, {}});
  std::vector<std::string> carried = {root};
  for (int i = 0; i < links; ++i) {
    const std::string suffix = std::to_string(links) + "-" + std::to_string(i);
    const std::string link = "fndlink-wide-" + suffix;
    const std::string far_end = "req-far-" + suffix;
    world.add_object(link, {"FND_TraceLink", "ImanRelation", "POM_object"});
    world.add_object(far_end, {"Requirement", "WorkspaceObject", "POM_object"});
    reply.complying.front().child_uids.push_back(link);
    reply.complying.push_back({link, {far_end}});
    carried.push_back(link);
    carried.push_back(far_end);
  }
  reply.data = world.reply_with(carried);
  return reply;
}

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    for (int size : kSizes) replies.push_back(report_of(test_server.world, size));
    ON_CALL(test_server.managedrelations, getTraceReport)
        .WillByDefault([this](const Halden::Soa::Server::TraceReportRequest& request) {
          for (std::size_t i = 0; i < replies.size(); ++i)
            if (request.object_uid == queried(kSizes[i])) return replies[i];
          return TraceReportReply();
        });
    table = bench::open_session(kHost);
  }

  Orvane::PdmSoa::ModelObject* host_object(int links) {
    std::vector<Orvane::PdmSoa::ModelObject*> out;
    table->KESTREL_load_objects({UString(queried(links))}, &out);
    return out.front();
  }

  Halden::Soa::Server::TestServer test_server{kHost};
  std::vector<TraceReportReply> replies;
  const KESTREL_interface_s* table = nullptr;
};

Session& session() {
  static Session s;
  return s;
}

void BM_ComplyingReport(benchmark::State& state) {
  const int links = static_cast<int>(state.range(0));
  Session& s = session();
  Orvane::PdmSoa::ModelObject* object = s.host_object(links);
  delete s.table->KESTREL_ask_complying_objects(object);  // the host objects exist after the first report
  for (auto _ : state) {
    std::unique_ptr<std::vector<TraceLinkEntry>> entries(s.table->KESTREL_ask_complying_objects(object));
    benchmark::DoNotOptimize(entries->data());
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * links);
}
BENCHMARK(BM_ComplyingReport)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);

// The framework alone: the same request and reply, no host objects.
void BM_ComplyingReportFrameworkOnly(benchmark::State& state) {
  const int links = static_cast<int>(state.range(0));
  Session& s = session();
  Orvane::PdmSoa::ModelObject* object = s.host_object(links);
  auto* service = Halden::Services::Core::ManagedrelationsService::getService(s.table->KESTREL_ask_connection());
  for (auto _ : state) {
    auto reply = service->getTraceReport({object->GetObjectPtr(), "Complying", 1});
    benchmark::DoNotOptimize(reply.complyingTree.data());
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * links);
}
BENCHMARK(BM_ComplyingReportFrameworkOnly)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
