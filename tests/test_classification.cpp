// Classification: classes, descriptions, attributes, tables and value tables,
// and the classification objects read, refreshed, found and written.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "objmodel/Classification.h"
#include "objmodel/ModelObject.h"
#include "objmodel/testing.h"
#include "support/session_fixture.h"

namespace Orvane::PdmSoa {
inline bool operator==(const TextTriple& a, const TextTriple& b) {
  return a.first == b.first && a.second == b.second && a.third == b.third;
}
}  // namespace Orvane::PdmSoa

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Server::ClassDescriptionRecord;
using Halden::Soa::Server::ClassesReply;
using Halden::Soa::Server::ClassificationObjectData;
using Halden::Soa::Server::ClassQueryRecord;
using Halden::Soa::Server::ClassRecord;
using Halden::Soa::Server::ObjectListsReply;
using Halden::Soa::Server::ObjectSearchRecord;
using Orvane::PdmSoa::ClassificationAttribute;
using Orvane::PdmSoa::ClassificationClass;
using Orvane::PdmSoa::ClassificationObject;
using Orvane::PdmSoa::PomObject;
using Orvane::PdmSoa::SoaManager;
using Orvane::PdmSoa::TextTriple;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Pair;
using ::testing::Return;
using ::testing::SizeIs;
using ::testing::Throw;

std::string Uid(const Orvane::PdmSoa::ModelObject* object) { return object ? object->GetUid().utf8() : "(null)"; }

template <class T>
std::vector<std::string> Uids(const std::vector<T*>& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(Uid(o));
  return uids;
}

// The host deletes what it is given; so do the tests, which also check that
// nothing of CppMemory is left behind.
template <class Map>
void DeleteClasses(Map* classes) {
  for (auto& [id, entry] : *classes) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
      delete entry;
    } else {
      for (auto* c : entry) delete c;
    }
  }
  delete classes;
}

class ClassificationTest : public SessionTest {
 protected:
  ClassificationTest() {
    ConnectAndLogin();
    ClearRequests();
  }

  std::vector<std::string> ClassificationRequests() const {
    std::vector<std::string> names;
    for (const auto& r : server.requests)
      if (r.service.rfind("Classification", 0) == 0) names.push_back(r.operation);
    return names;
  }

  const Halden::Soa::Server::RequestRecord& Last(const std::string& operation) const {
    for (auto it = server.requests.rbegin(); it != server.requests.rend(); ++it)
      if (it->operation == operation) return *it;
    static const Halden::Soa::Server::RequestRecord none{"", "", -99};
    return none;
  }

  ClassificationObject* HostClassificationObject(const std::string& uid) {
    std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
        table->KESTREL_load_classification_objects({uid}));
    return loaded->count(uid) ? loaded->at(uid) : nullptr;
  }
};

// ---- classes

