// The upload of validation report files after core creation, at growing
// numbers of inputs with two files each: one ticket request, one upload and
// one commit whatever the count, and the time per file should stay flat.
// Then the results of one object with their report files, through slot 82,
// at growing numbers of results of three files each, under a 1,000-entry
// filter: one ticket request per report, and the time per file flat.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/testing.h"
#include "kestrel/kestrel_interface.h"
#include "kestrel_validation.h"

namespace {

namespace Wire = Halden::Soa::Server;
using ServerObject = Halden::Soa::Client::ModelObject;

constexpr const char* kHost = "http://bench-validation:7001/kestrel";
constexpr int kFilesPerInput = 2;

std::string dataset_uid(int i) { return "bench-report-" + std::to_string(i); }

struct Upload {
  std::vector<ValidationResultInput> inputs;
  std::map<std::string, ServerObject*> datasets;
  Wire::WriteTicketsReply tickets;
};

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    table = bench::open_session(kHost);
    // Canned answers: the benchmark measures the library, not the world.
    ON_CALL(test_server.filemanagement, getDatasetWriteTickets).WillByDefault([this](const auto& requests) {
      return requests.size() == current->inputs.size() ? current->tickets : Wire::WriteTicketsReply();
    });
    ON_CALL(test_server.filemanagement, commitDatasetFiles).WillByDefault([](const auto&) {
      return Wire::WireServiceData();
    });
  }

  Upload& upload_of(int count) {
    auto& upload = uploads[count];
    if (!upload.inputs.empty()) return upload;
    auto* models = table->KESTREL_ask_connection()->getModelManager();
    for (int i = 0; i < count; ++i) {
      const std::string uid = dataset_uid(i);
      test_server.world.add_object(uid, {"HTML", "Dataset", "WorkspaceObject", "POM_object"});
      ValidationResultInput input;
      input.reports.push_back({true, "", "report", "HTML", {}});
      Wire::CommitInfoRecord commit{uid, true, {}};
      for (int f = 0; f < kFilesPerInput; ++f) {
        const std::string name = "check-" + std::to_string(i) + "-" + std::to_string(f) + ".html";
        input.reports[0].files.push_back({"C:\\reports\\" + name, "HTML_Report", 1});
        commit.file_infos.push_back({"", name, "HTML_Report", true, true, "write-" + std::to_string(i) + "-" + name});
      }
      upload.inputs.push_back(std::move(input));
      upload.datasets[std::to_string(i)] = models->constructTypedObject("HTML", uid);
      upload.tickets.commit_infos.push_back(std::move(commit));
    }
    upload.tickets.data = test_server.world.reply_with({});
    return upload;
  }

  Wire::TestServer test_server{kHost};
  const KESTREL_interface_s* table = nullptr;
  std::map<int, Upload> uploads;
  Upload* current = nullptr;
};

Session& session() {
  static Session s;
  return s;
}

void BM_UploadReportFiles(benchmark::State& state) {
  Session& s = session();
  const int count = static_cast<int>(state.range(0));
  Upload& upload = s.upload_of(count);
  s.current = &upload;
  for (auto _ : state) {
    s.test_server.server.requests.clear();
    kestrel::upload_report_files(upload.inputs, upload.datasets);
    const auto& calls = Halden::Soa::Client::testing::uploads();
    const auto& requests = s.test_server.server.requests;
    if (requests.size() != 2 || requests[0].operation != "getDatasetWriteTickets" ||
        requests[1].operation != "commitDatasetFiles" || calls.size() != 1 ||
        calls[0].size() != static_cast<std::size_t>(count * kFilesPerInput)) {
      state.SkipWithError("not one ticket request, one upload of every file and one commit");
      break;
    }
    Halden::Soa::Client::testing::reset_uploads();
  }
  state.SetItemsProcessed(state.iterations() * count * kFilesPerInput);
  state.counters["files"] = count * kFilesPerInput;
}
BENCHMARK(BM_UploadReportFiles)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// ---- slot 82: results of one object with their report files and tickets

constexpr int kFilesPerReport = 3;
constexpr int kFilterSize = 1000;

std::string data_target(int results) { return "bench-valdata-target-" + std::to_string(results); }

// A target with that many results, each with its own data object and a
// report of three files; the filter names every data object, padded to
// 1,000 entries with data objects of no result.
std::vector<std::string> add_results_with_reports(Wire::SampleWorld& world, int results) {
  namespace props = Wire::props;
  using Wire::ValidationWorld;
  const std::string target = data_target(results);
  world.add_object(target, {"Dataset", "WorkspaceObject", "POM_object"});
  std::vector<std::string> filter;
  filter.reserve(kFilterSize);
  for (int i = 0; i < results; ++i) {
    const std::string suffix = std::to_string(results) + "-" + std::to_string(i);
    const std::string data = "bench-data-" + suffix, report = "bench-report-" + suffix;
    world.add_object(data, {"ValidationData", "WorkspaceObject", "POM_object"});
    world.add_object(report, ValidationWorld::dataset_types("ValReport"),
                     {props::refs("ref_list", {}), props::strs("ref_names", {})});
    for (int f = 0; f < kFilesPerReport; ++f)
      world.set_property(world.add_dataset_file(report, "Text", "check-" + std::to_string(f) + ".log"),
                         props::integer("text_flag", 1));
    world.add_object("bench-result-" + suffix, ValidationWorld::result_types(),
                     {props::ref("validation_target", target), props::ref("validation_data_obj", data),
                      props::refs("validation_report", {report})});
    filter.push_back(data);
  }
  for (int i = results; i < kFilterSize; ++i) filter.push_back("bench-data-elsewhere-" + std::to_string(i));
  return filter;
}

void BM_ValidationDataWithReports(benchmark::State& state) {
  const int results = static_cast<int>(state.range(0));
  Session& s = session();
  static std::map<int, std::vector<std::string>> filters;
  if (!filters.count(results)) filters[results] = add_results_with_reports(s.test_server.world, results);
  const ValidationDataRequest request{{data_target(results)}, filters[results], false};
  auto& requests = s.test_server.server.requests;
  // The first call loads the datasets' and files' properties; later calls
  // find them loaded, as a host's repeated calls do.
  s.table->KESTREL_get_validation_data(request);
  for (auto _ : state) {
    requests.clear();
    const ValidationDataList list = s.table->KESTREL_get_validation_data(request);
    benchmark::DoNotOptimize(list.reports.data());
    state.PauseTiming();
    // One load of the object, one results request, one ticket request per report.
    const auto expected = static_cast<std::size_t>(2 + results);
    if (requests.size() != expected || list.result_uids.size() != static_cast<std::size_t>(results)) {
      state.SkipWithError("not one load, one results request and one ticket request per report");
      break;
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * results * kFilesPerReport);
}
BENCHMARK(BM_ValidationDataWithReports)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
