// Project lists and labels, the session user's projects, project entries and
// teams, an object's projects, and the objects of projects.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "support/framework_failures.h"
#include "support/project_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::ProjectDataReply;
using Halden::Soa::Server::ProjectDataRequest;
using Halden::Soa::Server::ProjectListReply;
using Halden::Soa::Server::ProjectTeamsReply;
using Halden::Soa::Server::SessionInfoReply;
using Halden::Soa::Server::WireServiceData;
using ::testing::_;
using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Return;
using ::testing::Throw;
namespace props = Halden::Soa::Server::props;

// A project-list reply naming these UIDs ("" a null entry), each object as
// the world holds it.
ProjectListReply ListOf(Halden::Soa::Server::SampleWorld& world, const std::vector<std::string>& uids) {
  ProjectListReply reply;
  for (const auto& uid : uids) reply.projects.push_back({uid, {}});
  reply.data = world.reply_with(uids);
  return reply;
}

TEST_F(ProjectTest, ListsLabelsAndIdsInTheServersOrder) {
  EXPECT_EQ(Take(table->KESTREL_list_project_names()), kLabels);
  EXPECT_EQ(Take(table->KESTREL_list_project_ids()), kIds);
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "getProjectList"));
  EXPECT_THAT(Policies(), Each(2));
}

TEST_F(ProjectTest, LabelJoinsIdAndNameUnlessTheyAreEqual) {
  struct Case {
    const char* id;
    Halden::Soa::Server::WireProperty name;
    const char* label;
  };
  const Case cases[] = {
      {"P100", props::str("project_name", "Wing"), "P100-Wing"},
      {"P101", props::str("project_name", "P101"), "P101"},
      {"P102", props::str("project_name", ""), "P102-"},
      {"P103", props::str("project_name", "p103"), "P103-p103"},  // exact comparison
      {"P104", props::str("project_name", " P104"), "P104- P104"},
      {"P105", props::null("project_name", Halden::Soa::Common::ValueType::String), "P105-"},  // null reads as ""
  };
  for (const auto& c : cases) {
    const std::string uid = world.projectlevelsecurity.add_project(c.id, "");
    world.set_property(uid, c.name);
  }
  const auto labels = Take(table->KESTREL_list_project_names());
  ASSERT_EQ(labels.size(), kLabels.size() + std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(labels[kLabels.size() + i], cases[i].label);
}

TEST_F(ProjectTest, ProjectWithoutItsTextsLoadsThemOnceEach) {
  world.set_policy("HX_Project", {});
  using Names = std::vector<std::string>;
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("project-K100"), Names{"project_id"}));
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("project-K200"), Names{"project_id"}));
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("project-S900"), Names{"project_id"}));
  EXPECT_EQ(Take(table->KESTREL_list_project_ids()), kIds);
  EXPECT_THAT(Policies(), Each(2));
  EXPECT_EQ(log_text(), "");  // no warning of its own
}

TEST_F(ProjectTest, LabelOfAProjectWithoutItsTextsLoadsIdAndNameTogether) {
  world.set_policy("HX_Project", {});
  EXPECT_CALL(datamanagement, getProperties(_, std::vector<std::string>{"project_id", "project_name"})).Times(3);
  EXPECT_EQ(Take(table->KESTREL_list_project_names()), kLabels);
}

TEST_F(ProjectTest, TextsTheServerWillNotLoadAreEmpty) {
  world.set_policy("HX_Project", {});
  ON_CALL(datamanagement, getProperties(_, _)).WillByDefault(Return(WireServiceData{}));
  EXPECT_EQ(Take(table->KESTREL_list_project_ids()), std::vector<std::string>(3, ""));
  EXPECT_EQ(Take(table->KESTREL_list_project_names()), std::vector<std::string>(3, ""));
}

// The text making of slots 109 and 110 stands outside any conversion: a
// failed forced load reaches the host as the framework threw it.
TEST_F(ProjectTest, AFailedForcedLoadOfTheTextsReachesTheHostUnchanged) {
  world.set_policy("HX_Project", {});
  const std::function<void()> lists[] = {[&] { Take(table->KESTREL_list_project_names()); },
                                         [&] { Take(table->KESTREL_list_project_ids()); }};
  for (const auto& list : lists) {
    EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(RuntimeException("load down")));
    EXPECT_THROW(list(), RuntimeException);
    EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(NotLoadedException("still gone")));
    EXPECT_THROW(list(), NotLoadedException);
    EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(SoaException("refused")));
    EXPECT_THROW(list(), SoaException);
  }
}