TEST_F(ClassificationTest, ClassDescriptionsBuildOneClassPerDescription) {
  const long before = corerun::testing::cpp_live_blocks();
  EXPECT_CALL(classification, getClassDescriptions(ElementsAre("CL-BOLT", "CL-UNKNOWN")));
  auto* result = table->KESTREL_ask_class_descriptions({"CL-BOLT", "CL-UNKNOWN"});
  ASSERT_THAT(*result, ElementsAre(Key("CL-BOLT"), Pair("CL-UNKNOWN", IsEmpty())));
  const auto& bolts = result->at("CL-BOLT");
  ASSERT_THAT(bolts, SizeIs(3));
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 3);
  const ClassificationClass& hex = *bolts[0];
  EXPECT_EQ(hex.AskConstructedId(), "classid");
  EXPECT_EQ(hex.AskConstructedName(), "");
  EXPECT_EQ(hex.GetObjectPtr(), nullptr);
  EXPECT_EQ(hex.text1, "bolt-hex");
  EXPECT_EQ(hex.text2, "CL-BOLT");
  EXPECT_EQ(hex.text3, "Hex bolts");
  EXPECT_EQ(hex.text4, "Hex bolts");
  EXPECT_EQ(hex.text5, "Bolts with a hexagon head");
  EXPECT_EQ(hex.text6, "");
  EXPECT_EQ(hex.text7, "");
  EXPECT_EQ(hex.AskClassType(), "storage");
  EXPECT_EQ(hex.kind, -1) << "a description leaves the kind as constructed";
  EXPECT_EQ(std::vector<int>({hex.int1, hex.int2, hex.int3}), std::vector<int>({1, 2, 3}));
  EXPECT_THAT(hex.triples, ElementsAre(TextTriple{"unit", "mm", "metric"}, TextTriple{"norm", "ISO 4017", ""}));
  EXPECT_EQ(bolts[1]->text3, "Socket bolts");
  EXPECT_EQ(bolts[1]->text4, "Socket bolts");
  EXPECT_EQ(bolts[2]->AskClassType(), "abstract");
  EXPECT_EQ(Last("getClassDescriptions").policy, 2);
  DeleteClasses(result);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(ClassificationTest, AnIdAskedTwiceBuildsItsClassesOnce) {
  const long before = corerun::testing::cpp_live_blocks();
  auto* descriptions = table->KESTREL_ask_class_descriptions({"CL-BOLT", "CL-BOLT"});
  EXPECT_THAT(*descriptions, ElementsAre(Pair("CL-BOLT", SizeIs(3))));
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 3);
  DeleteClasses(descriptions);

  auto* classes = table->KESTREL_ask_classification_classes({"CL-NUT", "CL-BOLT", "CL-NUT"});
  EXPECT_THAT(*classes, ElementsAre(Key("CL-BOLT"), Key("CL-NUT")));
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 2);
  DeleteClasses(classes);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(ClassificationTest, ClassesByIdCarryTheRecordAndUnknownIdsABareClass) {
  auto* result = table->KESTREL_ask_classification_classes({"CL-FASTENER", "CL-MISSING"});
  ASSERT_THAT(*result, ElementsAre(Key("CL-FASTENER"), Key("CL-MISSING")));
  const ClassificationClass& fastener = *result->at("CL-FASTENER");
  EXPECT_EQ(fastener.AskConstructedId(), "CL-FASTENER");
  EXPECT_EQ(fastener.text1, "CL-FASTENER");
  EXPECT_EQ(fastener.text2, "CL-ROOT");
  EXPECT_EQ(fastener.text3, "Fasteners");
  EXPECT_EQ(fastener.text4, "Fasteners (description)");
  EXPECT_EQ(fastener.text5, "group-CL-FASTENER");
  EXPECT_EQ(fastener.text6, "icon-CL-FASTENER");
  EXPECT_EQ(fastener.text7, "user-CL-FASTENER");
  EXPECT_EQ(std::vector<int>({fastener.int1, fastener.int2, fastener.int3}), std::vector<int>({10, 11, 12}));
  EXPECT_THAT(fastener.triples, ElementsAre(TextTriple{"unit", "mm", "CL-FASTENER"}));
  const ClassificationClass& missing = *result->at("CL-MISSING");
  EXPECT_EQ(missing.AskConstructedId(), "CL-MISSING");
  EXPECT_EQ(missing.text1, "");
  EXPECT_EQ(missing.kind, -1);
  DeleteClasses(result);
}

struct KindCase {
  bool flag1, flag2, flag3;
  int kind;
};

TEST_F(ClassificationTest, ClassKindFollowsTheFlags) {
  const KindCase cases[] = {{true, false, true, 0},
                            {true, true, true, 0},
                            {true, true, false, 1},
                            {true, false, false, 2},
                            {false, true, true, -1}};
  ClassesReply reply;
  std::vector<std::string> ids;
  for (const auto& c : cases) {
    ClassRecord r;
    r.flag1 = c.flag1;
    r.flag2 = c.flag2;
    r.flag3 = c.flag3;
    ids.push_back("K" + std::to_string(ids.size()));
    reply.classes[ids.back()] = r;
  }
  EXPECT_CALL(classification, getClasses(_)).WillOnce(Return(reply));
  auto* result = table->KESTREL_ask_classification_classes(ids);
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(result->at(ids[i])->kind, cases[i].kind) << ids[i];
  DeleteClasses(result);
}

