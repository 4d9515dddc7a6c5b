// Classification through the legacy table: classes, descriptions,
// attributes, tables and value tables, and classification objects found,
// followed from workspace objects, loaded and written, over the older host's
// classes.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "kestrel/kestrel_types.h"
#include "legacy_fixture.h"
#include "objmodel/SoaManager.h"

namespace Orvane::PdmSoa {
inline bool operator==(const VirelmgrTextTriple& a, const VirelmgrTextTriple& b) {
  return a.first == b.first && a.second == b.second && a.third == b.third;
}
}  // namespace Orvane::PdmSoa

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Server::ClassificationObjectData;
using Halden::Soa::Server::ClassQueryRecord;
using Halden::Soa::Server::ObjectSearchRecord;
using Orvane::PdmSoa::VirelmgrClassificationAttribute;
using Orvane::PdmSoa::VirelmgrClassificationClass;
using Orvane::PdmSoa::VirelmgrClassificationObject;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrPomObject;
using Orvane::PdmSoa::VirelmgrTextTriple;
using Orvane::PdmSoa::VirelmgrWorkspaceObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Pair;
using ::testing::SizeIs;
using ::testing::Throw;

template <class T>
std::vector<std::string> Uids(const std::vector<T*>& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(o ? o->GetUid() : "(null)");
  return uids;
}

// Classes are built on the host's memory; the test, as the host, gives it back.
void Destroy(VirelmgrClassificationClass* c) {
  c->~VirelmgrClassificationClass();
  Orvane::Memory::CppMemory::deallocate(c);
}

template <class Map>
void DestroyClasses(Map* classes) {
  for (auto& [id, entry] : *classes) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
      Destroy(entry);
    } else {
      for (auto* c : entry) Destroy(c);
    }
  }
  delete classes;
}

void DestroyClasses(std::vector<VirelmgrClassificationClass*>* classes) {
  for (auto* c : *classes) Destroy(c);
  delete classes;
}

class ClassificationTest : public LegacyTest {
 protected:
  ClassificationTest() {
    Connect();
    ClearRequests();
  }

  std::vector<std::string> ClassificationRequests() const {
    std::vector<std::string> names;
    for (const auto& r : server.requests)
      if (r.service.rfind("Classification", 0) == 0) names.push_back(r.operation);
    return names;
  }

  long Asked(const std::string& uid) const {
    const auto& asked = cadlink::testing::instance_requests();
    return std::count(asked.begin(), asked.end(), uid);
  }

  VirelmgrClassificationObject* Loaded(const std::string& uid) {
    std::unique_ptr<std::map<std::string, VirelmgrClassificationObject*>> loaded(
        table->KESTREL_load_classification_objects({uid}));
    return loaded->count(uid) ? loaded->at(uid) : nullptr;
  }

  ::testing::NiceMock<Halden::Soa::Server::MockClassificationStub>& classification = test_server.classification;
};

// ---- classes

