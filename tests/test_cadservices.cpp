// CAD part, item and dataset creation and dataset files through tickets
// (slots 95 to 100), and the workspace object of a server object.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "kestrel_cadservices.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

namespace Wire = Halden::Soa::Server;
using Orvane::PdmSoa::Dataset;
using Orvane::PdmSoa::Item;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;
using HostObject = Orvane::PdmSoa::ModelObject;
using HostObjects = std::vector<HostObject*>;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::Return;
using ::testing::SizeIs;
using ::testing::UnorderedElementsAre;

std::string Uid(const HostObject* object) { return object ? object->GetUid().utf8() : "(none)"; }

std::vector<std::string> Uids(const HostObjects& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(Uid(o));
  return uids;
}

std::map<std::string, std::string> Texts(const DatasetFileTickets& tickets) {
  std::map<std::string, std::string> out;
  for (const auto& [key, value] : tickets) out[key.utf8()] = value.utf8();
  return out;
}

// The two flags of a record as a test case: a swap or a constant shows in
// one of the cases.
struct Flags {
  bool first;
  bool second;
};
void PrintTo(const Flags& f, std::ostream* os) { *os << f.first << f.second; }
const Flags kFlagCases[] = {{true, false}, {false, true}};

class CadTest : public SessionTest {
 protected:
  CadTest() {
    ConnectAndLogin();
    ClearRequests();
  }

  // Host objects of world objects "o1".."on", each with its server object.
  HostObjects Objects(int n) {
    std::vector<UString> uids;
    for (int i = 1; i <= n; ++i) {
      const std::string uid = "o" + std::to_string(i);
      if (!world.find(uid)) world.add_object(uid, {"Folder", "WorkspaceObject", "POM_object"});
      uids.emplace_back(uid);
    }
    HostObjects objects;
    table->KESTREL_load_objects(uids, &objects);
    ClearRequests();
    return objects;
  }

  template <class T = HostObject>
  T* Host(const std::string& uid) {
    HostObjects objects;
    table->KESTREL_load_objects({UString(uid)}, &objects);
    ClearRequests();
    return dynamic_cast<T*>(SoaManager::GetObjectManager()->FindObject(UString(uid)));
  }

  ::testing::NiceMock<Wire::MockFileManagementStub>& filemanagement = test_server.filemanagement;
  ::testing::NiceMock<Wire::MockCadDataManagementStub>& caddatamanagement = test_server.caddatamanagement;
  // A host object whose server object is gone.
  Orvane::PdmSoa::WorkspaceObject orphan{nullptr};
};

// Request converters: every field distinct, each must arrive in its own place.

class RequestFields : public CadTest, public ::testing::WithParamInterface<Flags> {};
INSTANTIATE_TEST_SUITE_P(Flags, RequestFields, ::testing::ValuesIn(kFlagCases));

TEST_P(RequestFields, CreateDatasets) {
  const auto o = Objects(2);
  DatasetCreateInput full{"t1", o[0], "t2", "t3", "t4", "t5", o[1]};
  DatasetCreateInput without_objects{"u1", nullptr, "u2", "u3", "u4", "u5", &orphan};
  EXPECT_CALL(datamanagement, createDatasets(ElementsAre(FieldsAre("t1", "o1", "t2", "t3", "t4", "t5", "o2"),
                                                         FieldsAre("u1", "", "u2", "u3", "u4", "u5", ""))));
  EXPECT_TRUE(table->KESTREL_create_datasets({&full, &without_objects}, nullptr, nullptr, nullptr, nullptr));
}

TEST_P(RequestFields, CreateItems) {
  const auto o = Objects(1);
  ItemCreateInput keyed{"NEW-1", "t2", "t3", {{"a1", "v1"}, {"a2", "v2"}}};
  ItemCreateInput unkeyed{"NEW-2", "u2", "", {}};
  EXPECT_CALL(
      datamanagement,
      createItems(ElementsAre(
          Pair("", FieldsAre("NEW-2", "u2", "", IsEmpty())),
          Pair("o1", FieldsAre("NEW-1", "t2", "t3", UnorderedElementsAre(Pair("a1", "v1"), Pair("a2", "v2")))))));
  EXPECT_TRUE(table->KESTREL_create_items({{o[0], &keyed}, {nullptr, &unkeyed}}, nullptr, nullptr, nullptr, nullptr));
}

TEST_P(RequestFields, WriteTickets) {
  const Flags f = GetParam();
  const auto o = Objects(1);
  WriteTicketInput request{
      o[0], f.first, {{"f1", "f2", "f3", f.first, f.second}, {"g1", "g2", "g3", f.second, f.first}}};
  WriteTicketInput no_dataset{nullptr, f.second, {}};
  EXPECT_CALL(filemanagement,
              getDatasetWriteTickets(ElementsAre(FieldsAre("o1", f.first,
                                                           ElementsAre(FieldsAre("f1", "f2", "f3", f.first, f.second),
                                                                       FieldsAre("g1", "g2", "g3", f.second, f.first))),
                                                 FieldsAre("", f.second, IsEmpty()))));
  std::vector<WriteTicketResult*> results;
  EXPECT_TRUE(table->KESTREL_get_dataset_write_tickets({&request, &no_dataset}, &results));
  for (auto* r : results) delete r;
}