TEST_F(ClassificationTest, ClassSearchLimitsCodesAndRepeatsTheThirdText) {
  std::vector<ClassQueryRecord> sent;
  EXPECT_CALL(classification, searchClasses(_)).WillOnce([&](const std::vector<ClassQueryRecord>& queries) {
    sent = queries;
    return world.classification.searchClasses(queries);
  });
  auto* result = table->KESTREL_find_classes({{9, "Bolts", 0}, {1, "Nuts", 8}, {-3, "None such", 5}});
  ASSERT_THAT(sent, SizeIs(3));
  EXPECT_EQ(
      std::vector<int>({sent[0].code1, sent[0].code2, sent[1].code1, sent[1].code2, sent[2].code1, sent[2].code2}),
      std::vector<int>({0, 0, 1, 8, 0, 5}));
  EXPECT_EQ(sent[0].text, "Bolts");
  ASSERT_THAT(*result, SizeIs(2));
  EXPECT_EQ((*result)[0]->AskConstructedId(), "classid");
  EXPECT_EQ((*result)[0]->text1, "CL-BOLT");
  EXPECT_EQ((*result)[0]->text3, "Bolts");
  EXPECT_EQ((*result)[0]->text4, "Bolts") << "the search repeats the third text";
  EXPECT_EQ((*result)[0]->kind, 2);
  EXPECT_EQ((*result)[1]->text1, "CL-NUT");
  for (auto* c : *result) delete c;
  delete result;
}

TEST_F(ClassificationTest, ClassAttributesAreCopiedFieldByField) {
  std::unique_ptr<std::map<std::string, std::vector<ClassificationAttribute>>> result(
      table->KESTREL_ask_class_attributes({"CL-BOLT", "CL-ROOT"}));
  ASSERT_THAT(*result, ElementsAre(Pair("CL-BOLT", SizeIs(2)), Pair("CL-ROOT", IsEmpty())));
  const ClassificationAttribute& length = result->at("CL-BOLT")[1];
  EXPECT_EQ(length.id, 1002);
  EXPECT_EQ(length.text1, "Length");
  EXPECT_EQ(length.text2, "Length short");
  EXPECT_EQ(length.text3, "mm");
  EXPECT_EQ(std::vector<int>({length.format1.int1, length.format1.int2, length.format1.int3, length.format1.int4}),
            std::vector<int>({3, 1, 2, 3}));
  EXPECT_EQ(std::vector<int>({length.format2.int1, length.format2.int2, length.format2.int3, length.format2.int4}),
            std::vector<int>({3, 4, 5, 6}));
  EXPECT_EQ(std::vector<std::string>({length.text4, length.text5, length.text6, length.text7, length.text8}),
            std::vector<std::string>({"min", "max", "default", "description of Length", "annotation"}));
  EXPECT_EQ(std::vector<int>({length.int1, length.int2}), std::vector<int>({7, 8}));
  EXPECT_EQ(std::vector<std::string>({length.text9, length.text10, length.text11}),
            std::vector<std::string>({"metric", "SI", "-"}));
}

TEST_F(ClassificationTest, ObjectsOfIdsSkipNullObjectsAndKeepUnknownIdsEmpty) {
  EXPECT_CALL(classification, getObjectsOfIds(ElementsAre("CL-BOLT", "CL-GONE"))).WillOnce([this](const auto& ids) {
    auto reply = world.classification.getObjectsOfIds(ids);
    reply.objects["CL-BOLT"].insert(reply.objects["CL-BOLT"].begin(), "");
    return reply;
  });
  std::unique_ptr<std::map<std::string, std::vector<PomObject*>>> result(
      table->KESTREL_ask_objects_of_classification_ids({"CL-BOLT", "CL-GONE"}));
  ASSERT_THAT(*result, ElementsAre(Key("CL-BOLT"), Pair("CL-GONE", IsEmpty())));
  EXPECT_THAT(Uids(result->at("CL-BOLT")), ElementsAre("item-bolt-m10", "item-bolt-m8"));
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::Item*>(result->at("CL-BOLT")[0]), nullptr);
}

