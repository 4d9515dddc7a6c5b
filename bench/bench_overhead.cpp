// What the library adds over the framework: each path timed twice on the
// same canned reply, (a) the framework service called directly on a
// connection of its own, (b) the same work through the table. The reply is
// built once per size; before each timed call the stub is handed a fresh
// copy, which it gives out by moving it, so neither side pays for the
// sample world. Thread CPU time; each side runs twice an iteration, once
// before the other and once after.
//
// Counters: fw_ns_per_obj, lib_ns_per_obj, overhead (= lib / fw) and the
// requests each side sent (an error unless exactly one each).
//
// A further path joins as one more function and BENCHMARK line.
#include <benchmark/benchmark.h>
#include <gmock/gmock.h>

#include <ctime>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_session.h"
#include "cadlink/tovmgr.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/query/SavedqueryService.h"
#include "halden/soa/client/Connection.h"
#include "kestrel/kestrel_interface.h"
#include "kestrel_connection.h"
#include "kestrel_utils.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"

namespace {

namespace Server = Halden::Soa::Server;
using Halden::Services::Cad::StructuremanagementService;
using Halden::Services::Core::DatamanagementService;
using Halden::Services::Query::SavedqueryService;
using Halden::Soa::Client::Connection;
using ::testing::_;

constexpr const char* kHost = "http://overhead-world:7001/kestrel";

double thread_ns() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// One session through the table and one bare connection, both to the same
// server, for the process.
struct Bench {
  Bench() {
    corerun::testing::set_log_enabled(false);
    table = bench::open_session(kHost);
    direct =
        std::make_unique<Connection>(kHost, &credentials, Halden::Soa::Client::HTTP, Halden::Soa::Client::REST, true);
  }

  // n folders in the world, "f-<i>".
  std::vector<std::string> folders(std::size_t n) {
    std::vector<std::string> uids;
    uids.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      uids.push_back("f-" + std::to_string(n) + "-" + std::to_string(i));
      test_server.world.add_object(uids.back(), {"Folder", "WorkspaceObject", "POM_object"},
                                   {Server::props::str("object_name", uids.back())});
    }
    return uids;
  }

  std::size_t requests() const { return test_server.server.requests.size(); }

  Server::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
  LoginCredentials credentials{
      new Halden::Soa::Client::CredentialManager::Credentials("engineer", "secret", "", "", "")};
  std::unique_ptr<Connection> direct;
};

Bench& bench() {
  static Bench b;
  return b;
}

// Times fw and lib in both orders each iteration (fw, lib, lib, fw), so
// neither side always runs on what the other left in the caches and the heap,
// even at sizes where one iteration is all there is; prepare runs untimed
// before each call.
constexpr bool kOrder[] = {true, false, false, true};  // true: fw
constexpr std::size_t kCallsPerSide = std::size(kOrder) / 2;

template <class Prepare, class Fw, class Lib>
void measure(benchmark::State& state, std::size_t objects, Prepare prepare, Fw fw, Lib lib) {
  Bench& b = bench();
  double fw_ns = 0, lib_ns = 0;
  std::size_t fw_requests = 0, lib_requests = 0;
  // Once each untimed: the objects both sides make on first sight exist.
  prepare();
  fw();
  prepare();
  lib();
  b.test_server.server.requests.clear();
  for (auto _ : state) {
    double iteration_ns = 0;
    for (const bool run_fw : kOrder) {
      prepare();
      const std::size_t before = b.requests();
      const double start = thread_ns();
      if (run_fw)
        fw();
      else
        lib();
      const double spent = thread_ns() - start;
      (run_fw ? fw_ns : lib_ns) += spent;
      iteration_ns += spent;
      (run_fw ? fw_requests : lib_requests) += b.requests() - before;
      b.test_server.server.requests.clear();
    }
    state.SetIterationTime(iteration_ns / 1e9);
  }
  const std::size_t calls = kCallsPerSide * static_cast<std::size_t>(state.iterations());
  const auto runs = static_cast<double>(calls);
  if (fw_requests != calls || lib_requests != calls) {
    state.SkipWithError("a side sent other than one request per call");
    return;
  }
  const double per = runs * static_cast<double>(objects);
  state.counters["fw_ns_per_obj"] = fw_ns / per;
  state.counters["lib_ns_per_obj"] = lib_ns / per;
  state.counters["overhead"] = lib_ns / fw_ns;
  state.counters["fw_requests"] = static_cast<double>(fw_requests) / runs;
  state.counters["lib_requests"] = static_cast<double>(lib_requests) / runs;
}

// --- BOM expansion: slot 19 over one line with n children ---------------------