TEST_F(ProjectTest, EntriesThatAreNoProjectAreSkipped) {
  ON_CALL(projectlevelsecurity, getProjectList())
      .WillByDefault(Return(ListOf(world, {"", "item-K-1000", "project-K200", ""})));
  EXPECT_THAT(Take(table->KESTREL_list_project_ids()), ElementsAre("K200"));
  EXPECT_THAT(Take(table->KESTREL_list_project_names()), ElementsAre("K200"));
}

TEST_F(ProjectTest, SessionUsersProjects) {
  EXPECT_THAT(Take(table->KESTREL_get_user_projects(true)), ElementsAre("K100-Utility cart", "K200"));
  EXPECT_THAT(Take(table->KESTREL_get_user_projects(false)), ElementsAre("K100-Utility cart"));
  EXPECT_THAT(Take(table->KESTREL_get_privileged_projects()), ElementsAre("K100"));
  // A fresh session record each time, not the session's cached one.
  const auto requests = Requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "getSessionInfo"), 3);
  EXPECT_EQ(server.requests.front().policy, 2);
}

TEST_F(ProjectTest, NullEntriesOfTheUsersProjectsAreSkipped) {
  // Each session record carries the user's projects as they are now.
  world.set_policy("User", {"user_id", "priviledged_projects"});
  world.set_property("user-engineer", props::refs("priviledged_projects", {"", "project-K200", ""}));
  EXPECT_THAT(Take(table->KESTREL_get_privileged_projects()), ElementsAre("K200"));
  world.set_property("user-engineer",
                     props::null("priviledged_projects", Halden::Soa::Common::ValueType::Reference, true));
  EXPECT_THAT(Take(table->KESTREL_get_privileged_projects()), IsEmpty());
}

TEST_F(ProjectTest, SessionWithoutUserRaises) {
  ON_CALL(session, getSessionInfo()).WillByDefault(Return(SessionInfoReply{}));
  for (auto call : std::vector<std::function<void()>>{
           [&] { Take(table->KESTREL_get_user_projects(true)); },
           [&] { Take(table->KESTREL_get_privileged_projects()); },
       })
    EXPECT_THAT(call, RaisesFrom(940209, HasSubstr("No session user"), "kestrel_projects.cpp"));
}

MATCHER_P3(EntryIs, text1, text2, flag, "") {
  return arg && arg->text1 == text1 && arg->text2 == text2 && arg->flag == flag;
}

TEST_F(ProjectTest, ProjectEntriesAreAppended) {
  auto* earlier = new ProjectEntryRecord{"mine", "", false};
  std::vector<ProjectEntryRecord*> entries{earlier};
  EXPECT_TRUE(table->KESTREL_list_project_entries(&entries));
  EXPECT_THAT(entries, ElementsAre(earlier, EntryIs("K100", "Utility cart", true), EntryIs("K200", "K200", true),
                                   EntryIs("S900", "Standard parts", true)));
  for (auto* e : entries) delete e;

  ON_CALL(projectlevelsecurity, getProjectList()).WillByDefault(Return(ProjectListReply{}));
  entries.clear();
  EXPECT_FALSE(table->KESTREL_list_project_entries(&entries));
  EXPECT_THAT(entries, IsEmpty());
}

TEST_F(ProjectTest, TeamsWithTheirMembers) {
  ProjectTeamsReply reply;
  reply.teams = {{"crew", {{"ann", "lead", {}, true}, {"bob", "", {}, false}}}, {"empty", {}}};
  std::vector<std::string> sent;
  EXPECT_CALL(projectlevelsecurity, getProjectTeams(_)).WillOnce([&](const auto& uids) {
    sent = uids;
    return reply;
  });
  auto projects = Load({"project-K100", "project-S900"});
  std::vector<ProjectTeamRecord*> teams;
  EXPECT_TRUE(table->KESTREL_ask_project_teams({projects[0]->GetObjectPtr(), projects[1]->GetObjectPtr()}, &teams));
  EXPECT_THAT(sent, ElementsAre("project-K100", "project-S900"));
  ASSERT_EQ(teams.size(), 2u);
  EXPECT_EQ(teams[0]->name, "crew");
  EXPECT_THAT(*teams[0]->members, ElementsAre(EntryIs("ann", "lead", true), EntryIs("bob", "", false)));
  EXPECT_EQ(teams[1]->name, "empty");
  EXPECT_THAT(*teams[1]->members, IsEmpty());
  EXPECT_EQ(Policies(), std::vector<int>{2});
  for (auto* team : teams) {
    for (auto* member : *team->members) delete member;
    delete team->members;
    delete team;
  }
}