TEST_F(ClassificationTest, TableAndValueTablesAreCopiedAsTheServerGaveThem) {
  std::unique_ptr<std::map<std::string, std::vector<std::string>>> tree(
      table->KESTREL_ask_classification_table({"CL-FASTENER", "CL-GONE"}));
  EXPECT_THAT(*tree, ElementsAre(Pair("CL-FASTENER", ElementsAre("CL-BOLT", "CL-NUT"))));

  std::unique_ptr<std::map<std::string, ClassificationValueTable>> tables(
      table->KESTREL_ask_classification_value_tables({"VT-THREAD", "VT-GONE", "VT-FINISH"}));
  ASSERT_THAT(*tables, ElementsAre(Key("VT-FINISH"), Key("VT-THREAD")));
  const auto& thread = tables->at("VT-THREAD");
  EXPECT_EQ(thread.text, "Thread");
  EXPECT_EQ(thread.value, 2);
  EXPECT_THAT(thread.entries, ElementsAre(Pair("M10", "10 mm"), Pair("M8", "8 mm")));
}

// ---- every entry

struct Entry {
  const char* name;
  std::function<void(const KESTREL_interface_s*)> call;
};

std::vector<Entry> AllEntries() {
  return {
      {"write", [](auto* t) { t->KESTREL_write_classification_objects({}); }},
      {"write_2", [](auto* t) { t->KESTREL_write_classification_objects_2({}); }},
      {"send_uids", [](auto* t) { t->KESTREL_send_classification_object_uids({}); }},
      {"classes", [](auto* t) { DeleteClasses(t->KESTREL_ask_classification_classes({})); }},
      {"descriptions", [](auto* t) { DeleteClasses(t->KESTREL_ask_class_descriptions({})); }},
      {"table", [](auto* t) { delete t->KESTREL_ask_classification_table({}); }},
      {"objects_of_ids", [](auto* t) { delete t->KESTREL_ask_objects_of_classification_ids({}); }},
      {"attributes", [](auto* t) { delete t->KESTREL_ask_class_attributes({}); }},
      {"find_classes", [](auto* t) { delete t->KESTREL_find_classes({}); }},
      {"find_objects", [](auto* t) { delete t->KESTREL_find_classification_objects({}); }},
      {"pom_objects", [](auto* t) { delete t->KESTREL_ask_classification_pom_objects({}); }},
      {"classifications_of", [](auto* t) { delete t->KESTREL_ask_classifications_of_objects({}); }},
      {"by_key", [](auto* t) { delete t->KESTREL_ask_classification_objects_by_key({}); }},
      {"load", [](auto* t) { delete t->KESTREL_load_classification_objects({}); }},
      {"refresh", [](auto* t) { t->KESTREL_refresh_classification_objects({}); }},
      {"value_tables", [](auto* t) { delete t->KESTREL_ask_classification_value_tables({}); }},
  };
}

TEST_F(ClassificationTest, EveryEntryMakesOneRequestUnderPolicy2EvenWhenEmpty) {
  for (const auto& entry : AllEntries()) {
    SetActivePropertyPolicy(-1);
    ClearRequests();
    entry.call(table);
    ASSERT_EQ(server.requests.size(), 1u) << entry.name;
    EXPECT_EQ(server.requests[0].policy, 2) << entry.name;
  }
}