TEST_F(ClassificationTest, DescriptionsBuildOneClassEachAndEveryIdGetsAList) {
  const long before = corerun::testing::cpp_live_blocks();
  EXPECT_CALL(classification, getClassDescriptions(ElementsAre("CL-BOLT", "CL-UNKNOWN", "CL-BOLT")));
  auto* result = table->KESTREL_ask_class_descriptions({"CL-BOLT", "CL-UNKNOWN", "CL-BOLT"});
  ASSERT_THAT(*result, ElementsAre(Key("CL-BOLT"), Pair("CL-UNKNOWN", IsEmpty())));
  const auto& bolts = result->at("CL-BOLT");
  ASSERT_THAT(bolts, SizeIs(3));
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 3) << "an id asked twice builds its classes once";
  const VirelmgrClassificationClass& hex = *bolts[0];
  EXPECT_EQ(hex.GetClassId(), "classid");
  EXPECT_EQ(hex.GetUid(), "");
  EXPECT_EQ(hex.GetObjectPtr(), nullptr);
  EXPECT_EQ(
      std::vector<std::string>({hex.text1, hex.text2, hex.text3, hex.text4, hex.text5, hex.text6, hex.text7}),
      std::vector<std::string>({"bolt-hex", "CL-BOLT", "Hex bolts", "Hex bolts", "Bolts with a hexagon head", "", ""}));
  EXPECT_EQ(hex.AskClassType(), "storage");
  EXPECT_EQ(hex.kind, -1) << "a description leaves the kind as constructed";
  EXPECT_EQ(std::vector<int>({hex.int1, hex.int2, hex.int3}), std::vector<int>({1, 2, 3}));
  EXPECT_THAT(hex.triples,
              ElementsAre(VirelmgrTextTriple{"unit", "mm", "metric"}, VirelmgrTextTriple{"norm", "ISO 4017", ""}));
  EXPECT_EQ(bolts[2]->AskClassType(), "abstract");
  DestroyClasses(result);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(ClassificationTest, ClassesByIdCarryTheRecordAndUnknownIdsABareClass) {
  const long before = corerun::testing::cpp_live_blocks();
  auto* result = table->KESTREL_ask_classification_classes({"CL-FASTENER", "CL-MISSING", "CL-FASTENER"});
  ASSERT_THAT(*result, ElementsAre(Key("CL-FASTENER"), Key("CL-MISSING")));
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 2);
  const VirelmgrClassificationClass& fastener = *result->at("CL-FASTENER");
  EXPECT_EQ(fastener.GetClassId(), "CL-FASTENER");
  EXPECT_EQ(std::vector<std::string>({fastener.text1, fastener.text2, fastener.text3, fastener.text4, fastener.text5,
                                      fastener.text6, fastener.text7}),
            std::vector<std::string>({"CL-FASTENER", "CL-ROOT", "Fasteners", "Fasteners (description)",
                                      "group-CL-FASTENER", "icon-CL-FASTENER", "user-CL-FASTENER"}));
  EXPECT_EQ(fastener.kind, 1);
  EXPECT_EQ(std::vector<int>({fastener.int1, fastener.int2, fastener.int3}), std::vector<int>({10, 11, 12}));
  EXPECT_THAT(fastener.triples, ElementsAre(VirelmgrTextTriple{"unit", "mm", "CL-FASTENER"}));
  const VirelmgrClassificationClass& missing = *result->at("CL-MISSING");
  EXPECT_EQ(missing.GetClassId(), "CL-MISSING");
  EXPECT_EQ(missing.text1, "");
  EXPECT_EQ(missing.kind, -1);
  DestroyClasses(result);
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before);
}

TEST_F(ClassificationTest, ClassSearchLimitsCodesAndRepeatsTheThirdText) {
  std::vector<ClassQueryRecord> sent;
  EXPECT_CALL(classification, searchClasses(_)).WillOnce([&](const std::vector<ClassQueryRecord>& queries) {
    sent = queries;
    return world.classification.searchClasses(queries);
  });
  auto* result = table->KESTREL_find_classes({{9, "Bolts", 0}, {1, "Nuts", 8}});
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(std::vector<int>({sent[0].code1, sent[0].code2, sent[1].code1, sent[1].code2}),
            std::vector<int>({0, 0, 1, 8}));
  ASSERT_THAT(*result, SizeIs(2));
  EXPECT_EQ((*result)[0]->GetClassId(), "classid");
  EXPECT_EQ((*result)[0]->text1, "CL-BOLT");
  EXPECT_EQ((*result)[0]->text4, "Bolts") << "the search repeats the third text";
  EXPECT_EQ((*result)[0]->kind, 2);
  EXPECT_EQ((*result)[1]->text1, "CL-NUT");
  DestroyClasses(result);
}

