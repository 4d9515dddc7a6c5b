// Dataset references, type descriptions and type chains, through the table
// against the sample world.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::DatasetReferencesReply;
using Halden::Soa::Server::TypeDescriptionsReply;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Invoke;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Pair;

MATCHER_P4(Reference, text1, flag, text2, text3, "") {
  return arg.text1 == text1 && arg.flag == flag && arg.text2 == text2 && arg.text3 == text3;
}
MATCHER_P2(Entry, name, values, "") { return arg.name == name && arg.values == values; }

class DatasetTest : public SessionTest {
 protected:
  DatasetTest() {
    ConnectAndLogin();
    ClearRequests();
    clear_log();
  }

  ServerObject* Load(const std::string& uid) {
    std::vector<HostObject*> out;
    table->KESTREL_load_objects({UString(uid)}, &out);
    ClearRequests();
    clear_log();
    return out.at(0)->GetObjectPtr();
  }
};

// ---------------------------------------------------------------------------
// Dataset references

TEST_F(DatasetTest, ReferencesCopyEachRecordInReplyOrder) {
  ServerObject* drawing = Load("ds-K-1000-B-drawing");
  ServerObject* master = Load("ds-K-1000-B-master");
  ServerObject* notes = Load("ds-K-1000-B-notes");
  EXPECT_CALL(datamanagement,
              getDatasetReferences(ElementsAre("ds-K-1000-B-drawing", "ds-K-1000-B-master", "ds-K-1000-B-notes")));
  const auto result = table->KESTREL_ask_dataset_references({drawing, master, notes});
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].policy, 2);
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[0].uid, "ds-K-1000-B-drawing");
  EXPECT_THAT(result[0].references,
              ElementsAre(Reference("PDF_Reference", true, "K-1000-B-drawing.pdf", "file-ds-K-1000-B-drawing-1"),
                          Reference("PDF_Markup", true, "K-1000-B-drawing-markup.xml", "file-ds-K-1000-B-drawing-2")));
  EXPECT_EQ(result[1].uid, "ds-K-1000-B-master");
  EXPECT_THAT(result[1].references,
              ElementsAre(Reference("TOVPART", true, "K-1000-B-master.prt", "file-ds-K-1000-B-master-1")));
  // A dataset without references keeps its record.
  EXPECT_EQ(result[2].uid, "ds-K-1000-B-notes");
  EXPECT_THAT(result[2].references, IsEmpty());
}

TEST_F(DatasetTest, ReferencesOfAnEmptyListStillSendOneRequest) {
  EXPECT_CALL(datamanagement, getDatasetReferences(IsEmpty()));
  EXPECT_THAT(table->KESTREL_ask_dataset_references({}), IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("getDatasetReferences"));
}

// Flags and texts are the server's, copied unchanged; an output that names no
// dataset keeps its references under an empty uid.
TEST_F(DatasetTest, ReferencesKeepTheServersTextsAndOutputsWithoutADataset) {
  ServerObject* drawing = Load("ds-K-1000-B-drawing");
  EXPECT_CALL(datamanagement, getDatasetReferences(_)).WillOnce(Invoke([](const auto&) {
    DatasetReferencesReply reply;
    reply.outputs.push_back({"", {{"Odd name ", false, "", "form-7"}, {"", true, "a b.txt", ""}}});
    reply.outputs.push_back({"ds-K-1000-B-drawing", {}});
    return reply;
  }));
  const auto result = table->KESTREL_ask_dataset_references({drawing});
  ASSERT_EQ(result.size(), 2u);
  EXPECT_EQ(result[0].uid, "");
  EXPECT_THAT(result[0].references,
              ElementsAre(Reference("Odd name ", false, "", "form-7"), Reference("", true, "a b.txt", "")));
  EXPECT_EQ(result[1].uid, "ds-K-1000-B-drawing");
}

TEST_F(DatasetTest, AnUnknownDatasetIsAPartialErrorForTheListener) {
  EXPECT_CALL(datamanagement, getDatasetReferences(_)).WillOnce(Invoke([&](const auto&) {
    return world.datamanagement.getDatasetReferences({"ds-gone"});
  }));
  ServerObject* drawing = Load("ds-K-1000-B-drawing");
  const auto result = table->KESTREL_ask_dataset_references({drawing});
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result[0].uid, "");
  EXPECT_EQ(Orvane::PdmSoa::SoaManager::GetObjectManager()->error_reports.size(), 1u);
}