TEST_F(ClassificationTest, FrameworkExceptionsReachTheHostUnchanged) {
  using ::testing::AnyNumber;
  ON_CALL(classification, writeClassificationObjects).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, writeClassificationObjects2).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, sendClassificationObjects).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClasses).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClassDescriptions).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClassificationTable).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getObjectsOfIds).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getAttributes).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, searchClasses).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, searchClassificationObjects).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getPomObjects).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClassificationsOfObjects).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClassificationObjectsByKey).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getClassificationObjectData).WillByDefault(Throw(NotLoadedException("not loaded")));
  ON_CALL(classification, getValueTables).WillByDefault(Throw(RuntimeException("down")));
  for (const auto& entry : AllEntries()) {
    if (std::string(entry.name) == "load" || std::string(entry.name) == "refresh") {
      EXPECT_THROW(entry.call(table), NotLoadedException) << entry.name;
    } else {
      EXPECT_THROW(entry.call(table), RuntimeException) << entry.name;
    }
  }
}

TEST_F(ClassificationTest, WithoutAConnectionEveryEntryRaises940209) {
  table->KESTREL_logout(false);
  ClearRequests();
  for (const auto& entry : AllEntries())
    EXPECT_THAT([&] { entry.call(table); },
                Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"))
        << entry.name;
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---- classification objects

TEST_F(ClassificationTest, LoadingReadsTheDataOfTheObjectsTheServerKnows) {
  SetActivePropertyPolicy(-1);
  std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
      table->KESTREL_load_classification_objects({"ico-bolt-m8", "ico-unknown", "ico-nut-m8"}));
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "loadObjects", "getClassificationObjectData"));
  for (const auto& r : server.requests) EXPECT_EQ(r.policy, 2) << r.operation;
  ASSERT_THAT(*loaded, ElementsAre(Key("ico-bolt-m8"), Key("ico-nut-m8")));
  const ClassificationObject& bolt = *loaded->at("ico-bolt-m8");
  EXPECT_EQ(bolt.GetUid().utf8(), "ico-bolt-m8");
  EXPECT_EQ(bolt.text1, "CL-BOLT");
  EXPECT_EQ(bolt.text2, "Bolt M8");
  EXPECT_EQ(bolt.code, 1);
  EXPECT_EQ(Uid(bolt.workspace_object), "item-bolt-m8");
  ASSERT_THAT(bolt.values, SizeIs(2));
  EXPECT_EQ(bolt.values[1].attribute_id, 1002);
  EXPECT_THAT(bolt.values[1].pairs, ElementsAre(Pair("40", "mm"), Pair("45", "mm")));
  EXPECT_EQ(loaded->at("ico-nut-m8")->code, 0) << "code 5 reads as 0";
}

TEST_F(ClassificationTest, AnObjectTheHostRefusesOnceIsAskedAgain) {
  objmodel::testing::refuse_construct_from_uid(1);
  EXPECT_NE(HostClassificationObject("ico-bolt-m8"), nullptr);
  objmodel::testing::refuse_construct_from_uid(2);
  EXPECT_EQ(HostClassificationObject("ico-bolt-m10"), nullptr);
}

TEST_F(ClassificationTest, ARecordWithoutAClassificationObjectIsSkipped) {
  EXPECT_CALL(classification, getClassificationObjectData(_)).WillOnce([this](const auto& uids) {
    auto reply = world.classification.getClassificationObjectData(uids);
    reply.records["ico-bolt-m8"].object_uid = "";
    return reply;
  });
  std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
      table->KESTREL_load_classification_objects({"ico-bolt-m8", "ico-bolt-m10"}));
  EXPECT_THAT(*loaded, ElementsAre(Key("ico-bolt-m10")));
}

TEST_F(ClassificationTest, RefreshFillsTheGivenObjectsAndLeavesNullEntriesAlone) {
  ClassificationObject* bolt = HostClassificationObject("ico-bolt-m8");
  ASSERT_NE(bolt, nullptr);
  bolt->text2 = "stale";
  bolt->values.clear();
  ClearRequests();
  table->KESTREL_refresh_classification_objects({{"ico-bolt-m8", bolt}, {"ico-nut-m8", nullptr}});
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "getClassificationObjectData"));
  EXPECT_EQ(bolt->text2, "Bolt M8");
  EXPECT_THAT(bolt->values, SizeIs(2));
}

