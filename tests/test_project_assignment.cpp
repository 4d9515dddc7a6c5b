// Assigning objects to projects and removing them: by labels (slots 117 and
// 118) and by each object's own pending lists (slot 122).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/SoaManager.h"
#include "support/project_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::ProjectAssignmentRecord;
using Halden::Soa::Server::ProjectListReply;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::Matcher;
using ::testing::Return;
using ::testing::Throw;
using Uids = std::vector<std::string>;

Matcher<const ProjectAssignmentRecord&> Record(Uids projects, Uids assign, Uids remove) {
  return AllOf(Field("projects", &ProjectAssignmentRecord::project_uids, projects),
               Field("assign", &ProjectAssignmentRecord::assign_uids, assign),
               Field("remove", &ProjectAssignmentRecord::remove_uids, remove));
}

class AssignmentTest : public ProjectTest {
 protected:
  AssignmentTest() {
    ON_CALL(projectlevelsecurity, assignOrRemoveObjects(_)).WillByDefault([this](const auto& records) {
      sent.push_back(records);
      return world.projectlevelsecurity.assignOrRemoveObjects(records);
    });
  }

  std::vector<std::string> ProjectsOf(Orvane::PdmSoa::ModelObject* object) {
    return Take(table->KESTREL_ask_projects_list(object));
  }

  // The assignment requests, one list of records each.
  std::vector<std::vector<ProjectAssignmentRecord>> sent;
};

TEST_F(AssignmentTest, AssignSendsOneRecordOfTheNamedProjects) {
  auto objects = Load({"item-K-1100", "rev-K-1100-A"});
  // Named twice, named by another case, named by nothing.
  EXPECT_TRUE(table->KESTREL_assign_objects_to_projects(
      {"K200", "K100-Utility cart", "K100-Utility cart", "k200", "K200 ", "nothing"}, objects));
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_THAT(sent[0], ElementsAre(Record({"project-K100", "project-K100", "project-K200"},
                                          {"item-K-1100", "rev-K-1100-A"}, {})));
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "assignOrRemoveObjects"));
  EXPECT_EQ(Policies(), (std::vector<int>{2, 2}));
  ASSERT_EQ(docsvc::testing::checks().size(), 1u);
  EXPECT_TRUE(docsvc::testing::checks()[0].had_error_record);
  EXPECT_FALSE(docsvc::testing::checks()[0].had_output_lists);

  // The reply brings the objects' new projects along.
  ClearRequests();
  EXPECT_THAT(ProjectsOf(objects[0]), ElementsAre("K100", "K200"));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(AssignmentTest, RemoveSendsTheObjectsInTheThirdField) {
  auto objects = Load({"item-K-1000", "item-K-9001"});
  EXPECT_TRUE(table->KESTREL_remove_objects_from_projects({"K100-Utility cart"}, objects));
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_THAT(sent[0], ElementsAre(Record({"project-K100"}, {}, {"item-K-1000", "item-K-9001"})));
  EXPECT_THAT(ProjectsOf(objects[0]), IsEmpty());
  EXPECT_THAT(TakeUids(table->KESTREL_get_project_objects("K100")),
              ElementsAre("rev-K-1000-B", "ds-K-1000-B-model", "ds-K-1000-B-part"));
}

TEST_F(AssignmentTest, OneRecordIsSentEvenWhenItsListsAreEmpty) {
  auto objects = Load({"item-K-1100"});
  EXPECT_TRUE(table->KESTREL_assign_objects_to_projects({"nothing"}, objects));
  EXPECT_TRUE(table->KESTREL_assign_objects_to_projects({"S900-Standard parts"}, {}));
  EXPECT_TRUE(table->KESTREL_remove_objects_from_projects({}, {}));
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({}, {"item-K-1100"}, {})),
                                ElementsAre(Record({"project-S900"}, {}, {})), ElementsAre(Record({}, {}, {}))));
}

// Stands in for the library's slot 5 in the host's copy of the table.
const KESTREL_interface_s* library = nullptr;
std::vector<std::pair<std::string, std::string>> constructed;
Halden::Soa::Client::ModelObject* RecordingConstruct(const std::string& type_name, const std::string& uid) {
  constructed.emplace_back(type_name, uid);
  return library->constructObject(type_name, uid);
}