void BM_ExpandBomLines(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  Bench& b = bench();
  auto& world = b.test_server.world;
  const std::string parent = "WIDE-" + std::to_string(n);
  world.add_item(parent, "Wide assembly");
  world.add_item_revision(parent, "A", true);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string child = parent + "-P-" + std::to_string(i);
    world.add_item(child, "Part");
    world.add_item_revision(child, "A", true);
    world.add_occurrence(parent, "A", child);
  }
  auto* revision = b.table->KESTREL_get_item_revision_by_id(parent, "A", 0);
  Orvane::PdmSoa::BomLine* top =
      b.table->KESTREL_ask_bom_top_line(b.table->KESTREL_create_bom_window(revision->GetUid().utf8()));
  const std::string top_uid = top->GetUid().utf8();
  Server::ExpandInfo info{true, {}};
  const Server::ExpandBomLinesReply canned = world.structuremanagement.expandBomLinesOneLevel({top_uid}, info);
  Server::ExpandBomLinesReply pending;
  ON_CALL(b.test_server.structuremanagement, expandBomLinesOneLevel(_, _)).WillByDefault([&](const auto&, const auto&) {
    return std::move(pending);
  });
  Halden::Soa::Client::ModelObject* direct_top = b.direct->getModelManager()->constructTypedObject("BOMLine", top_uid);
  const Halden::Services::Cad::ExpandBomLinesPref pref{true, {}};
  std::unique_ptr<std::vector<std::vector<Orvane::PdmSoa::BomLine*>*>> lists;

  measure(
      state, n,
      [&] {
        pending = canned;
        if (lists) {
          for (auto* list : *lists) {
            for (auto* line : *list) delete line;
            delete list;
          }
          lists.reset();
        }
      },
      [&] {
        benchmark::DoNotOptimize(
            StructuremanagementService::getService(b.direct.get())->expandBomLinesOneLevel({direct_top}, pref));
      },
      [&] { lists.reset(b.table->KESTREL_expand_bom_lines({top}, 0)); });
  if (lists)
    for (auto* list : *lists) {
      for (auto* line : *list) delete line;
      delete list;
    }
  ::testing::Mock::VerifyAndClearExpectations(&b.test_server.structuremanagement);
}

// --- load by UID: slot 6 over n UIDs ---------------------------------------------

void BM_LoadObjects(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  Bench& b = bench();
  const std::vector<std::string> uids = b.folders(n);
  std::vector<UString> host_uids(uids.begin(), uids.end());
  const Server::WireServiceData canned = b.test_server.world.datamanagement.loadObjects(uids);
  Server::WireServiceData pending;
  ON_CALL(b.test_server.datamanagement, loadObjects(_)).WillByDefault([&](const auto&) { return std::move(pending); });
  std::vector<Orvane::PdmSoa::ModelObject*> out;

  measure(
      state, n,
      [&] {
        pending = canned;
        out.clear();
      },
      [&] { benchmark::DoNotOptimize(DatamanagementService::getService(b.direct.get())->loadObjects(uids)); },
      [&] { b.table->KESTREL_load_objects(host_uids, &out); });
  ::testing::Mock::VerifyAndClearExpectations(&b.test_server.datamanagement);
}

// --- reply digest: a reply of n created and n updated objects -------------------
// (a) the request alone, (b) the request and the library's digest of its reply.

void BM_Digest(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  Bench& b = bench();
  const std::vector<std::string> uids = b.folders(n);
  Server::WireServiceData canned = b.test_server.world.reply_with(uids);
  canned.created = uids;
  canned.updated = uids;
  Server::WireServiceData pending;
  ON_CALL(b.test_server.datamanagement, getProperties(_, _)).WillByDefault([&](const auto&, const auto&) {
    return std::move(pending);
  });
  auto* dm = DatamanagementService::getService(b.table->KESTREL_ask_connection());
  kestrel::HostObjects created, updated;

  measure(
      state, n,
      [&] {
        pending = canned;
        created.clear();
        updated.clear();
      },
      [&] { benchmark::DoNotOptimize(DatamanagementService::getService(b.direct.get())->getProperties({}, {})); },
      [&] {
        const auto reply = dm->getProperties({}, {});
        benchmark::DoNotOptimize(kestrel::digest_service_data(reply, &created, &updated, nullptr, nullptr, nullptr));
      });
  ::testing::Mock::VerifyAndClearExpectations(&b.test_server.datamanagement);
}

// --- structure update batch commit: slot 24 over n children --------------------
// n / 100 parents of 100 children each, as a CAD save sends them; the batch is
// described through the table before each commit, untimed. (a) sends the same
// records on its own connection.