TEST_P(RequestFields, Commit) {
  const Flags f = GetParam();
  const auto o = Objects(1);
  CommitInput request{o[0], f.second, {{"f1", "f2", "f3", f.first, f.second, "f4"}}};
  EXPECT_CALL(filemanagement, commitDatasetFiles(ElementsAre(FieldsAre(
                                  "o1", f.second, ElementsAre(FieldsAre("f1", "f2", "f3", f.first, f.second, "f4"))))));
  table->KESTREL_commit_dataset_files({&request}, nullptr, nullptr, nullptr, nullptr);
}

TEST_P(RequestFields, CreateParts) {
  const Flags f = GetParam();
  const auto o = Objects(9);
  PartDatasetInput dataset{"d1",
                           o[6],
                           "d2",
                           "d3",
                           "d4",
                           "d5",
                           "d6",
                           "d7",
                           f.first,
                           "d8",
                           {{"dn1", "dv1"}},
                           {{"dm1", "dw1"}, {"dm2", "dw2"}},
                           {{o[7], "dr1", "dr2", "dr3", {{"drn", "drv"}}}},
                           {{"df1", "df2", "df3", f.first, f.second}},
                           {{"rl1", o[8], "rl2", "rl3", {{"rln", "rlv"}}}}};
  PartDatasetInput second_dataset;
  second_dataset.text1 = "e1";
  second_dataset.flag = f.second;
  PartCreateInput part{"p",
                       {o[0],
                        "i1",
                        "i2",
                        "i3",
                        "i4",
                        {{"in1", "iv1"}, {"in2", "iv2"}},
                        {{o[1], "ir1", "ir2", "ir3", {{"irn", "irv"}}}, {o[2], "is1", "is2", "is3", {}}},
                        o[3]},
                       {o[4], "r1", {{"rn1", "rv1"}}, {{o[5], "rr1", "rr2", "rr3", {{"rrn", "rrv"}}}}},
                       {&dataset, &second_dataset}};
  const auto name_value = [](const char* n, const char* v) { return FieldsAre(n, v); };
  EXPECT_CALL(
      caddatamanagement,
      createParts(ElementsAre(FieldsAre(
          "p",
          FieldsAre("o1", "i1", "i2", "i3", "i4", ElementsAre(name_value("in1", "iv1"), name_value("in2", "iv2")),
                    ElementsAre(FieldsAre("o2", "ir1", "ir2", "ir3", ElementsAre(name_value("irn", "irv"))),
                                FieldsAre("o3", "is1", "is2", "is3", IsEmpty())),
                    "o4"),
          FieldsAre("o5", "r1", ElementsAre(name_value("rn1", "rv1")),
                    ElementsAre(FieldsAre("o6", "rr1", "rr2", "rr3", ElementsAre(name_value("rrn", "rrv"))))),
          ElementsAre(
              FieldsAre("d1", "o7", "d2", "d3", "d4", "d5", "d6", "d7", f.first, "d8",
                        ElementsAre(name_value("dn1", "dv1")),
                        ElementsAre(name_value("dm1", "dw1"), name_value("dm2", "dw2")),
                        ElementsAre(FieldsAre("o8", "dr1", "dr2", "dr3", ElementsAre(name_value("drn", "drv")))),
                        ElementsAre(FieldsAre("df1", "df2", "df3", f.first, f.second)),
                        ElementsAre(FieldsAre("rl1", "o9", "rl2", "rl3", ElementsAre(name_value("rln", "rlv"))))),
              FieldsAre("e1", "", "", "", "", "", "", "", f.second, "", IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty(),
                        IsEmpty()))))))
      .WillOnce(Return(Wire::CreatePartsReply{}));
  std::vector<PartResult*> results;
  EXPECT_TRUE(table->KESTREL_create_parts({&part}, &results, nullptr, nullptr, nullptr, nullptr));
  EXPECT_THAT(results, IsEmpty());
}

// Result converters: every field of a scripted reply in its host field.

class ResultFields : public CadTest, public ::testing::WithParamInterface<Flags> {};
INSTANTIATE_TEST_SUITE_P(Flags, ResultFields, ::testing::ValuesIn(kFlagCases));