TEST_F(AssignmentTest, ObjectsComeThroughTheHostsCopyOfTheTable) {
  auto objects = Load({"item-K-1100", "rev-K-1100-A"});
  library = table;
  KESTREL_interface_s hosts_copy = *table;
  hosts_copy.constructObject = &RecordingConstruct;
  SoaManager::SetSoaInterface(&hosts_copy);
  table->KESTREL_assign_objects_to_projects({"K200"}, objects);
  SoaManager::SetSoaInterface(table);
  EXPECT_THAT(constructed,
              ElementsAre(std::pair<std::string, std::string>{"Halden::Soa::Client::ModelObject", "item-K-1100"},
                          std::pair<std::string, std::string>{"Halden::Soa::Client::ModelObject", "rev-K-1100-A"}));
}

TEST_F(AssignmentTest, WithoutTheHostsTableTheLibrarysOwnConstructionServes) {
  auto objects = Load({"item-K-1100"});
  SoaManager::SetSoaInterface(nullptr);
  EXPECT_TRUE(table->KESTREL_remove_objects_from_projects({"K200"}, objects));
  SoaManager::SetSoaInterface(table);
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({"project-K200"}, {}, {"item-K-1100"}))));
}

TEST_F(AssignmentTest, NullHostObjectsRaiseBeforeAnyRequest) {
  auto objects = Load({"item-K-1100"});
  objects.push_back(nullptr);
  const struct {
    std::function<void()> call;
    const char* text;
  } cases[] = {
      {[&] { table->KESTREL_assign_objects_to_projects({"K200"}, objects); },
       "KRAL SOA: Null object in KESTREL_assign_objects_to_projects"},
      {[&] { table->KESTREL_remove_objects_from_projects({"K200"}, objects); },
       "KRAL SOA: Null object in KESTREL_remove_objects_from_projects"},
      {[&] { table->KESTREL_assign_and_remove_projects(objects); },
       "KRAL SOA: Null object in KESTREL_assign_and_remove_projects"},
  };
  for (const auto& c : cases) EXPECT_THAT(c.call, RaisesFrom(940208, c.text, "kestrel_projects.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(AssignmentTest, FailedConstructionSendsNothing) {
  auto objects = Load({"item-K-1100"});
  Halden::Soa::Client::testing::set_malformed_uids({"item-K-1100"});
  EXPECT_THAT([&] { table->KESTREL_assign_objects_to_projects({"K200"}, objects); },
              Raises(940205, ::testing::HasSubstr("item-K-1100")));
  Halden::Soa::Client::testing::set_malformed_uids({});
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(AssignmentTest, ProjectListFailuresReachTheHostUnchanged) {
  auto objects = Load({"item-K-1100"});
  objects[0]->AddAssignedProject("K200");
  ON_CALL(projectlevelsecurity, getProjectList()).WillByDefault(Throw(RuntimeException("list down")));
  EXPECT_THROW(table->KESTREL_assign_objects_to_projects({"K200"}, objects), RuntimeException);
  EXPECT_THROW(table->KESTREL_assign_and_remove_projects(objects), RuntimeException);
  EXPECT_THAT(sent, IsEmpty());
  EXPECT_EQ(server.requests.at(0).policy, 2);
}

// The labels are made outside the conversion of the assignment request.
TEST_F(AssignmentTest, AFailedForcedLoadOfALabelReachesTheHostUnchanged) {
  world.set_policy("HX_Project", {});
  auto objects = Load({"item-K-1100"});
  objects[0]->AddAssignedProject("K200");
  ON_CALL(datamanagement, getProperties(_, _)).WillByDefault(Throw(NotLoadedException("no texts")));
  EXPECT_THROW(table->KESTREL_assign_objects_to_projects({"K200"}, objects), NotLoadedException);
  EXPECT_THROW(table->KESTREL_assign_and_remove_projects(objects), NotLoadedException);
  EXPECT_THAT(sent, IsEmpty());
}

TEST_F(AssignmentTest, PartialErrorsGoToTheListenerAndTheEntriesStillSucceed) {
  auto objects = Load({"item-K-1100"});
  objects[0]->AddAssignedProject("K200");
  WireServiceData refused;
  refused.errors = {{"item-K-1100", 0, "", {{101005, 3, "not a member"}}}};
  ON_CALL(projectlevelsecurity, assignOrRemoveObjects(_)).WillByDefault(Return(refused));
  EXPECT_TRUE(table->KESTREL_assign_objects_to_projects({"K200"}, objects));
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  EXPECT_EQ(SoaManager::GetObjectManager()->error_reports.size(), 2u);
  ASSERT_EQ(docsvc::testing::checks().size(), 2u);
  EXPECT_EQ(docsvc::testing::checks()[1].partial_errors, 1u);
}

// --- Slot 122: each object's own pending lists ---

TEST_F(AssignmentTest, PendingListsMakeOneRecordPerProjectInTheServersOrder) {
  auto objects = Load({"item-K-1100", "item-K-1000", "item-K-1200"});
  auto* a = objects[0];
  auto* b = objects[1];
  auto* c = objects[2];
  a->AddAssignedProject("S900-Standard parts");
  a->AddAssignedProject("K200");
  b->AddAssignedProject("K200");
  b->AddAssignedProject("K200");  // once per project
  b->AddRemovedProject("K100-Utility cart");
  c->AddRemovedProject("K200");
  c->AddAssignedProject("K100-Utility cart");
  c->AddAssignedProject("unknown");

  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_THAT(sent[0], ElementsAre(Record({"project-K100"}, {"item-K-1200"}, {"item-K-1000"}),
                                   Record({"project-K200"}, {"item-K-1100", "item-K-1000"}, {"item-K-1200"}),
                                   Record({"project-S900"}, {"item-K-1100"}, {})));
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "assignOrRemoveObjects"));
  EXPECT_EQ(Policies(), (std::vector<int>{2, 2}));

  // The host's lists are the host's to clear.
  EXPECT_EQ(b->AskAssignedProjects().size(), 2u);
  EXPECT_THAT(ProjectsOf(a), ElementsAre("K200", "S900"));
  EXPECT_THAT(ProjectsOf(b), ElementsAre("K200"));
  EXPECT_THAT(ProjectsOf(c), ElementsAre("K100"));
}

TEST_F(AssignmentTest, ObjectInBothListsOfAProjectGoesIntoBoth) {
  auto objects = Load({"item-K-1100"});
  objects[0]->AddAssignedProject("K200");
  objects[0]->AddRemovedProject("K200");
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({"project-K200"}, {"item-K-1100"}, {"item-K-1100"}))));
}