void BM_CommitUpdateBatch(benchmark::State& state) {
  constexpr std::size_t kChildren = 100, kParts = 10;
  const double kMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};
  const auto n = static_cast<std::size_t>(state.range(0));
  Bench& b = bench();
  auto& world = b.test_server.world;
  auto* models = b.direct->getModelManager();
  const std::string prefix = "SAVE-" + std::to_string(n) + "-";
  auto revision_of = [&](const std::string& item_id, const char* name, bool released) {
    world.add_item(item_id, name);
    world.add_item_revision(item_id, "A", released);
    return b.table->KESTREL_get_item_revision_by_id(item_id, "A", 0);
  };
  std::vector<Orvane::PdmSoa::ModelObject*> parents, parts;
  for (std::size_t c = 0; c < kParts; ++c)
    parts.push_back(revision_of(prefix + "P-" + std::to_string(c), "Part", true));
  std::vector<Server::RelativeStructureRecord2> wire;
  std::vector<Halden::Services::Cad::RelativeStructureInfo2> direct_records;
  for (std::size_t p = 0; p < n / kChildren; ++p) {
    parents.push_back(revision_of(prefix + "A-" + std::to_string(p), "Assembly", false));
    const std::string parent_uid = parents.back()->GetUid().utf8();
    wire.push_back({{}, parent_uid, {}, false});
    direct_records.push_back({{}, models->constructTypedObject("ItemRevision", parent_uid), {}, false});
    for (std::size_t c = 0; c < kChildren; ++c) {
      const std::string client_id = std::to_string(p) + "_" + std::to_string(c);
      const std::string part_uid = parts[c % kParts]->GetUid().utf8();
      const std::vector<double> transform(kMatrix, kMatrix + 16);
      wire.back().children.push_back({client_id, "", part_uid, {}, false, transform, {}});
      direct_records.back().childInfo.push_back(
          {client_id, "", models->constructTypedObject("ItemRevision", part_uid), {{}, false, transform, {}}});
    }
  }
  const char* view_type = TOVMGR_VIREL_ask_view_type();
  const std::string view = view_type ? view_type : "";
  const Server::RelativeStructureReply canned =
      world.structuremanagement.createOrUpdateRelativeStructure2(wire, view, true, {true, "bl_occurrence_uid", {}});
  Server::RelativeStructureReply pending;
  ON_CALL(b.test_server.structuremanagement, createOrUpdateRelativeStructure2(_, _, _, _))
      .WillByDefault([&](const auto&, const auto&, auto, const auto&) { return std::move(pending); });
  const Halden::Services::Cad::RelativeStructurePref2 pref{true, "bl_occurrence_uid", {}};
  std::unique_ptr<std::map<std::string, std::string>> handles;
  std::unique_ptr<std::map<std::string, Orvane::PdmSoa::Component*>> components;

  measure(
      state, n,
      [&] {
        pending = canned;
        handles.reset();
        components.reset();
        b.table->KESTREL_RelativeStructureUpdateStart();
        for (std::size_t p = 0; p < parents.size(); ++p) {
          b.table->KESTREL_RelativeStructureUpdateStartAssy(static_cast<int>(p), parents[p], false, nullptr);
          for (std::size_t c = 0; c < kChildren; ++c)
            b.table->KESTREL_RelativeStructureAddChild(static_cast<int>(p), static_cast<int>(c), parts[c % kParts], "",
                                                       kMatrix, false, nullptr, nullptr);
        }
      },
      [&] {
        benchmark::DoNotOptimize(StructuremanagementService::getService(b.direct.get())
                                     ->createOrUpdateRelativeStructure(direct_records, view, true, pref));
      },
      [&] {
        std::map<std::string, Orvane::PdmSoa::Component*>* out = nullptr;
        handles.reset(b.table->KESTREL_RelativeStructureUpdateCommit(true, &out));
        components.reset(out);
      });
  b.table->KESTREL_RelativeStructureUpdateStart();
  ::testing::Mock::VerifyAndClearExpectations(&b.test_server.structuremanagement);
}

// --- saved-query run: slot 10 finding n objects ----------------------------------

void BM_ExecuteSavedQuery(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  Bench& b = bench();
  auto& world = b.test_server.world;
  const std::vector<std::string> uids = b.folders(n);
  const std::string query_uid = "query-overhead-" + std::to_string(n);
  world.savedquery.add_query(query_uid, "Found " + std::to_string(n), "Folder", {});
  Orvane::PdmSoa::Query* query = nullptr;
  {
    std::unique_ptr<std::vector<Orvane::PdmSoa::Query*>> listed(b.table->KESTREL_list_saved_queries());
    for (auto* listed_query : *listed)
      if (listed_query->GetUid().utf8() == query_uid) query = listed_query;
  }
  Server::ExecuteQueryReply canned{static_cast<int>(n), uids, world.reply_with(uids)};
  Server::ExecuteQueryReply pending;
  ON_CALL(b.test_server.savedquery, executeSavedQuery(_, _, _, _))
      .WillByDefault([&](const auto&, const auto&, const auto&, auto) { return std::move(pending); });
  auto* direct_query = b.direct->getModelManager()->constructTypedObject("OstraQuery", query_uid);
  const std::vector<std::string> entries = {"Name"}, values = {"*"};
  std::unique_ptr<std::vector<Orvane::PdmSoa::PomObject*>> found;

  measure(
      state, n,
      [&] {
        pending = canned;
        found.reset();
      },
      [&] {
        benchmark::DoNotOptimize(
            SavedqueryService::getService(b.direct.get())->executeSavedQuery(direct_query, entries, values, 0));
      },
      [&] { found.reset(b.table->KESTREL_execute_saved_query(query, entries, values, 0)); });
  ::testing::Mock::VerifyAndClearExpectations(&b.test_server.savedquery);
}

}  // namespace

BENCHMARK(BM_ExpandBomLines)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadObjects)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Digest)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommitUpdateBatch)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteSavedQuery)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