TEST_F(ProjectTest, NoTeamLeavesTheListAlone) {
  ON_CALL(projectlevelsecurity, getProjectTeams(_)).WillByDefault(Return(ProjectTeamsReply{}));
  std::vector<ProjectTeamRecord*> teams;
  EXPECT_FALSE(table->KESTREL_ask_project_teams({}, &teams));
  EXPECT_THAT(teams, IsEmpty());
}

TEST_F(ProjectTest, SampleTeams) {
  auto projects = Load({"project-K100"});
  std::vector<ProjectTeamRecord*> teams;
  ASSERT_TRUE(table->KESTREL_ask_project_teams({projects[0]->GetObjectPtr()}, &teams));
  ASSERT_EQ(teams.size(), 1u);
  EXPECT_EQ(teams[0]->name, "K100");
  EXPECT_THAT(*teams[0]->members, ElementsAre(EntryIs("engineer", "K100", true)));
  delete (*teams[0]->members)[0];
  delete teams[0]->members;
  delete teams[0];
}

TEST_F(ProjectTest, NullOutputListsRaiseBeforeAnyRequest) {
  EXPECT_THAT([&] { table->KESTREL_list_project_entries(nullptr); },
              RaisesFrom(940208, "KRAL SOA: Null output list in KESTREL_list_project_entries", "kestrel_projects.cpp"));
  EXPECT_THAT([&] { table->KESTREL_ask_project_teams({}, nullptr); },
              RaisesFrom(940208, "KRAL SOA: Null output list in KESTREL_ask_project_teams", "kestrel_projects.cpp"));
  // A null project among the caller's is never sent.
  auto projects = Load({"project-K100"});
  std::vector<ProjectTeamRecord*> teams;
  EXPECT_THAT(
      [&] {
        table->KESTREL_ask_project_teams({projects[0]->GetObjectPtr(), nullptr}, &teams);
      },
      RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_ask_project_teams", "kestrel_projects.cpp"));
  EXPECT_THAT(teams, IsEmpty());
  std::vector<std::string> labels;
  std::vector<KESTREL_host_object_list*> lists;
  EXPECT_THAT([&] { table->KESTREL_get_all_project_information(false, nullptr, &lists); },
              RaisesFrom(940208, HasSubstr("Null label list"), "kestrel_projects.cpp"));
  EXPECT_THAT([&] { table->KESTREL_get_all_project_information(true, &labels, nullptr); },
              RaisesFrom(940208, HasSubstr("Null object list"), "kestrel_projects.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(ProjectTest, ProjectsListOfAnObject) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"", {}},
      {",,A,,B,,", {"A", "B"}},
      {"A, B", {"A", " B"}},  // blanks stay
      {"K100", {"K100"}},
  };
  for (const auto& c : cases) {
    world.set_property("item-K-1100", props::str("projects_list", c.text));
    auto objects = Load({"item-K-1100"});
    EXPECT_EQ(Take(table->KESTREL_ask_projects_list(objects[0])), c.pieces) << '"' << c.text << '"';
    EXPECT_THAT(Requests(), IsEmpty());
  }
  EXPECT_THAT(Take(table->KESTREL_ask_projects_list(nullptr)), IsEmpty());
}

TEST_F(ProjectTest, SampleObjectsKnowTheirProjects) {
  auto objects = Load({"item-K-1000", "item-K-9001", "item-K-1100"});
  EXPECT_THAT(Take(table->KESTREL_ask_projects_list(objects[0])), ElementsAre("K100"));
  EXPECT_THAT(Take(table->KESTREL_ask_projects_list(objects[1])), ElementsAre("S900"));
  EXPECT_THAT(Take(table->KESTREL_ask_projects_list(objects[2])), IsEmpty());
}

// --- Objects of projects ---

TEST_F(ProjectTest, ProjectObjectsKeepItemsRevisionsAndCadDatasets) {
  std::vector<ProjectDataRequest> sent;
  EXPECT_CALL(projectlevelsecurity, getProjectData(_)).Times(2).WillRepeatedly([&](const auto& requests) {
    sent = requests;
    return world.projectlevelsecurity.getProjectData(requests);
  });
  // Of K100, the drawing (a plain "Dataset") is left out.
  EXPECT_THAT(TakeUids(table->KESTREL_get_project_objects("K100")),
              ElementsAre("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-model", "ds-K-1000-B-part"));
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].project_id, "K100");
  EXPECT_THAT(sent[0].criteria, IsEmpty());
  EXPECT_THAT(TakeUids(table->KESTREL_ask_project_objects("K200")),
              ElementsAre("item-K-1200", "rev-K-1200-B", "ds-K-1200-B-altrep", "ds-K-1200-B-mesh"));
  EXPECT_THAT(Policies(), Each(2));
}