TEST_F(AssignmentTest, NothingPendingSendsNothing) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  auto objects = Load({"item-K-1100", "item-K-1000"});
  objects[1]->AddAssignedProject("k200");  // labels compare exactly
  objects[1]->AddRemovedProject("K200 ");
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects({}));
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "getProjectList"));
  EXPECT_EQ(log_text(),
            "KRAL SOA debug - No Projects to assign and remove \n"
            "KRAL SOA debug - No Projects to assign and remove \n");

  corerun::testing::set_debug_flag("TOVMGR_debug_soa", false);
  clear_log();
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  EXPECT_EQ(log_text(), "");
}

TEST_F(AssignmentTest, HostObjectWithoutServerObjectIsSentAsNull) {
  Orvane::PdmSoa::ModelObject orphan(nullptr);
  orphan.AddAssignedProject("K200");
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects({&orphan}));
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({"project-K200"}, {""}, {}))));
}

TEST_F(AssignmentTest, ProjectsSharingALabelEachGetTheObjects) {
  // "Q1" named "X" and "Q1-X" named as itself both read as "Q1-X".
  world.projectlevelsecurity.add_project("Q1", "X");
  world.projectlevelsecurity.add_project("Q1-X", "Q1-X");
  auto objects = Load({"item-K-1100", "item-K-1000"});
  objects[0]->AddAssignedProject("Q1-X");
  objects[1]->AddRemovedProject("Q1-X");
  EXPECT_TRUE(table->KESTREL_assign_and_remove_projects(objects));
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({"project-Q1"}, {"item-K-1100"}, {"item-K-1000"}),
                                            Record({"project-Q1-X"}, {"item-K-1100"}, {"item-K-1000"}))));

  sent.clear();
  EXPECT_TRUE(table->KESTREL_assign_objects_to_projects({"Q1-X"}, {objects[1]}));
  EXPECT_THAT(sent, ElementsAre(ElementsAre(Record({"project-Q1", "project-Q1-X"}, {"item-K-1000"}, {}))));
}

}  // namespace
}  // namespace kestrel::test