TEST_P(ResultFields, CreateParts) {
  const Flags f = GetParam();
  Wire::CreatePartsReply reply;
  reply.data = world.reply_with({"item-K-1100", "rev-K-1100-A", "ds-K-1100-A-jt", "ds-K-1000-A-drawing", "folder-home",
                                 "rev-K-1000-A", "item-K-1000"});
  reply.outputs = {
      {"p",
       "item-K-1100",
       "rev-K-1100-A",
       {{"d",
         "ds-K-1100-A-jt",
         {{"ds-K-1000-A-drawing", f.first, {{"c1", "c2", "c3", f.first, f.second, "c4"}}}},
         {{"do1", "folder-home"}},
         {{"dp1", "rev-K-1000-A"}, {"dp2", ""}}}},
       {{"po1", "item-K-1000"}},
       {{"pp1", "folder-home"}}},
      // No item or revision; objects of another class than asked.
      {"q", "", "ds-K-1100-A-jt", {{"e", "rev-K-1000-A", {{"", f.second, {}}}, {}, {}}}, {}, {}},
  };
  EXPECT_CALL(caddatamanagement, createParts(_)).WillOnce(Return(reply));
  PartCreateInput part;
  std::vector<PartResult*> results;
  ASSERT_TRUE(table->KESTREL_create_parts({&part}, &results, nullptr, nullptr, nullptr, nullptr));
  ASSERT_THAT(results, SizeIs(2));
  std::unique_ptr<PartResult> first(results[0]), second(results[1]);

  EXPECT_EQ(first->text.utf8(), "p");
  EXPECT_EQ(Uid(first->item), "item-K-1100");
  EXPECT_EQ(Uid(first->revision), "rev-K-1100-A");
  ASSERT_THAT(first->datasets, SizeIs(1));
  const DatasetResult& d = first->datasets[0];
  EXPECT_EQ(d.text.utf8(), "d");
  EXPECT_EQ(Uid(d.dataset), "ds-K-1100-A-jt");
  ASSERT_THAT(d.commit_infos, SizeIs(1));
  EXPECT_EQ(Uid(d.commit_infos[0].dataset), "ds-K-1000-A-drawing");
  EXPECT_EQ(d.commit_infos[0].flag, f.first);
  ASSERT_THAT(d.commit_infos[0].file_infos, SizeIs(1));
  const FileInfoResultExt& info = d.commit_infos[0].file_infos[0];
  EXPECT_EQ(info.text1.utf8(), "c1");
  EXPECT_EQ(info.text2.utf8(), "c2");
  EXPECT_EQ(info.text3.utf8(), "c3");
  EXPECT_EQ(info.flag1, f.first);
  EXPECT_EQ(info.flag2, f.second);
  EXPECT_EQ(info.text4.utf8(), "c4");
  const auto object_result = [](const ObjectResult& r) { return r.text.utf8() + "=" + Uid(r.object); };
  const auto object_results = [&](const std::vector<ObjectResult>& list) {
    std::vector<std::string> out;
    for (const auto& r : list) out.push_back(object_result(r));
    return out;
  };
  EXPECT_THAT(object_results(d.objects1), ElementsAre("do1=folder-home"));
  EXPECT_THAT(object_results(d.objects2), ElementsAre("dp1=rev-K-1000-A", "dp2=(none)"));
  EXPECT_THAT(object_results(first->objects1), ElementsAre("po1=item-K-1000"));
  EXPECT_THAT(object_results(first->objects2), ElementsAre("pp1=folder-home"));

  EXPECT_EQ(second->text.utf8(), "q");
  EXPECT_EQ(second->item, nullptr);
  EXPECT_EQ(second->revision, nullptr);  // a dataset, not a revision
  ASSERT_THAT(second->datasets, SizeIs(1));
  EXPECT_EQ(second->datasets[0].text.utf8(), "e");
  EXPECT_EQ(second->datasets[0].dataset, nullptr);  // a revision, not a dataset
  ASSERT_THAT(second->datasets[0].commit_infos, SizeIs(1));
  EXPECT_EQ(second->datasets[0].commit_infos[0].dataset, nullptr);
  EXPECT_EQ(second->datasets[0].commit_infos[0].flag, f.second);
}

TEST_P(ResultFields, WriteTickets) {
  const Flags f = GetParam();
  Wire::WriteTicketsReply reply;
  reply.data = world.reply_with({"ds-K-1100-A-jt", "rev-K-1000-A"});
  reply.commit_infos = {{"ds-K-1100-A-jt",
                         f.first,
                         {{"a1", "a2", "a3", f.first, f.second, "a4"}, {"b1", "b2", "b3", f.second, f.first, "b4"}}},
                        {"", f.second, {}},
                        {"rev-K-1000-A", f.first, {}}};
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).WillOnce(Return(reply));
  WriteTicketInput request;
  WriteTicketResult* earlier = new WriteTicketResult();
  std::vector<WriteTicketResult*> results = {earlier};
  ASSERT_TRUE(table->KESTREL_get_dataset_write_tickets({&request}, &results));
  std::vector<std::unique_ptr<WriteTicketResult>> owned(results.begin(), results.end());
  ASSERT_THAT(results, SizeIs(4));
  EXPECT_EQ(results[0], earlier);
  EXPECT_EQ(Uid(results[1]->dataset), "ds-K-1100-A-jt");
  EXPECT_EQ(results[1]->flag, f.first);
  ASSERT_THAT(results[1]->file_infos, SizeIs(2));
  const auto texts = [](const FileInfoResultExt& i) {
    return i.text1.utf8() + i.text2.utf8() + i.text3.utf8() + (i.flag1 ? "T" : "F") + (i.flag2 ? "T" : "F") +
           i.text4.utf8();
  };
  const std::string t = f.first ? "T" : "F", u = f.second ? "T" : "F";
  EXPECT_EQ(texts(results[1]->file_infos[0]), "a1a2a3" + t + u + "a4");
  EXPECT_EQ(texts(results[1]->file_infos[1]), "b1b2b3" + u + t + "b4");
  EXPECT_EQ(results[2]->dataset, nullptr);
  EXPECT_EQ(results[2]->flag, f.second);
  EXPECT_EQ(results[3]->dataset, nullptr);  // a revision is no dataset
}