TEST_F(ProjectTest, ProjectObjectsOfAnUnknownProjectAreNone) {
  EXPECT_THAT(TakeUids(table->KESTREL_get_project_objects("NOPE")), IsEmpty());
}

TEST_F(ProjectTest, ProjectObjectsSkipNullsAndReadOnlyTheFirstEntry) {
  ProjectDataReply reply;
  reply.entries = {{"K100", {"", "item-K-1000", "", "folder-home", "ds-K-1000-B-part"}}, {"more", {"item-K-1100"}}};
  reply.data = world.reply_with({"item-K-1000", "folder-home", "ds-K-1000-B-part", "item-K-1100"});
  ON_CALL(projectlevelsecurity, getProjectData(_)).WillByDefault(Return(reply));
  EXPECT_THAT(TakeUids(table->KESTREL_get_project_objects("K100")), ElementsAre("item-K-1000", "ds-K-1000-B-part"));
}

TEST_F(ProjectTest, ProjectObjectsLetFrameworkFailuresPass) {
  ON_CALL(projectlevelsecurity, getProjectData(_)).WillByDefault(Throw(RuntimeException("down")));
  EXPECT_THROW(TakeUids(table->KESTREL_get_project_objects("K100")), RuntimeException);
}

class AllProjectInformationTest : public ProjectTest {
 protected:
  std::vector<std::vector<std::string>> Run(bool privileged, bool expected = true) {
    EXPECT_EQ(table->KESTREL_get_all_project_information(privileged, &labels, &lists), expected);
    std::vector<std::vector<std::string>> uids;
    for (auto* list : lists) uids.push_back(TakeUids(list));
    lists.clear();
    return uids;
  }
  std::vector<std::string> labels{"earlier"};
  std::vector<KESTREL_host_object_list*> lists;
};

TEST_F(AllProjectInformationTest, AllProjects) {
  std::vector<ProjectDataRequest> sent;
  EXPECT_CALL(projectlevelsecurity, getProjectData(_)).WillOnce([&](const auto& requests) {
    sent = requests;
    return world.projectlevelsecurity.getProjectData(requests);
  });
  // Items, revisions and the master and alternative-representation datasets only.
  EXPECT_THAT(Run(false), ElementsAre(ElementsAre("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-model"),
                                      ElementsAre("item-K-1200", "rev-K-1200-B", "ds-K-1200-B-altrep"),
                                      ElementsAre("item-K-9001", "item-K-9002")));
  EXPECT_THAT(labels, ElementsAre("earlier", "K100-Utility cart", "K200", "S900-Standard parts"));
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[1].project_id, "K200");
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "getProjectList", "getProjectData"));
  EXPECT_THAT(Policies(), Each(2));
  ASSERT_EQ(docsvc::testing::checks().size(), 1u);
  EXPECT_FALSE(docsvc::testing::checks()[0].had_output_lists);
}

// Slot 113 asks the framework's type test, slot 114 the host's exact type name.
TEST_F(AllProjectInformationTest, SubtypesCountForProjectObjectsOnly) {
  world.add_object("item-D-1", {"Design", "Item", "WorkspaceObject", "POM_object"},
                   {props::str("object_type", "Design")});
  world.projectlevelsecurity.assign("S900", {"item-D-1"});
  EXPECT_THAT(TakeUids(table->KESTREL_get_project_objects("S900")),
              ElementsAre("item-K-9001", "item-K-9002", "item-D-1"));
  EXPECT_THAT(Run(false).back(), ElementsAre("item-K-9001", "item-K-9002"));
}

TEST_F(AllProjectInformationTest, PrivilegedProjects) {
  EXPECT_THAT(Run(true), ElementsAre(ElementsAre("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-model")));
  EXPECT_THAT(labels, ElementsAre("earlier", "K100-Utility cart"));
}