TEST_F(ClassificationTest, WritingSendsOneRecordPerObjectWithCodesMapped) {
  ClassificationObject* bolt = HostClassificationObject("ico-bolt-m8");
  ClassificationObject* loose = HostClassificationObject("ico-loose");
  ASSERT_TRUE(bolt && loose);
  bolt->text2 = "Bolt M8 long";
  bolt->code = 7;
  bolt->values = {{1002, {{"60", "mm"}}}};
  loose->code = 2;
  std::vector<ClassificationObjectData> sent;
  EXPECT_CALL(classification, writeClassificationObjects(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.classification.writeClassificationObjects(records);
  });
  SetActivePropertyPolicy(-1);
  ClearRequests();
  table->KESTREL_write_classification_objects({bolt, loose});
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "writeClassificationObjects"));
  EXPECT_EQ(server.requests[0].policy, -1) << "the objects are loaded before the policy is set";
  EXPECT_EQ(server.requests[2].policy, 2);
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[0].object_uid, "ico-bolt-m8");
  EXPECT_EQ(sent[0].text1, "CL-BOLT");
  EXPECT_EQ(sent[0].text2, "Bolt M8 long");
  EXPECT_EQ(sent[0].code, 0);
  EXPECT_EQ(sent[0].workspace_object_uid, "item-bolt-m8");
  ASSERT_THAT(sent[0].values, SizeIs(1));
  EXPECT_EQ(sent[0].values[0].attribute_id, 1002);
  EXPECT_EQ(sent[1].code, 2);
  EXPECT_EQ(sent[1].workspace_object_uid, "") << "no workspace object is sent as none";

  EXPECT_EQ(world.classification.written_by("ico-bolt-m8"), 1);
  EXPECT_EQ(world.classification.classification_object("ico-bolt-m8")->text2, "Bolt M8 long");
}

TEST_F(ClassificationTest, TheSecondWriteUsesTheSecondOperation) {
  ClassificationObject* bolt = HostClassificationObject("ico-bolt-m10");
  ASSERT_NE(bolt, nullptr);
  ClearRequests();
  table->KESTREL_write_classification_objects_2({bolt});
  EXPECT_THAT(ClassificationRequests(), ElementsAre("writeClassificationObjects2"));
  EXPECT_EQ(world.classification.written_by("ico-bolt-m10"), 2);
}

