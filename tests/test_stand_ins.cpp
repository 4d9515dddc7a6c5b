// What the stand-ins keep for a long run, and how the sample world grows: the
// host's recorders hold the last 64 reports each, so a host process that runs
// for long does not grow by them; the datasets a request creates each join
// their revision's relation in one step, under UIDs the world does not
// hold yet.
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

class StandInTest : public SessionTest {
 protected:
  // Creates count datasets of K-1000/B in one request; answers the host objects made.
  std::vector<Orvane::PdmSoa::ModelObject*> CreateSheets(std::size_t count) {
    Orvane::PdmSoa::ItemRevision* revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
    EXPECT_THAT(revision, NotNull());
    DatasetCreateInput input{UString("sheet"), revision,       UString("OSTRA_manifestation"),
                             UString("sheet"), UString("PDF"), UString(""),
                             nullptr};
    std::vector<Orvane::PdmSoa::ModelObject*> created;
    table->KESTREL_create_datasets(std::vector<DatasetCreateInput*>(count, &input), &created, nullptr, nullptr,
                                   nullptr);
    return created;
  }
};

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
  CreateSheets(2);
  CreateSheets(1);

  const auto& properties = world.find("rev-K-1000-B")->properties;
  EXPECT_THAT(properties.at("OSTRA_manifestation").references,
              ElementsAre("ds-K-1000-B-drawing", "dataset-1", "dataset-2", "dataset-3"));
}

// A UID already in the world (a test's own object, say) is passed over, so
// creation never overwrites an object.
TEST_F(StandInTest, NewObjectsNeverTakeAUidTheWorldHolds) {
  world.add_object("dataset-1", {"Dataset", "WorkspaceObject", "POM_object"},
                   {Halden::Soa::Server::props::str("object_name", "kept")});
  ConnectAndLogin();
  const auto created = CreateSheets(2);

  ASSERT_THAT(created, SizeIs(2));
  EXPECT_EQ(created[0]->GetUid().utf8(), "dataset-2");
  EXPECT_EQ(created[1]->GetUid().utf8(), "dataset-3");
  EXPECT_THAT(world.find("dataset-1")->properties.at("object_name").strings, ElementsAre("kept"));
}

}  // namespace
}  // namespace kestrel::test
