// Slot 122 over 100 projects, each object naming 3 of them in its pending
// lists, at growing numbers of objects; the time per object should stay flat.
// The baseline sends the same request through the framework alone, so the
// difference is the library's own work.
#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <vector>

#include "bench_session.h"
#include "corerun/testing.h"
#include "halden/server/ProjectLevelSecurityStub.h"
#include "halden/server/TestServer.h"
#include "halden/services/core/ProjectlevelsecurityService.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"

namespace {

namespace Wire = Halden::Soa::Server;

constexpr const char* kHost = "http://bench-projects:7001/kestrel";
constexpr int kProjects = 100;
constexpr int kLabelsPerObject = 3;
constexpr int kSizes[] = {1000, 10000, 100000};

std::string project_uid(int p) { return "project-P" + std::to_string(p); }
std::string label_of(int p) { return "P" + std::to_string(p) + "-Programme " + std::to_string(p); }

// A server that knows the projects and takes assignments without keeping them.
class Projects : public Wire::ProjectLevelSecurityStub {
 public:
  Projects() {
    for (int p = 0; p < kProjects; ++p) {
      list_.projects.push_back({project_uid(p), {}});
      list_.data.objects.push_back({project_uid(p),
                                    {"HX_Project", "POM_object"},
                                    {Wire::props::str("project_id", "P" + std::to_string(p)),
                                     Wire::props::str("project_name", "Programme " + std::to_string(p))}});
    }
  }
  Wire::ProjectListReply getProjectList() override { return list_; }
  Wire::ProjectTeamsReply getProjectTeams(const std::vector<std::string>&) override { return {}; }
  Wire::ProjectDataReply getProjectData(const std::vector<Wire::ProjectDataRequest>&) override { return {}; }
  Wire::WireServiceData assignOrRemoveObjects(const std::vector<Wire::ProjectAssignmentRecord>& records) override {
    records_ = records.size();
    return {};
  }
  std::size_t records_ = 0;

 private:
  Wire::ProjectListReply list_;
};

struct Session {
  Session() {
    corerun::testing::set_log_enabled(false);
    int serial = 0;
    for (int size : kSizes)
      for (int i = 0; i < size; ++i)
        test_server.world.add_object("obj-" + std::to_string(serial++), {"Item", "WorkspaceObject"});
    test_server.server.install<Wire::ProjectLevelSecurityStub>(&projects);
    table = bench::open_session(kHost);
    delete table->KESTREL_list_project_ids();  // the session now holds the projects

    // Each object is to join three projects and to leave a fourth.
    serial = 0;
    for (int size : kSizes) {
      std::vector<UString> uids;
      for (int i = 0; i < size; ++i) uids.emplace_back("obj-" + std::to_string(serial++));
      std::vector<Orvane::PdmSoa::ModelObject*> loaded;
      table->KESTREL_load_objects(uids, &loaded);
      for (int i = 0; i < size; ++i) {
        for (int l = 0; l < kLabelsPerObject; ++l)
          loaded[i]->AddAssignedProject(UString(label_of((i + l) % kProjects)));
        loaded[i]->AddRemovedProject(UString(label_of((i + kLabelsPerObject) % kProjects)));
      }
      objects.emplace_back(loaded.begin(), loaded.end());
    }
  }

  const KESTREL_host_object_list& objects_of(int size) {
    for (std::size_t i = 0; i < std::size(kSizes); ++i)
      if (kSizes[i] == size) return objects[i];
    return objects.front();
  }

  Wire::TestServer test_server{kHost};
  Projects projects;
  const KESTREL_interface_s* table = nullptr;
  std::vector<KESTREL_host_object_list> objects;
};

Session& session() {
  static Session s;
  return s;
}

void BM_AssignAndRemoveProjects(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Session& s = session();
  const auto& objects = s.objects_of(size);
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.table->KESTREL_assign_and_remove_projects(objects));
    s.test_server.server.requests.clear();
  }
  if (s.projects.records_ != kProjects) state.SkipWithError("not one record per project");
  state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_AssignAndRemoveProjects)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMicrosecond);

// The same request, built in advance and sent through the framework.
void BM_FrameworkAssignmentRequest(benchmark::State& state) {
  using Halden::Services::Core::ProjectAssignmentInput;
  using Halden::Services::Core::ProjectlevelsecurityService;
  const int size = static_cast<int>(state.range(0));
  Session& s = session();
  const auto& objects = s.objects_of(size);
  auto* connection = s.table->KESTREL_ask_connection();
  auto* models = connection->getModelManager();
  std::vector<ProjectAssignmentInput> request(kProjects);
  for (int p = 0; p < kProjects; ++p) request[p].projects = {models->findObject(project_uid(p))};
  for (int i = 0; i < size; ++i) {
    for (int l = 0; l < kLabelsPerObject; ++l)
      request[(i + l) % kProjects].objectsToAssign.push_back(objects[i]->GetObjectPtr());
    request[(i + kLabelsPerObject) % kProjects].objectsToRemove.push_back(objects[i]->GetObjectPtr());
  }
  auto* service = ProjectlevelsecurityService::getService(connection);
  for (auto _ : state) {
    benchmark::DoNotOptimize(service->assignOrRemoveObjects(request));
    s.test_server.server.requests.clear();
  }
  state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_FrameworkAssignmentRequest)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