TEST_F(ClassificationTest, AttributesGiveEveryIdAListCopiedFieldByField) {
  std::unique_ptr<std::map<std::string, std::vector<VirelmgrClassificationAttribute>>> result(
      table->KESTREL_ask_class_attributes({"CL-BOLT", "CL-ROOT"}));
  ASSERT_THAT(*result, ElementsAre(Pair("CL-BOLT", SizeIs(2)), Pair("CL-ROOT", IsEmpty())));
  const VirelmgrClassificationAttribute& length = result->at("CL-BOLT")[1];
  EXPECT_EQ(length.id, 1002);
  EXPECT_EQ(std::vector<std::string>({length.text1, length.text2, length.text3}),
            std::vector<std::string>({"Length", "Length short", "mm"}));
  EXPECT_EQ(std::vector<int>({length.format1.int1, length.format1.int4, length.format2.int1, length.format2.int4}),
            std::vector<int>({3, 3, 3, 6}));
  EXPECT_EQ(std::vector<std::string>({length.text4, length.text5, length.text6, length.text7, length.text8}),
            std::vector<std::string>({"min", "max", "default", "description of Length", "annotation"}));
  EXPECT_EQ(std::vector<int>({length.int1, length.int2}), std::vector<int>({7, 8}));
  EXPECT_EQ(std::vector<std::string>({length.text9, length.text10, length.text11}),
            std::vector<std::string>({"metric", "SI", "-"}));
}

TEST_F(ClassificationTest, ObjectsOfIdsAreTheHostsPomObjectsAndUnknownIdsEmpty) {
  EXPECT_CALL(classification, getObjectsOfIds(ElementsAre("CL-BOLT", "CL-GONE"))).WillOnce([this](const auto& ids) {
    auto reply = world.classification.getObjectsOfIds(ids);
    reply.objects["CL-BOLT"].insert(reply.objects["CL-BOLT"].begin(), "");
    return reply;
  });
  cadlink::testing::refuse_instances({"item-bolt-m8"});
  std::unique_ptr<std::map<std::string, std::vector<VirelmgrPomObject*>>> result(
      table->KESTREL_ask_objects_of_classification_ids({"CL-BOLT", "CL-GONE"}));
  ASSERT_THAT(*result, ElementsAre(Key("CL-BOLT"), Pair("CL-GONE", IsEmpty())));
  EXPECT_THAT(Uids(result->at("CL-BOLT")), ElementsAre("item-bolt-m10", "(null)"))
      << "a null of the reply is skipped, a refusal of the host stays";
  EXPECT_EQ(cadlink::testing::registered_instance("item-bolt-m10"), result->at("CL-BOLT")[0]);
  EXPECT_NE(result->at("CL-BOLT")[0]->GetObjectPtr(), nullptr);
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
      {"send_uids", [](auto* t) { t->KESTREL_send_classification_object_uids({"ico-bolt-m8"}); }},
      {"classes", [](auto* t) { DestroyClasses(t->KESTREL_ask_classification_classes({})); }},
      {"descriptions", [](auto* t) { DestroyClasses(t->KESTREL_ask_class_descriptions({})); }},
      {"table", [](auto* t) { delete t->KESTREL_ask_classification_table({}); }},
      {"objects_of_ids", [](auto* t) { delete t->KESTREL_ask_objects_of_classification_ids({}); }},
      {"attributes", [](auto* t) { delete t->KESTREL_ask_class_attributes({}); }},
      {"find_classes", [](auto* t) { DestroyClasses(t->KESTREL_find_classes({})); }},
      {"find_objects", [](auto* t) { delete t->KESTREL_find_classification_objects({}); }},
      {"pom_objects", [](auto* t) { delete t->KESTREL_ask_classification_pom_objects({"ico-bolt-m8"}); }},
      {"classifications_of", [](auto* t) { delete t->KESTREL_ask_classifications_of_objects({"item-bolt-m8"}); }},
      {"load", [](auto* t) { delete t->KESTREL_load_classification_objects({"ico-bolt-m8"}); }},
      {"value_tables", [](auto* t) { delete t->KESTREL_ask_classification_value_tables({}); }},
  };
}