TEST_F(ClassificationTest, ANullObjectToWriteRaises940208BeforeAnyRequest) {
  ClassificationObject* bolt = HostClassificationObject("ico-bolt-m8");
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_write_classification_objects({bolt, nullptr});
      },
      RaisesFrom(940208, "KRAL SOA: Null object in KESTREL_write_classification_objects",
                 "kestrel_classification.cpp"));
  EXPECT_THAT([&] { table->KESTREL_write_classification_objects_2({nullptr}); },
              Raises(940208, "KRAL SOA: Null object in KESTREL_write_classification_objects_2"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ClassificationTest, SendingUidsSendsTheirObjectsInOrder) {
  table->KESTREL_send_classification_object_uids({"ico-nut-m8", "ico-unknown", "ico-bolt-m8"});
  EXPECT_THAT(world.classification.last_sent(), ElementsAre("ico-nut-m8", "", "ico-bolt-m8"));
}

TEST_F(ClassificationTest, FindingObjectsSendsTheQueriesAndSkipsNullObjects) {
  std::vector<ObjectSearchRecord> sent;
  EXPECT_CALL(classification, searchClassificationObjects(_)).WillOnce([&](const auto& records) {
    sent = records;
    auto reply = world.classification.searchClassificationObjects(records);
    reply.objects["CL-BOLT"].push_back("");
    return reply;
  });
  std::unique_ptr<std::vector<ClassificationObject*>> found(
      table->KESTREL_find_classification_objects({{{"CL-BOLT", "CL-NUT"}, {{1001, "8"}}, 4}}));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_THAT(sent[0].texts, ElementsAre("CL-BOLT", "CL-NUT"));
  EXPECT_THAT(sent[0].attributes, ElementsAre(Pair(1001, "8")));
  EXPECT_EQ(sent[0].value, 4);
  EXPECT_THAT(Uids(*found), ElementsAre("ico-bolt-m8", "ico-nut-m8"));
}

TEST_F(ClassificationTest, PomObjectsSkipWhatTheServerAnswersAsNull) {
  std::unique_ptr<std::vector<PomObject*>> objects(
      table->KESTREL_ask_classification_pom_objects({"ico-bolt-m8", "ico-unknown", "item-nut-m8"}));
  EXPECT_THAT(Uids(*objects), ElementsAre("ico-bolt-m8", "item-nut-m8"));
  EXPECT_NE(dynamic_cast<ClassificationObject*>((*objects)[0]), nullptr);
}

TEST_F(ClassificationTest, ClassificationsOfObjectsAreReadWithTheirDataInUidOrder) {
  std::unique_ptr<std::map<std::string, std::vector<ClassificationObject*>>> result(
      table->KESTREL_ask_classifications_of_objects({"item-bolt-m8", "ico-loose", "item-nut-m8"}));
  EXPECT_THAT(ClassificationRequests(),
              ElementsAre("getClassificationsOfObjects", "getClassificationObjectData", "getClassificationObjectData"));
  ASSERT_THAT(*result, ElementsAre(Key("item-bolt-m8"), Key("item-nut-m8")));
  EXPECT_THAT(Uids(result->at("item-bolt-m8")), ElementsAre("ico-bolt-m8", "ico-fastener-m8"));
  EXPECT_EQ(result->at("item-bolt-m8")[1]->text1, "CL-FASTENER");
}

TEST_F(ClassificationTest, ClassificationsOfAnObjectAreInUidOrderWhateverTheReplysOrder) {
  EXPECT_CALL(classification, getClassificationsOfObjects(_)).WillOnce([&](const auto& uids) {
    auto reply = world.classification.getClassificationsOfObjects(uids);
    auto& of_bolt = reply.objects.at("item-bolt-m8");
    std::sort(of_bolt.rbegin(), of_bolt.rend());
    return reply;
  });
  std::unique_ptr<std::map<std::string, std::vector<ClassificationObject*>>> result(
      table->KESTREL_ask_classifications_of_objects({"item-bolt-m8"}));
  ASSERT_THAT(*result, ElementsAre(Key("item-bolt-m8")));
  EXPECT_THAT(Uids(result->at("item-bolt-m8")), ElementsAre("ico-bolt-m8", "ico-fastener-m8"));
}

TEST_F(ClassificationTest, ANonWorkspaceObjectIsAskedAsNone) {
  std::vector<std::string> sent;
  EXPECT_CALL(classification, getClassificationsOfObjects(_)).WillOnce([&](const auto& uids) {
    sent = uids;
    return world.classification.getClassificationsOfObjects(uids);
  });
  delete table->KESTREL_ask_classifications_of_objects({"ico-loose", "item-bolt-m10"});
  EXPECT_THAT(sent, ElementsAre("", "item-bolt-m10"));
}

TEST_F(ClassificationTest, ObjectsBehindKeysAreListedPerKey) {
  EXPECT_CALL(classification, getClassificationObjectsByKey(ElementsAre("CL-BOLT", "CL-GONE")))
      .WillOnce([this](const auto& keys) {
        auto reply = world.classification.getClassificationObjectsByKey(keys);
        reply.objects["CL-BOLT"].push_back("");
        return reply;
      });
  std::unique_ptr<std::map<std::string, std::vector<ClassificationObject*>>> result(
      table->KESTREL_ask_classification_objects_by_key({"CL-BOLT", "CL-GONE"}));
  ASSERT_THAT(*result, ElementsAre(Key("CL-BOLT")));
  EXPECT_THAT(Uids(result->at("CL-BOLT")), ElementsAre("ico-bolt-m10", "ico-bolt-m8"));
}

}  // namespace
}  // namespace kestrel::test