TEST_F(DatasetTest, ANullDatasetRaisesBeforeAnyRequest) {
  ServerObject* drawing = Load("ds-K-1000-B-drawing");
  EXPECT_THAT(
      [&] {
        table->KESTREL_ask_dataset_references({drawing, nullptr});
      },
      RaisesFrom(940208, "KRAL SOA: Null dataset in KESTREL_ask_dataset_references", "kestrel_dataset.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

// The references sit outside the Dataset policy: reading them loads them.
TEST_F(DatasetTest, FileReferencesAreLoadedOnDemand) {
  std::vector<HostObject*> out;
  table->KESTREL_load_objects({UString("ds-K-1000-B-master")}, &out);
  HostObject* dataset = out.at(0);
  EXPECT_THAT([&] { table->KESTREL_get_object_property_string_array(dataset, "ref_names", false); },
              Raises(940223, HasSubstr("Property ref_names not loaded")));
  clear_log();
  EXPECT_THAT(table->KESTREL_get_object_property_string_array(dataset, "ref_names", true), ElementsAre("TOVPART"));
  EXPECT_THAT(log_text(), HasSubstr("force-load of non-policy property ref_names on object of type Dataset"));
  std::unique_ptr<std::vector<HostObject*>> files(
      table->KESTREL_get_object_property_object_array(dataset, "ref_list", true));
  ASSERT_EQ(files->size(), 1u);
  EXPECT_EQ(files->front()->GetUid(), UString("file-ds-K-1000-B-master-1"));
  EXPECT_EQ(table->KESTREL_get_object_property_string(files->front(), "original_file_name", true),
            "K-1000-B-master.prt");
}

// ---------------------------------------------------------------------------
// Type descriptions

TEST_F(DatasetTest, TypeDescriptionsSendTheRequestsAndAnswerANewMapInKeyOrder) {
  using Halden::Soa::Server::TypeDescriptionRequestRecord;
  EXPECT_CALL(datamanagement,
              getTypeDescriptions(ElementsAre(
                  AllOf(Field(&TypeDescriptionRequestRecord::type_name, "ItemRevision"),
                        Field(&TypeDescriptionRequestRecord::names, ElementsAre("display_name", "parent_type"))),
                  AllOf(Field(&TypeDescriptionRequestRecord::type_name, "Dataset"),
                        Field(&TypeDescriptionRequestRecord::names, IsEmpty())))));
  std::unique_ptr<std::map<std::string, std::vector<TypeDescriptionEntry>>> types(
      table->KESTREL_ask_type_descriptions({{"ItemRevision", {"display_name", "parent_type"}}, {"Dataset", {}}}));
  EXPECT_EQ(server.requests.at(0).policy, 2);
  ASSERT_EQ(types->size(), 2u);
  EXPECT_THAT(types->at("Dataset"),
              ElementsAre(Entry("parent_type", std::vector<std::string>{"WorkspaceObject"}),
                          Entry("display_name", std::vector<std::string>{"Dataset"}),
                          Entry("property_names",
                                std::vector<std::string>{"object_name", "object_type", "ref_list", "ref_names"})));
  EXPECT_THAT(types->at("ItemRevision"), ElementsAre(Entry("parent_type", std::vector<std::string>{"WorkspaceObject"}),
                                                     Entry("display_name", std::vector<std::string>{"Item Revision"})));
  EXPECT_THAT(*types, ElementsAre(Key("Dataset"), Key("ItemRevision")));
}

TEST_F(DatasetTest, TypeDescriptionsOfAnEmptyListStillSendOneRequest) {
  std::unique_ptr<std::map<std::string, std::vector<TypeDescriptionEntry>>> types(
      table->KESTREL_ask_type_descriptions({}));
  ASSERT_NE(types, nullptr);
  EXPECT_THAT(*types, IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("getTypeDescriptions"));
}

// The reply's ServiceData is not examined: an unknown type only reaches the
// listener.
TEST_F(DatasetTest, AnUnknownTypeIsLeftOutAndReachesTheListener) {
  std::unique_ptr<std::map<std::string, std::vector<TypeDescriptionEntry>>> types(
      table->KESTREL_ask_type_descriptions({{"NoSuchType", {}}, {"Folder", {"display_name"}}}));
  EXPECT_THAT(*types,
              ElementsAre(Pair("Folder", ElementsAre(Entry("display_name", std::vector<std::string>{"Folder"})))));
  EXPECT_EQ(Orvane::PdmSoa::SoaManager::GetObjectManager()->error_reports.size(), 1u);
}

// ---------------------------------------------------------------------------
// Type chains

TEST_F(DatasetTest, TypeHierarchyRunsFromTheObjectsTypeToTheRoot) {
  ServerObject* dataset = Load("ds-K-1000-B-master");
  EXPECT_THAT(table->KESTREL_ask_type_hierarchy(dataset), ElementsAre("Dataset", "WorkspaceObject", "POM_object"));
  EXPECT_THAT(table->KESTREL_ask_type_hierarchy(nullptr), IsEmpty());
  const ServerObject untyped("loose", nullptr);
  EXPECT_THAT(table->KESTREL_ask_type_hierarchy(&untyped), IsEmpty());
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---------------------------------------------------------------------------
// Conversion of the framework's exceptions

class ReferencesConversion : public ConversionTest<ReferencesConversion, DatasetTest> {
 public:
  static constexpr const char* kFile = "kestrel_dataset.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"References",
         [](ReferencesConversion& t, const auto& fail) {
           ON_CALL(t.datamanagement, getDatasetReferences).WillByDefault([fail](const auto&) -> DatasetReferencesReply {
             fail();
             return {};
           });
         },
         [](ReferencesConversion& t) { t.table->KESTREL_ask_dataset_references({t.Load("ds-K-1000-B-master")}); }}};
  }
};
KESTREL_CONVERSION_SUITE(ReferencesConversion);

class TypesConversion : public ConversionTest<TypesConversion, DatasetTest> {
 public:
  static constexpr const char* kFile = "kestrel_hxtype.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"TypeDescriptions",
         [](TypesConversion& t, const auto& fail) {
           ON_CALL(t.datamanagement, getTypeDescriptions).WillByDefault([fail](const auto&) -> TypeDescriptionsReply {
             fail();
             return {};
           });
         },
         [](TypesConversion& t) {
           delete t.table->KESTREL_ask_type_descriptions({{"Item", {}}});
         }}};
  }
};
KESTREL_CONVERSION_SUITE(TypesConversion);

}  // namespace
}  // namespace kestrel::test