// Creation against the sample world.

TEST_F(CadTest, ItemCreatedIsFoundById) {
  ItemCreateInput request{"K-5000", "Side panel", "", {{"object_desc", "left"}}};
  HostObjects created, errors;
  ASSERT_TRUE(table->KESTREL_create_items({{nullptr, &request}}, &created, nullptr, nullptr, &errors));
  EXPECT_THAT(Uids(created), ElementsAre("item-K-5000", "rev-K-5000-A"));
  EXPECT_THAT(errors, IsEmpty());
  std::unique_ptr<std::vector<Item*>> items(table->KESTREL_get_items_by_id({{"K-5000", {}}}, 0));
  ASSERT_THAT(*items, SizeIs(1));
  EXPECT_EQ(Uid((*items)[0]), "item-K-5000");
  EXPECT_EQ(Uid(Item::AskPart("K-5000")), "item-K-5000");
}

TEST_F(CadTest, ItemIdInUseIsALevelThreeError) {
  ItemCreateInput taken{"K-1000", "Another cart", "", {}};
  ItemCreateInput fresh{"K-5001", "Bracket", "", {}};
  const auto o = Objects(1);
  HostObjects created;
  EXPECT_FALSE(table->KESTREL_create_items({{nullptr, &taken}, {o[0], &fresh}}, &created, nullptr, nullptr, nullptr));
  EXPECT_THAT(Uids(created), ElementsAre("item-K-5001", "rev-K-5001-A"));
  EXPECT_THAT(log_text(), ::testing::HasSubstr("KRAL SOA ServiceData error: The item id \"K-1000\" cannot be used."));
}

