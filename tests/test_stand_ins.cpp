// What the stand-ins keep for a long run: the host's recorders hold the last
// 64 reports each, so a host process that runs for long does not grow by them.
#include <vector>

#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "objmodel/SoaManager.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Orvane::PdmSoa::Dataset;
using Orvane::PdmSoa::ModelObjectManager;
using Orvane::PdmSoa::SoaManager;
using ::testing::ElementsAre;
using ::testing::SizeIs;

using StandInTest = SessionTest;

TEST_F(StandInTest, HostKeepsTheLastDatasetListsAndObjectLists) {
  ModelObjectManager& host = *SoaManager::GetObjectManager();
  Dataset first(nullptr), last(nullptr);
  Orvane::PdmSoa::ModelObject* objects[] = {&first, &last};
  for (int i = 0; i < 70; ++i) {
    host.RegisterDatasets({i == 69 ? &last : &first});
    host.SetObjectList(i == 69 ? 2 : 1, objects);
  }
  ASSERT_THAT(host.registered_datasets, SizeIs(ModelObjectManager::kKeptReports));
  EXPECT_THAT(host.registered_datasets.back(), ElementsAre(&last));
  ASSERT_THAT(host.object_lists, SizeIs(ModelObjectManager::kKeptReports));
  EXPECT_THAT(host.object_lists.back(), ElementsAre(&first, &last));
}

}  // namespace
}  // namespace kestrel::test