TEST_F(ClassificationTest, EveryEntryMakesOneRequestAndLeavesThePolicyAlone) {
  SetActivePropertyPolicy(7);  // whatever the host set stays
  for (const auto& entry : AllEntries()) {
    ClearRequests();
    entry.call(table);
    EXPECT_THAT(ClassificationRequests(), SizeIs(1)) << entry.name;
    for (const auto& r : server.requests) EXPECT_EQ(r.policy, 7) << entry.name << " " << r.operation;
  }
}

TEST_F(ClassificationTest, FrameworkExceptionsReachTheHostUnchanged) {
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
  ON_CALL(classification, getClassificationObjectData).WillByDefault(Throw(RuntimeException("down")));
  ON_CALL(classification, getValueTables).WillByDefault(Throw(RuntimeException("down")));
  for (const auto& entry : AllEntries()) EXPECT_THROW(entry.call(table), RuntimeException) << entry.name;
}

using UnconnectedTest = LegacyTest;

TEST_F(UnconnectedTest, WithoutAConnectionEveryEntryRaises940209) {
  for (const auto& entry : AllEntries())
    EXPECT_THAT([&] { entry.call(table); },
                RaisesFrom(940209, "SOA: No connection object - SOA unavailable or not initialized", kLegacyFile))
        << entry.name;
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---- classification objects

TEST_F(ClassificationTest, FindingObjectsAsksTheHostForEachObjectAsItIs) {
  std::vector<ObjectSearchRecord> sent;
  EXPECT_CALL(classification, searchClassificationObjects(_)).WillOnce([&](const auto& records) {
    sent = records;
    auto reply = world.classification.searchClassificationObjects(records);
    reply.objects["CL-BOLT"].push_back("");
    return reply;
  });
  cadlink::testing::refuse_instances({"ico-nut-m8"});
  std::unique_ptr<std::vector<VirelmgrModelObject*>> found(
      table->KESTREL_find_classification_objects({{{"CL-BOLT", "CL-NUT"}, {{1001, "8"}}, 4}}));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_THAT(sent[0].texts, ElementsAre("CL-BOLT", "CL-NUT"));
  EXPECT_THAT(sent[0].attributes, ElementsAre(Pair(1001, "8")));
  EXPECT_EQ(sent[0].value, 4);
  EXPECT_THAT(Uids(*found), ElementsAre("ico-bolt-m8", "(null)"));
  EXPECT_EQ(cadlink::testing::registered_instance("ico-bolt-m8"), (*found)[0]);
}

TEST_F(ClassificationTest, PomObjectsLoadEachUidAndSkipWhatTheServerAnswersAsNull) {
  std::unique_ptr<std::vector<VirelmgrPomObject*>> objects(
      table->KESTREL_ask_classification_pom_objects({"ico-bolt-m8", "ico-unknown", "item-nut-m8"}));
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "loadObjects", "getPomObjects"));
  EXPECT_THAT(Uids(*objects), ElementsAre("ico-bolt-m8", "item-nut-m8"));
  EXPECT_NE((*objects)[1]->GetObjectPtr(), nullptr);
}

TEST_F(ClassificationTest, ClassificationsOfObjectsAreTheHostsObjectsInReplyOrderWithoutASecondCall) {
  std::vector<std::string> sent;
  EXPECT_CALL(classification, getClassificationsOfObjects(_)).WillOnce([&](const auto& uids) {
    sent = uids;
    auto reply = world.classification.getClassificationsOfObjects(uids);
    // The reply's order, not the UIDs': the list keeps it.
    auto& bolt = reply.objects["item-bolt-m8"];
    bolt.assign({"ico-fastener-m8", "", "ico-bolt-m8"});
    return reply;
  });
  std::unique_ptr<std::map<std::string, std::vector<VirelmgrModelObject*>>> result(
      table->KESTREL_ask_classifications_of_objects({"item-bolt-m8", "ico-loose", "item-nut-m8", "item-bolt-m8"}));
  EXPECT_THAT(sent, ElementsAre("item-bolt-m8", "", "item-nut-m8", "item-bolt-m8"))
      << "what is no workspace object is asked as none";
  EXPECT_THAT(ClassificationRequests(), ElementsAre("getClassificationsOfObjects"));
  ASSERT_THAT(*result, ElementsAre(Key("item-bolt-m8"), Key("item-nut-m8")));
  EXPECT_THAT(Uids(result->at("item-bolt-m8")), ElementsAre("ico-fastener-m8", "ico-bolt-m8"));
  EXPECT_EQ(Asked("ico-bolt-m8"), 1) << "a UID asked twice builds its list once";
  EXPECT_EQ(result->at("item-nut-m8")[0], cadlink::testing::registered_instance("ico-nut-m8"));
}