TEST_F(AllProjectInformationTest, NoProjectsStillSendsOneEmptyRequest) {
  ON_CALL(projectlevelsecurity, getProjectList()).WillByDefault(Return(ProjectListReply{}));
  EXPECT_CALL(projectlevelsecurity, getProjectData(IsEmpty()));
  EXPECT_THAT(Run(false), IsEmpty());
  EXPECT_THAT(labels, ElementsAre("earlier"));
}

TEST_F(AllProjectInformationTest, OneListPerReplyEntryAndADumpOfWhatIsMissing) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  ProjectDataReply reply;
  reply.entries = {{"K100", {}}, {"K200", {"item-K-1200", ""}}};
  reply.data = world.reply_with({"item-K-1200"});
  reply.data.errors = {{"", 0, "", {{1, 3, "first of K100"}, {2, 3, "second"}}}, {"", 1, "", {}}};
  ON_CALL(projectlevelsecurity, getProjectData(_)).WillByDefault(Return(reply));
  EXPECT_THAT(Run(false), ElementsAre(IsEmpty(), ElementsAre("item-K-1200")));
  std::vector<std::string> dump;  // the listener writes its own debug lines
  for (const auto& line : log_lines())
    if (line.find("KESTREL_get_all_project_information") != std::string::npos) dump.push_back(line);
  EXPECT_THAT(
      dump,
      ElementsAre("Halden Integration for Virel: KESTREL_get_all_project_information:  Invalid filteredData",
                  "Halden Integration for Virel: (KESTREL_get_all_project_information) error[0] = first of K100",
                  "KRAL: KESTREL_get_all_project_information:  WorkspaceObject in filteredData at position 1 "
                  "is NULL",
                  "Halden Integration for Virel: (KESTREL_get_all_project_information) error[0] = first of K100"));
}

TEST_F(AllProjectInformationTest, NoDumpWithoutDebugging) {
  ProjectDataReply reply;
  reply.entries = {{"K100", {}}, {"K200", {""}}};
  ON_CALL(projectlevelsecurity, getProjectData(_)).WillByDefault(Return(reply));
  EXPECT_THAT(Run(false), ElementsAre(IsEmpty(), IsEmpty()));
  EXPECT_EQ(log_text(), "");
}

TEST_F(ProjectTest, ProjectDatasetsUnderTheNonMasterCriterion) {
  std::vector<ProjectDataRequest> sent;
  EXPECT_CALL(projectlevelsecurity, getProjectData(_)).WillOnce([&](const auto& requests) {
    sent = requests;
    return world.projectlevelsecurity.getProjectData(requests);
  });
  std::unique_ptr<std::vector<KESTREL_host_object_list*>> lists(table->KESTREL_get_project_datasets("one", "two"));
  ASSERT_TRUE(lists);
  std::vector<std::vector<std::string>> uids;
  for (auto* list : *lists) uids.push_back(TakeUids(list));
  EXPECT_THAT(uids, ElementsAre(ElementsAre("ds-K-1000-B-part", "ds-K-1000-B-drawing"),
                                ElementsAre("ds-K-1200-B-altrep", "ds-K-1200-B-mesh"), IsEmpty()));
  ASSERT_EQ(sent.size(), 3u);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].project_id, kIds[i]);
    ASSERT_EQ(sent[i].criteria.size(), 1u);
    EXPECT_EQ(sent[i].criteria[0].name, "NON-Master Dataset");
    EXPECT_EQ(sent[i].criteria[0].value1, "one");
    EXPECT_EQ(sent[i].criteria[0].value2, "two");
  }
  EXPECT_THAT(Requests(), ElementsAre("getProjectList", "getProjectData"));
  EXPECT_THAT(Policies(), Each(2));
}

TEST_F(ProjectTest, ProjectDatasetsSkipNullObjects) {
  ProjectDataReply reply;
  reply.entries = {{"K100", {"", "ds-K-1000-B-part", ""}}, {"K200", {""}}, {"S900", {}}};
  reply.data = world.reply_with({"ds-K-1000-B-part"});
  ON_CALL(projectlevelsecurity, getProjectData(_)).WillByDefault(Return(reply));
  std::unique_ptr<std::vector<KESTREL_host_object_list*>> lists(table->KESTREL_get_project_datasets("", ""));
  ASSERT_TRUE(lists);
  std::vector<std::vector<std::string>> uids;
  for (auto* list : *lists) uids.push_back(TakeUids(list));
  EXPECT_THAT(uids, ElementsAre(ElementsAre("ds-K-1000-B-part"), IsEmpty(), IsEmpty()));
}

