// The upload of validation report files after core creation, at growing
// numbers of inputs with two files each: one ticket request, one upload and
// one commit whatever the count, and the time per file should stay flat.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/testing.h"
#include "kestrel/kestrel_interface.h"
#include "kestrel_validation.h"
#include "objmodel/SoaManager.h"

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
    int version = 0;
    table = KESTREL_init_module(&version);
    Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
    table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    table->KESTREL_login("engineer", "secret", true);
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

}  // namespace

BENCHMARK_MAIN();