TEST_F(ClassificationTest, LoadingFillsTheHostsObjectsWithAWorkspaceObjectOfTheUidAlone) {
  std::unique_ptr<std::map<std::string, VirelmgrClassificationObject*>> loaded(
      table->KESTREL_load_classification_objects({"ico-bolt-m8", "ico-unknown", "ico-nut-m8", "ico-loose"}));
  EXPECT_THAT(Requests(),
              ElementsAre("loadObjects", "loadObjects", "loadObjects", "loadObjects", "getClassificationObjectData"));
  ASSERT_THAT(*loaded, ElementsAre(Key("ico-bolt-m8"), Key("ico-loose"), Key("ico-nut-m8")));
  const VirelmgrClassificationObject& bolt = *loaded->at("ico-bolt-m8");
  EXPECT_EQ(&bolt, cadlink::testing::registered_instance("ico-bolt-m8"));
  EXPECT_EQ(bolt.text1, "CL-BOLT");
  EXPECT_EQ(bolt.text2, "Bolt M8");
  EXPECT_EQ(bolt.code, 1);
  ASSERT_THAT(bolt.values, SizeIs(2));
  EXPECT_EQ(bolt.values[1].attribute_id, 1002);
  EXPECT_THAT(bolt.values[1].pairs, ElementsAre(Pair("40", "mm"), Pair("45", "mm")));
  EXPECT_EQ(loaded->at("ico-nut-m8")->code, 0) << "code 5 reads as 0";

  const VirelmgrWorkspaceObject* workspace = bolt.GetWorkspaceObject();
  ASSERT_NE(workspace, nullptr);
  EXPECT_EQ(workspace->GetUid(), "item-bolt-m8");
  EXPECT_EQ(workspace->GetObjectPtr(), nullptr) << "the new host object carries the UID alone";
  const auto* registered = cadlink::testing::registered_instance("item-bolt-m8");
  EXPECT_NE(registered, workspace);
  ASSERT_NE(dynamic_cast<const VirelmgrPomObject*>(registered), nullptr);
  EXPECT_NE(registered->GetObjectPtr(), nullptr) << "the record's workspace object is registered with the host";
  EXPECT_EQ(loaded->at("ico-loose")->GetWorkspaceObject(), nullptr);
}

TEST_F(ClassificationTest, LoadingAgainReplacesTheWorkspaceObjectAndKeepsOneWithoutARecordOfIt) {
  const long before = corerun::testing::cpp_live_blocks();
  VirelmgrClassificationObject* bolt = Loaded("ico-bolt-m8");
  ASSERT_NE(bolt, nullptr);
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 1);
  EXPECT_EQ(Loaded("ico-bolt-m8"), bolt);
  EXPECT_EQ(corerun::testing::cpp_live_blocks() - before, 1) << "the replaced workspace object is given back";
  ASSERT_NE(bolt->GetWorkspaceObject(), nullptr);
  EXPECT_EQ(bolt->GetWorkspaceObject()->GetUid(), "item-bolt-m8");

  // A record without a workspace object leaves the host's as it was.
  EXPECT_CALL(classification, getClassificationObjectData(_)).WillOnce([this](const auto& uids) {
    auto reply = world.classification.getClassificationObjectData(uids);
    reply.records["ico-bolt-m8"].workspace_object_uid = "";
    return reply;
  });
  const VirelmgrWorkspaceObject* kept = bolt->GetWorkspaceObject();
  EXPECT_EQ(Loaded("ico-bolt-m8"), bolt);
  EXPECT_EQ(bolt->GetWorkspaceObject(), kept);
  cadlink::testing::reset_instances();
  EXPECT_EQ(corerun::testing::cpp_live_blocks(), before) << "the classification object owns its workspace object";
}