// Every converted request of the project entries, under each of the
// framework's exceptions.
class ProjectConversion : public ConversionTest<ProjectConversion, ProjectTest> {
 public:
  static constexpr const char* kFile = "kestrel_projects.cpp";

  template <class Reply>
  static auto Failing(const std::function<void()>& fail) {
    return [fail](const auto&...) -> Reply {
      fail();
      return {};
    };
  }
  static void FailList(ProjectConversion& t, const std::function<void()>& fail) {
    ON_CALL(t.projectlevelsecurity, getProjectList()).WillByDefault(Failing<ProjectListReply>(fail));
  }
  static void FailData(ProjectConversion& t, const std::function<void()>& fail) {
    ON_CALL(t.projectlevelsecurity, getProjectData(_)).WillByDefault(Failing<ProjectDataReply>(fail));
  }
  static void FailAssignment(ProjectConversion& t, const std::function<void()>& fail) {
    ON_CALL(t.projectlevelsecurity, assignOrRemoveObjects(_)).WillByDefault(Failing<WireServiceData>(fail));
  }

  static std::vector<Operation> Operations() {
    return {
        {"ProjectNames", FailList, [](ProjectConversion& t) { Take(t.table->KESTREL_list_project_names()); }},
        {"ProjectIds", FailList, [](ProjectConversion& t) { Take(t.table->KESTREL_list_project_ids()); }},
        {"UserProjects",
         [](ProjectConversion& t, const auto& fail) {
           ON_CALL(t.session, getSessionInfo()).WillByDefault(Failing<SessionInfoReply>(fail));
         },
         [](ProjectConversion& t) { Take(t.table->KESTREL_get_user_projects(true)); }},
        {"PrivilegedProjects",
         [](ProjectConversion& t, const auto& fail) {
           ON_CALL(t.session, getSessionInfo()).WillByDefault(Failing<SessionInfoReply>(fail));
         },
         [](ProjectConversion& t) { Take(t.table->KESTREL_get_privileged_projects()); }},
        {"Entries", FailList, [](ProjectConversion& t) { t.table->KESTREL_list_project_entries(&t.entries); },
         [](ProjectConversion& t) { EXPECT_THAT(t.entries, IsEmpty()); }},
        {"Teams",
         [](ProjectConversion& t, const auto& fail) {
           ON_CALL(t.projectlevelsecurity, getProjectTeams(_)).WillByDefault(Failing<ProjectTeamsReply>(fail));
         },
         [](ProjectConversion& t) { t.table->KESTREL_ask_project_teams({}, &t.teams); },
         [](ProjectConversion& t) { EXPECT_THAT(t.teams, IsEmpty()); }},
        {"AllInformation", FailData,
         [](ProjectConversion& t) { t.table->KESTREL_get_all_project_information(false, &t.labels, &t.lists); },
         [](ProjectConversion& t) {
           EXPECT_EQ(t.labels, kLabels);  // appended before the request
           EXPECT_THAT(t.lists, IsEmpty());
         }},
        {"DatasetsProjectList", FailList, [](ProjectConversion& t) { t.table->KESTREL_get_project_datasets("", ""); }},
        {"DatasetsData", FailData, [](ProjectConversion& t) { t.table->KESTREL_get_project_datasets("", ""); }},
        {"Assign", FailAssignment,
         [](ProjectConversion& t) { t.table->KESTREL_assign_objects_to_projects({"K200"}, t.Load({"item-K-1100"})); }},
        {"Remove", FailAssignment,
         [](ProjectConversion& t) {
           t.table->KESTREL_remove_objects_from_projects({"K200"}, t.Load({"item-K-1100"}));
         }},
        {"AssignAndRemove", FailAssignment,
         [](ProjectConversion& t) {
           auto objects = t.Load({"item-K-1100"});
           objects[0]->AddAssignedProject("K200");
           t.table->KESTREL_assign_and_remove_projects(objects);
         }},
    };
  }

  std::vector<ProjectEntryRecord*> entries;
  std::vector<ProjectTeamRecord*> teams;
  std::vector<std::string> labels;
  std::vector<KESTREL_host_object_list*> lists;
};
KESTREL_CONVERSION_SUITE(ProjectConversion);

}  // namespace
}  // namespace kestrel::test
