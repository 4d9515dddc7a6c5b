// What the stand-ins keep for a long run, and how the sample world grows: the
// host's recorders hold the last 64 reports each, so a host process that runs
// for long does not grow by them; the datasets a request creates each join
// their revision's relation in one step.
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
using ::testing::NotNull;
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

TEST_F(StandInTest, DatasetsCreatedForARevisionAllJoinItsRelation) {
  ConnectAndLogin();
  Orvane::PdmSoa::ItemRevision* revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
  ASSERT_THAT(revision, NotNull());
  DatasetCreateInput input{UString("sheet"), revision, UString("OSTRA_manifestation"), UString("sheet"), UString("PDF"),
                           UString(""),      nullptr};
  std::vector<Orvane::PdmSoa::ModelObject*> created;
  table->KESTREL_create_datasets({&input, &input}, &created, nullptr, nullptr, nullptr);
  table->KESTREL_create_datasets({&input}, &created, nullptr, nullptr, nullptr);

  const auto& properties = world.find("rev-K-1000-B")->properties;
  EXPECT_THAT(properties.at("OSTRA_manifestation").references,
              ElementsAre("ds-K-1000-B-drawing", "dataset-1", "dataset-2", "dataset-3"));
}

}  // namespace
}  // namespace kestrel::test