TEST_F(CadTest, KeysWithoutServerObjectRaiseBeforeAnyRequest) {
  // Two such keys would meet in one request entry and lose an item.
  Orvane::PdmSoa::WorkspaceObject other_orphan{nullptr};
  ItemCreateInput a{"K-5002", "A", "", {}}, b{"K-5003", "B", "", {}};
  EXPECT_THAT(
      [&] {
        table->KESTREL_create_items({{&orphan, &a}, {&other_orphan, &b}}, nullptr, nullptr, nullptr, nullptr);
      },
      RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_cadservices.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_EQ(world.catalog.item("K-5002"), nullptr);
}

TEST_F(CadTest, NullRecordsAndResultListsRaiseBeforeAnyRequest) {
  const auto o = Objects(1);
  PartCreateInput part;
  PartCreateInput part_with_null_dataset;
  part_with_null_dataset.datasets = {nullptr};
  std::vector<PartResult*> parts_out;
  std::vector<WriteTicketResult*> tickets_out;
  WriteTicketInput write;
  DatasetFileTickets tickets;
  Dataset* no_dataset = nullptr;
  struct Case {
    const char* name;
    std::function<void()> call;
    const char* text;
  };
  const Case cases[] = {
      {"parts",
       [&] {
         table->KESTREL_create_parts({&part, nullptr}, &parts_out, nullptr, nullptr, nullptr, nullptr);
       },
       "KRAL SOA: Null part in KESTREL_create_parts"},
      {"part datasets",
       [&] { table->KESTREL_create_parts({&part_with_null_dataset}, &parts_out, nullptr, nullptr, nullptr, nullptr); },
       "KRAL SOA: Null dataset input in KESTREL_create_parts"},
      {"part results", [&] { table->KESTREL_create_parts({&part}, nullptr, nullptr, nullptr, nullptr, nullptr); },
       "KRAL SOA: Null result list in KESTREL_create_parts"},
      {"datasets", [&] { table->KESTREL_create_datasets({nullptr}, nullptr, nullptr, nullptr, nullptr); },
       "KRAL SOA: Null request in KESTREL_create_datasets"},
      {"items",
       [&] {
         table->KESTREL_create_items({{o[0], nullptr}}, nullptr, nullptr, nullptr, nullptr);
       },
       "KRAL SOA: Null request in KESTREL_create_items"},
      {"write tickets",
       [&] {
         table->KESTREL_get_dataset_write_tickets({&write, nullptr}, &tickets_out);
       },
       "KRAL SOA: Null request in KESTREL_get_dataset_write_tickets"},
      {"write results", [&] { table->KESTREL_get_dataset_write_tickets({&write}, nullptr); },
       "KRAL SOA: Null result list in KESTREL_get_dataset_write_tickets"},
      {"commits", [&] { table->KESTREL_commit_dataset_files({nullptr}, nullptr, nullptr, nullptr, nullptr); },
       "KRAL SOA: Null request in KESTREL_commit_dataset_files"},
      {"read datasets", [&] { table->KESTREL_get_dataset_file_read_tickets({no_dataset}, nullptr, &tickets); },
       "KRAL SOA: Null object in KESTREL_get_dataset_file_read_tickets"},
      {"ticket map", [&] { table->KESTREL_get_dataset_file_read_tickets({}, nullptr, nullptr); },
       "KRAL SOA: Null ticket map in KESTREL_get_dataset_file_read_tickets"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(c.call, RaisesFrom(940208, c.text, "kestrel_cadservices.cpp"));
  }
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(parts_out, IsEmpty());
  EXPECT_THAT(tickets_out, IsEmpty());
}

TEST_F(CadTest, DatasetFilesWrittenAndCommittedAreOfferedForReading) {
  auto* revision = Host("rev-K-1300-A");
  DatasetCreateInput create{"new", revision, "IMAN_specification", "Handle spec", "Text", "", nullptr};
  HostObjects created;
  ASSERT_TRUE(table->KESTREL_create_datasets({&create}, &created, nullptr, nullptr, nullptr));
  ASSERT_THAT(Uids(created), ElementsAre("dataset-1"));
  EXPECT_THAT(world.find("rev-K-1300-A")->properties.at("IMAN_specification").references, ElementsAre("dataset-1"));

  WriteTicketInput write{
      created[0], false, {{"Text", "spec.txt", "", true, false}, {"Image", "spec.png", "", false, false}}};
  std::vector<WriteTicketResult*> results;
  ASSERT_TRUE(table->KESTREL_get_dataset_write_tickets({&write}, &results));
  ASSERT_THAT(results, SizeIs(1));
  std::unique_ptr<WriteTicketResult> result(results[0]);
  EXPECT_EQ(Uid(result->dataset), "dataset-1");
  ASSERT_THAT(result->file_infos, SizeIs(2));

  CommitInput commit{created[0], false, {}};
  for (const auto& info : result->file_infos)
    commit.file_infos.push_back({info.text1, info.text2, info.text3, info.flag1, info.flag2, info.text4});
  HostObjects updated;
  ASSERT_TRUE(table->KESTREL_commit_dataset_files({&commit}, nullptr, &updated, nullptr, nullptr));
  EXPECT_THAT(Uids(updated), ElementsAre("dataset-1"));

  DatasetFileTickets tickets;
  const std::vector<UString> images = {"Image"};
  ASSERT_TRUE(table->KESTREL_get_dataset_file_read_tickets({dynamic_cast<Dataset*>(created[0])}, &images, &tickets));
  EXPECT_THAT(Texts(tickets), ElementsAre(Pair("file-dataset-1-2", "read-file-dataset-1-2")));
}

TEST_F(CadTest, CommitOfAnUnknownTicketIsALevelThreeError) {
  auto* dataset = Host("ds-K-1100-A-jt");
  CommitInput commit{dataset, false, {{"Text", "x.txt", "", false, false, "write-999"}}};
  EXPECT_FALSE(table->KESTREL_commit_dataset_files({&commit}, nullptr, nullptr, nullptr, nullptr));
  EXPECT_THAT(log_text(),
              ::testing::HasSubstr("KRAL SOA ServiceData error: The write ticket \"write-999\" is not known."));
}

TEST_F(CadTest, PartCreatedWithItsFilesRoundTrips) {
  PartDatasetInput dataset;
  dataset.text1 = "model";
  dataset.text2 = "Hinge model";
  dataset.text3 = "TOVMASTER";
  dataset.text4 = "OSTRA_specification";
  dataset.file_infos = {{"TOVPART", "hinge.prt", "", false, false}};
  PartCreateInput part;
  part.text = "hinge";
  part.item = {nullptr, "K-6000", "Hinge", "", "", {{"object_desc", "door hinge"}}, {}, nullptr};
  part.datasets = {&dataset};
  std::vector<PartResult*> results;
  HostObjects created;
  ASSERT_TRUE(table->KESTREL_create_parts({&part}, &results, &created, nullptr, nullptr, nullptr));
  ASSERT_THAT(results, SizeIs(1));
  std::unique_ptr<PartResult> result(results[0]);
  EXPECT_EQ(Uid(result->item), "item-K-6000");
  EXPECT_EQ(Uid(result->revision), "rev-K-6000-A");
  ASSERT_THAT(result->datasets, SizeIs(1));
  ASSERT_THAT(result->datasets[0].commit_infos, SizeIs(1));
  const CommitInfoResult& info = result->datasets[0].commit_infos[0];
  EXPECT_THAT(Uids(created), ElementsAre("item-K-6000", "rev-K-6000-A", Uid(info.dataset)));

  CommitInput commit{info.dataset, info.flag, {}};
  for (const auto& f : info.file_infos)
    commit.file_infos.push_back({f.text1, f.text2, f.text3, f.flag1, f.flag2, f.text4});
  ASSERT_TRUE(table->KESTREL_commit_dataset_files({&commit}, nullptr, nullptr, nullptr, nullptr));
  DatasetFileTickets tickets;
  ASSERT_TRUE(table->KESTREL_get_dataset_file_read_tickets({info.dataset}, nullptr, &tickets));
  EXPECT_THAT(tickets, SizeIs(1));

  std::unique_ptr<std::vector<Item*>> items(table->KESTREL_get_items_by_id({{"K-6000", {}}}, 2));
  ASSERT_THAT(*items, SizeIs(1));
  EXPECT_EQ(Uid((*items)[0]), "item-K-6000");
}

TEST_F(CadTest, PartResultsAreKeptWithPartialErrors) {
  PartCreateInput taken, fresh;
  taken.item.text1 = "K-1000";
  fresh.item.text1 = "K-6001";
  std::vector<PartResult*> results;
  EXPECT_FALSE(table->KESTREL_create_parts({&taken, &fresh}, &results, nullptr, nullptr, nullptr, nullptr));
  ASSERT_THAT(results, SizeIs(1));
  std::unique_ptr<PartResult> result(results[0]);
  EXPECT_EQ(Uid(result->item), "item-K-6001");
}

TEST_F(CadTest, PartReplyThatFailsToConvertLeavesTheCallersListsAsTheyWere) {
  Wire::CreatePartsReply reply;
  reply.data = world.reply_with({"item-K-1100", "item-K-1200"});
  reply.data.created = {"item-K-1100"};
  reply.outputs = {{"a", "item-K-1100", "", {}, {}, {}}, {"b", "", "", {}, {{"x", "item-K-1200"}}, {}}};
  EXPECT_CALL(caddatamanagement, createParts(_)).WillOnce(Return(reply));
  objmodel::testing::set_unwrappable_uids({"item-K-1200"});
  PartCreateInput part;
  PartResult* earlier = new PartResult();
  std::vector<PartResult*> results = {earlier};
  HostObjects created;
  EXPECT_ANY_THROW(table->KESTREL_create_parts({&part}, &results, &created, nullptr, nullptr, nullptr));
  EXPECT_THAT(results, ElementsAre(earlier));
  EXPECT_THAT(created, IsEmpty());
  delete earlier;
}

// Read tickets.

class ReadTicketTest : public CadTest {
 protected:
  std::map<std::string, std::string> TicketsOf(const std::vector<std::string>& dataset_uids,
                                               const std::vector<UString>* names) {
    std::vector<Dataset*> datasets;
    for (const auto& uid : dataset_uids) datasets.push_back(Host<Dataset>(uid));
    DatasetFileTickets tickets;
    EXPECT_TRUE(table->KESTREL_get_dataset_file_read_tickets(datasets, names, &tickets));
    return Texts(tickets);
  }
};

TEST_F(ReadTicketTest, NamesPickReferencesByPositionAndOnlyFiles) {
  // ds-K-1300-A-notes: [notes "Text", a revision, null, sketch "Image", scan (no name)].
  const std::string notes = "file-ds-K-1300-A-notes-1", sketch = "file-ds-K-1300-A-notes-2",
                    scan = "file-ds-K-1300-A-notes-3";
  struct Case {
    const char* name;
    std::unique_ptr<std::vector<UString>> names;
    std::vector<std::string> files;
  };
  auto names = [](std::vector<UString> n) { return std::make_unique<std::vector<UString>>(std::move(n)); };
  Case cases[] = {
      {"no list", nullptr, {notes, sketch, scan}},
      {"empty list", names({}), {notes, sketch, scan}},
      {"one name", names({"Image"}), {sketch}},
      {"empty name beyond the names", names({""}), {scan}},
      {"two names", names({"Text", "Image"}), {notes, sketch}},
      {"name of a non-file", names({"IMAN_specification"}), {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> files;
    for (const auto& [file, ticket] : TicketsOf({"ds-K-1300-A-notes"}, c.names.get())) {
      EXPECT_EQ(ticket, "read-" + file);
      files.push_back(file);
    }
    EXPECT_EQ(files, c.files);
  }
}

TEST_F(ReadTicketTest, TwoForcedReadsPerDatasetThenOneTicketRequest) {
  std::vector<Dataset*> datasets = {Host<Dataset>("ds-K-1300-A-notes"), Host<Dataset>("ds-K-1000-A-drawing")};
  std::vector<std::vector<std::string>> names_asked;
  ON_CALL(datamanagement, getProperties(_, _)).WillByDefault([&](const auto& uids, const auto& names) {
    names_asked.push_back(names);
    return world.datamanagement.getProperties(uids, names);
  });
  std::vector<std::string> files_asked;
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce([&](const auto& uids) {
    files_asked = uids;
    return world.filemanagement.getFileReadTickets(uids);
  });
  DatasetFileTickets tickets;
  ASSERT_TRUE(table->KESTREL_get_dataset_file_read_tickets(datasets, nullptr, &tickets));
  // The first forced read of a host object loads its standard properties.
  EXPECT_THAT(Requests(), ElementsAre("getProperties", "getProperties", "getProperties", "getProperties",
                                      "getProperties", "getProperties", "getFileReadTickets"));
  EXPECT_THAT(names_asked, ElementsAre(IsEmpty(), ElementsAre("ref_list"), ElementsAre("ref_names"), IsEmpty(),
                                       ElementsAre("ref_list"), ElementsAre("ref_names")));
  EXPECT_THAT(files_asked,
              ElementsAre("file-ds-K-1300-A-notes-1", "file-ds-K-1300-A-notes-2", "file-ds-K-1300-A-notes-3",
                          "file-ds-K-1000-A-drawing-1", "file-ds-K-1000-A-drawing-2"));
  EXPECT_THAT(tickets, SizeIs(5));
}

TEST_F(ReadTicketTest, DatasetsWithoutReferencesStillSendTheTicketRequest) {
  world.set_property("ds-K-1100-A-jt", Wire::props::null("ref_list", Wire::ValueType::Reference, true));
  world.set_property("ds-K-1100-A-jt", Wire::props::strs("ref_names", {}));
  EXPECT_CALL(filemanagement, getFileReadTickets(IsEmpty()));
  EXPECT_THAT(TicketsOf({"ds-K-1100-A-jt"}, nullptr), IsEmpty());
}

// Both lists are read as the typed getters read them: a property of another
// kind is their error, never the framework's exception.
TEST_F(ReadTicketTest, ReferencesOrNamesOfAnotherKindRaiseAsTheTypedGettersDo) {
  struct Case {
    const char* dataset;
    Wire::WireProperty property;
    const char* text;
  };
  const Case cases[] = {
      {"ds-K-1000-A-drawing", Wire::props::strs("ref_list", {"file-ds-K-1000-A-drawing-1"}),
       "SOA runtime exception KESTREL_get_object_property_object_array (ref_list): property ref_list is of another "
       "value type"},
      {"ds-K-1000-B-drawing", Wire::props::ints("ref_names", {1, 2}),
       "SOA runtime exception KESTREL_get_object_property_string_array (ref_names): property ref_names is of another "
       "value type"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.property.name);
    world.set_property(c.dataset, c.property);
    Dataset* dataset = Host<Dataset>(c.dataset);
    DatasetFileTickets tickets;
    EXPECT_THAT([&] { table->KESTREL_get_dataset_file_read_tickets({dataset}, nullptr, &tickets); },
                RaisesFrom(940207, c.text, "kestrel_object.cpp"));
    EXPECT_THAT(Requests(), ::testing::Not(::testing::Contains("getFileReadTickets")));
    EXPECT_THAT(tickets, IsEmpty());
  }
}

TEST_F(ReadTicketTest, TicketsAreWrittenEvenWithLevelThreeErrors) {
  Wire::ReadTicketsReply reply;
  reply.data = world.reply_with({"file-ds-K-1000-A-drawing-1"});
  reply.tickets = {{"file-ds-K-1000-A-drawing-1", "fresh"}, {"", "for nothing"}};
  reply.data.errors = {Wire::WorldStore::not_found("file-gone")};
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce(Return(reply));
  DatasetFileTickets tickets = {{"file-ds-K-1000-A-drawing-1", "stale"}, {"kept", "old"}};
  EXPECT_FALSE(table->KESTREL_get_dataset_file_read_tickets({Host<Dataset>("ds-K-1000-A-drawing")}, nullptr, &tickets));
  EXPECT_THAT(Texts(tickets), ElementsAre(Pair("file-ds-K-1000-A-drawing-1", "fresh"), Pair("kept", "old")));
}

TEST_F(CadTest, WriteTicketsAnswerTrueWithPartialErrors) {
  Wire::WriteTicketsReply reply;
  reply.data.errors = {Wire::WorldStore::not_found("ds-gone")};
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).WillOnce(Return(reply));
  WriteTicketInput request;
  std::vector<WriteTicketResult*> results;
  EXPECT_TRUE(table->KESTREL_get_dataset_write_tickets({&request}, &results));
  EXPECT_THAT(results, IsEmpty());
}

// The reply's created, updated and plain objects and the objects its level-3
// errors name, each into its own list of the caller's.
TEST_F(CadTest, EachListOfTheReplyGoesToItsOwnOutput) {
  Objects(4);
  Wire::WireServiceData data = world.reply_with({"o1", "o2", "o3", "o4"});
  data.created = {"o1"};
  data.updated = {"o2"};
  data.plain = {"o3"};
  data.errors = {{"o4", 0, "0", {{214000, 3, "refused"}}}};
  CommitInput commit;
  PartCreateInput part;
  DatasetCreateInput dataset;
  ItemCreateInput item{"K-7001", "", "", {}};
  std::vector<PartResult*> parts_out;
  using Call = std::function<bool(HostObjects*, HostObjects*, HostObjects*, HostObjects*)>;
  struct Case {
    const char* entry;
    std::function<void()> script;
    Call call;
  };
  const Case cases[] = {
      {"commit", [&] { EXPECT_CALL(filemanagement, commitDatasetFiles(_)).WillOnce(Return(data)); },
       [&](auto* c, auto* u, auto* p, auto* e) { return table->KESTREL_commit_dataset_files({&commit}, c, u, p, e); }},
      {"parts",
       [&] {
         EXPECT_CALL(caddatamanagement, createParts(_)).WillOnce(Return(Wire::CreatePartsReply{{}, data}));
       },
       [&](auto* c, auto* u, auto* p, auto* e) {
         return table->KESTREL_create_parts({&part}, &parts_out, c, u, p, e);
       }},
      {"datasets",
       [&] {
         EXPECT_CALL(datamanagement, createDatasets(_)).WillOnce(Return(Wire::CreateDatasetsReply{{}, data}));
       },
       [&](auto* c, auto* u, auto* p, auto* e) { return table->KESTREL_create_datasets({&dataset}, c, u, p, e); }},
      {"items",
       [&] {
         EXPECT_CALL(datamanagement, createItems(_)).WillOnce(Return(Wire::CreateItemsReply{{}, data}));
       },
       [&](auto* c, auto* u, auto* p, auto* e) {
         return table->KESTREL_create_items({{nullptr, &item}}, c, u, p, e);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    c.script();
    HostObjects created, updated, plain, errors;
    EXPECT_FALSE(c.call(&created, &updated, &plain, &errors));
    EXPECT_THAT(Uids(created), ElementsAre("o1"));
    EXPECT_THAT(Uids(updated), ElementsAre("o2"));
    EXPECT_THAT(Uids(plain), ElementsAre("o3"));
    EXPECT_THAT(Uids(errors), ElementsAre("o4"));
  }
  EXPECT_THAT(parts_out, IsEmpty());
}

TEST_F(CadTest, EmptyRequestsAreSent) {
  EXPECT_TRUE(table->KESTREL_create_datasets({}, nullptr, nullptr, nullptr, nullptr));
  EXPECT_TRUE(table->KESTREL_create_items({}, nullptr, nullptr, nullptr, nullptr));
  std::vector<PartResult*> results;
  EXPECT_TRUE(table->KESTREL_create_parts({}, &results, nullptr, nullptr, nullptr, nullptr));
  EXPECT_TRUE(table->KESTREL_commit_dataset_files({}, nullptr, nullptr, nullptr, nullptr));
  EXPECT_THAT(Requests(), ElementsAre("createDatasets", "createItems", "createParts", "commitDatasetFiles"));
  for (const auto& r : server.requests) EXPECT_EQ(r.policy, 2) << r.operation;
}

TEST_F(CadTest, WorkspaceObjectOfAServerObject) {
  auto* models = table->KESTREL_ask_connection()->getModelManager();
  Host("ds-K-1100-A-jt");
  EXPECT_EQ(Uid(KESTREL_ask_workspace_object(models->findObject("ds-K-1100-A-jt"))), "ds-K-1100-A-jt");
  EXPECT_NE(dynamic_cast<Dataset*>(KESTREL_ask_workspace_object(models->findObject("ds-K-1100-A-jt"))), nullptr);
  EXPECT_EQ(KESTREL_ask_workspace_object(nullptr), nullptr);
  world.add_object("plain", {"POM_object"});
  Host("plain");
  EXPECT_EQ(KESTREL_ask_workspace_object(models->findObject("plain")), nullptr);
}

// The framework's exceptions, and what the caller's lists keep then.

class CadConversion : public ConversionTest<CadConversion, CadTest> {
 public:
  static constexpr const char* kFile = "kestrel_cadservices.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"ReadTickets",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.filemanagement, getFileReadTickets(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::ReadTicketsReply{};
           });
         },
         [](CadConversion& t) {
           t.tickets = {{"kept", "old"}};
           t.table->KESTREL_get_dataset_file_read_tickets({t.Host<Dataset>("ds-K-1000-A-drawing")}, nullptr,
                                                          &t.tickets);
         },
         [](CadConversion& t) { EXPECT_THAT(Texts(t.tickets), ElementsAre(Pair("kept", "old"))); }},
        {"WriteTickets",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.filemanagement, getDatasetWriteTickets(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::WriteTicketsReply{};
           });
         },
         [](CadConversion& t) { t.table->KESTREL_get_dataset_write_tickets({&t.write}, &t.write_results); },
         [](CadConversion& t) { EXPECT_THAT(t.write_results, IsEmpty()); }},
        {"Commit",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.filemanagement, commitDatasetFiles(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::WireServiceData{};
           });
         },
         [](CadConversion& t) {
           t.table->KESTREL_commit_dataset_files({&t.commit}, &t.created, &t.created, &t.created, &t.created);
         },
         [](CadConversion& t) { EXPECT_THAT(t.created, IsEmpty()); }},
        {"CreateParts",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.caddatamanagement, createParts(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::CreatePartsReply{};
           });
         },
         [](CadConversion& t) {
           t.table->KESTREL_create_parts({&t.part}, &t.part_results, &t.created, &t.created, &t.created, &t.created);
         },
         [](CadConversion& t) {
           EXPECT_THAT(t.part_results, IsEmpty());
           EXPECT_THAT(t.created, IsEmpty());
         }},
        {"CreateDatasets",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.datamanagement, createDatasets(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::CreateDatasetsReply{};
           });
         },
         [](CadConversion& t) {
           t.table->KESTREL_create_datasets({&t.dataset}, &t.created, &t.created, &t.created, &t.created);
         },
         [](CadConversion& t) { EXPECT_THAT(t.created, IsEmpty()); }},
        {"CreateItems",
         [](CadConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.datamanagement, createItems(_)).WillByDefault([fail](const auto&) {
             fail();
             return Wire::CreateItemsReply{};
           });
         },
         [](CadConversion& t) {
           t.table->KESTREL_create_items({{nullptr, &t.item}}, &t.created, &t.created, &t.created, &t.created);
         },
         [](CadConversion& t) { EXPECT_THAT(t.created, IsEmpty()); }},
    };
  }

  DatasetFileTickets tickets;
  WriteTicketInput write;
  std::vector<WriteTicketResult*> write_results;
  CommitInput commit;
  PartCreateInput part;
  std::vector<PartResult*> part_results;
  DatasetCreateInput dataset;
  ItemCreateInput item{"K-7000", "", "", {}};
  HostObjects created;
};
KESTREL_CONVERSION_SUITE(CadConversion);

}  // namespace
}  // namespace kestrel::test