TEST_F(ClassificationTest, LoadingAsksTheHostOnceAndSkipsWhatItRefuses) {
  cadlink::testing::refuse_instances({"ico-bolt-m8"});
  std::unique_ptr<std::map<std::string, VirelmgrClassificationObject*>> loaded(
      table->KESTREL_load_classification_objects({"ico-bolt-m8", "ico-bolt-m10", "ico-bolt-m10"}));
  EXPECT_THAT(*loaded, ElementsAre(Key("ico-bolt-m10")));
  EXPECT_EQ(Asked("ico-bolt-m8"), 1);
  EXPECT_EQ(Asked("ico-bolt-m10"), 1) << "a UID already loaded builds nothing more";
}

TEST_F(ClassificationTest, WritingSendsOneRecordPerObjectWithItsWorkspaceObjectByUid) {
  VirelmgrClassificationObject* bolt = Loaded("ico-bolt-m8");
  VirelmgrClassificationObject* loose = Loaded("ico-loose");
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
  ClearRequests();
  table->KESTREL_write_classification_objects({bolt, loose});
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "writeClassificationObjects"));
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[0].object_uid, "ico-bolt-m8");
  EXPECT_EQ(sent[0].text1, "CL-BOLT");
  EXPECT_EQ(sent[0].text2, "Bolt M8 long");
  EXPECT_EQ(sent[0].code, 0);
  EXPECT_EQ(sent[0].workspace_object_uid, "item-bolt-m8") << "found by the UID of a host object without one";
  ASSERT_THAT(sent[0].values, SizeIs(1));
  EXPECT_EQ(sent[0].values[0].attribute_id, 1002);
  EXPECT_EQ(sent[1].code, 2);
  EXPECT_EQ(sent[1].workspace_object_uid, "");
  EXPECT_EQ(world.classification.written_by("ico-bolt-m8"), 1);

  // The second entry writes through the second operation; a workspace
  // object whose UID is no workspace object's is sent as none.
  loose->SetWorkspaceObject(new (Orvane::Memory::CppMemory::allocate(sizeof(VirelmgrWorkspaceObject)))
                                VirelmgrWorkspaceObject("ico-bolt-m8", nullptr, 0));
  EXPECT_CALL(classification, writeClassificationObjects2(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.classification.writeClassificationObjects2(records);
  });
  ClearRequests();
  table->KESTREL_write_classification_objects_2({loose});
  EXPECT_THAT(ClassificationRequests(), ElementsAre("writeClassificationObjects2"));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].workspace_object_uid, "");
  EXPECT_EQ(world.classification.written_by("ico-loose"), 2);
}

TEST_F(ClassificationTest, ANullObjectToWriteRaises940208BeforeAnyRequest) {
  VirelmgrClassificationObject* bolt = Loaded("ico-bolt-m8");
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_write_classification_objects({bolt, nullptr});
      },
      RaisesFrom(940208, "Null object in KESTREL_write_classification_objects", kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_write_classification_objects_2({nullptr}); },
              RaisesFrom(940208, "Null object in KESTREL_write_classification_objects_2", kLegacyFile));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ClassificationTest, SendingUidsSendsTheirObjectsInOrder) {
  table->KESTREL_send_classification_object_uids({"ico-nut-m8", "ico-unknown", "ico-bolt-m8"});
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "loadObjects", "sendClassificationObjects"));
  EXPECT_THAT(world.classification.last_sent(), ElementsAre("ico-nut-m8", "", "ico-bolt-m8"));
}

}  // namespace
}  // namespace kestrel::test
