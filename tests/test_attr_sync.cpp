// CAD attribute mapping: definitions of contexts, resolution with its caches,
// write-back of changed values, and clearing the caches.
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/clock.h"
#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel/kestrel_attr_types.h"
#include "objmodel/AttrMapping.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::AttrMappingContextRecord;
using Halden::Soa::Server::AttrMappingDefinitionsReply;
using Halden::Soa::Server::CreatePartsReply;
using Halden::Soa::Server::PartCreateRecord;
using Halden::Soa::Server::ResolveAttrMappingsReply;
using Halden::Soa::Server::ResolveAttrMappingsRequest;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::CadAttrMappingDefinition;
using Orvane::PdmSoa::DefaultPropDescriptor;
using Orvane::PdmSoa::ListOfValues;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

using Definitions = std::vector<CadAttrMappingDefinition*>;

struct Results {
  std::unique_ptr<std::vector<AttrMappingPartResult*>> list;
  ~Results() {
    if (list)
      for (auto* r : *list) delete r;
  }
  const std::vector<ResolvedAttr*>& operator[](std::size_t i) const { return list->at(i)->attributes; }
};

std::string Text(const ResolvedAttr* a) { return a->text ? a->text : "(null)"; }

class AttrSyncTest : public SessionTest {
 protected:
  AttrSyncTest() {
    ConnectAndLogin();
    SoaManager::GetAvailableSoaServices();
    ClearRequests();
    clear_log();
  }

  // Slot 123 for one context, kept by the host as the host does.
  Definitions Fetch(const char* item_type, const char* dataset_type) {
    AttrMappingContext context{item_type, dataset_type};
    std::vector<AttrMappingContext*> contexts{&context};
    std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
        table->KESTREL_get_attr_mapping_definitions(contexts));
    Definitions definitions = records->front()->definitions;
    for (auto* r : *records) delete r;
    cadlink::testing::set_attr_map_defs(dataset_type, item_type, definitions);
    return definitions;
  }

  using Definition = Halden::Soa::Server::CadDataManagementWorld::Definition;
  static Definition Mapping(const std::string& uid, int type, const char* title, const char* source,
                            const char* property) {
    Definition d;
    d.uid = uid;
    d.mapping_type = type;
    d.title = title;
    d.source = source;
    d.property = property;
    return d;
  }
  // The definition as the only one of the context ("Item", dataset type),
  // fetched as the host does.
  Definitions OnlyMapping(const char* dataset_type, const Definition& d) {
    world.caddatamanagement.add_definition(d);
    world.caddatamanagement.set_context("Item", dataset_type, {d.uid});
    return Fetch("Item", dataset_type);
  }

  // The host tag of a server object, which the host then holds.
  tag_t Tag(const std::string& uid) {
    auto* object = table->KESTREL_ask_connection()->getModelManager()->loadObjects(uid);
    return SoaManager::GetObjectManager()->WrapSoaObject(object)->AskPdiTag();
  }

  AttrMappingPart Part(const std::string& dataset, const std::string& revision, Definitions* definitions) {
    return {Tag(dataset), Tag(revision), definitions};
  }

  Results Resolve(std::vector<AttrMappingPart*> parts) {
    return Results{std::unique_ptr<std::vector<AttrMappingPartResult*>>(table->KESTREL_resolve_attr_mappings(parts))};
  }

  int Sent(const char* operation) const {
    int n = 0;
    for (const auto& r : server.requests) n += r.operation == operation;
    return n;
  }

  Halden::Soa::Server::MockCadDataManagementStub& cad = test_server.caddatamanagement;
};

// ---------------------------------------------------------------------------
// Slot 123

TEST_F(AttrSyncTest, DefinitionsCarryTheirDescriptorsConstantsAndPreferenceValues) {
  std::vector<AttrMappingContextRecord> sent;
  EXPECT_CALL(cad, getAttrMappingDefinitions(_)).WillOnce([&](const auto& contexts) {
    sent = contexts;
    return world.caddatamanagement.getAttrMappingDefinitions(contexts);
  });
  AttrMappingContext master{"Item", "TOVMASTER"}, loose{"Item", nullptr};
  std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
      table->KESTREL_get_attr_mapping_definitions({&master, &loose}));

  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[1].text1, "Item");
  EXPECT_EQ(sent[1].text2, "");
  EXPECT_FALSE(sent[0].flag);
  EXPECT_EQ(server.requests.back().policy, 2);
  ASSERT_THAT(*records, SizeIs(2));
  EXPECT_THAT((*records)[1]->definitions, IsEmpty());
  const auto& defs = (*records)[0]->definitions;
  ASSERT_THAT(defs, SizeIs(5));
  std::vector<std::string> titles;
  for (auto* d : defs) titles.push_back(d->get_attr_title());
  EXPECT_THAT(titles, ElementsAre("DB_PART_NO", "DB_PART_DESC", "DB_COMPANY", "DB_UNITS", "DB_MATERIAL"));
  EXPECT_EQ(defs[0]->GetUid().utf8(), "attrdef-part-no");
  EXPECT_EQ(defs[2]->get_default_prop_desc()->constant_value, "Kestrel Works");
  EXPECT_EQ(defs[2]->get_default_prop_desc()->preference_value, "");
  EXPECT_EQ(defs[3]->get_default_prop_desc()->preference_value, "mm");  // the first of ["mm", "in"]
  EXPECT_EQ(defs[0]->get_default_prop_desc()->list_of_values, nullptr);
  auto* lov = defs[4]->get_default_prop_desc()->list_of_values;
  ASSERT_NE(lov, nullptr);
  EXPECT_EQ(lov->GetUid().utf8(), "lov-materials");
  for (auto* r : *records) delete r;
}

TEST_F(AttrSyncTest, ValueTypesMapToTheHostsCodes) {
  const Definitions defs = Fetch("Item", "DFA_KF");
  std::vector<int> types;
  for (auto* d : defs) types.push_back(d->get_default_prop_desc()->value_type);
  // char, date, double, float, int, logical, short, string array, reference, code 12
  EXPECT_THAT(types, ElementsAre(2, 3, 1, 1, 0, 5, 0, 8, 9, 7));
}

// The descriptor's flags one at a time: a swap or a constant shows in one
// of the cases.
struct DescriptorFlags {
  bool flag, is_array, a, b, c;
};
void PrintTo(const DescriptorFlags& f, std::ostream* os) { *os << f.flag << f.is_array << f.a << f.b << f.c; }

class DescriptorFields : public AttrSyncTest, public ::testing::WithParamInterface<DescriptorFlags> {};
INSTANTIATE_TEST_SUITE_P(Flags, DescriptorFields,
                         ::testing::Values(DescriptorFlags{true, false, false, false, false},
                                           DescriptorFlags{false, true, false, false, false},
                                           DescriptorFlags{false, false, true, false, false},
                                           DescriptorFlags{false, false, false, true, false},
                                           DescriptorFlags{false, false, false, false, true}));

TEST_P(DescriptorFields, EveryFieldOfTheReplyLandsInItsOwnPlace) {
  const DescriptorFlags f = GetParam();
  EXPECT_CALL(cad, getAttrMappingDefinitions(_)).WillOnce([&](const auto& contexts) {
    auto reply = world.caddatamanagement.getAttrMappingDefinitions(contexts);
    auto& output = reply.outputs[0];
    output.text1 = "first of the reply";
    output.text2 = "second of the reply";
    // The constant (2) and the preference mapping (3).
    for (std::size_t i : {2, 3}) {
      const std::string n = std::to_string(i);
      output.mappings[i].description = {"one-" + n,   "two-" + n,
                                        "three-" + n, 2,
                                        11,           f.flag,
                                        f.is_array,   i == 2 ? "lov-materials" : "",
                                        f.a,          f.b,
                                        f.c,          22,
                                        33,           {"w1-" + n, "w2-" + n}};
    }
    return reply;
  });
  AttrMappingContext context{"Item", "TOVMASTER"};
  std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
      table->KESTREL_get_attr_mapping_definitions({&context}));
  ASSERT_THAT(*records, SizeIs(1));
  const AttrMappingDefinitions& record = *(*records)[0];
  EXPECT_EQ(record.first, "first of the reply");
  EXPECT_EQ(record.second, "second of the reply");
  ASSERT_THAT(record.definitions, SizeIs(5));
  for (std::size_t i : {2, 3}) {
    SCOPED_TRACE(i);
    const std::string n = std::to_string(i);
    const DefaultPropDescriptor& d = *record.definitions[i]->get_default_prop_desc();
    EXPECT_EQ(d.text1, "one-" + n);
    EXPECT_EQ(d.text2, "two-" + n);
    EXPECT_EQ(d.text3, "three-" + n);
    EXPECT_EQ(d.value_type, 1);  // a double
    EXPECT_EQ(d.int1, 11);
    EXPECT_EQ(d.flag, f.flag);
    EXPECT_EQ(d.is_array, f.is_array);
    EXPECT_EQ(d.flag_a, f.a);
    EXPECT_EQ(d.flag_b, f.b);
    EXPECT_EQ(d.flag_c, f.c);
    EXPECT_EQ(d.int2, 22);
    EXPECT_EQ(d.int3, 33);
    EXPECT_THAT(d.texts, ElementsAre("w1-" + n, "w2-" + n));
  }
  const DefaultPropDescriptor& constant = *record.definitions[2]->get_default_prop_desc();
  const DefaultPropDescriptor& preference = *record.definitions[3]->get_default_prop_desc();
  ASSERT_NE(constant.list_of_values, nullptr);
  EXPECT_EQ(constant.list_of_values->GetUid().utf8(), "lov-materials");
  EXPECT_EQ(preference.list_of_values, nullptr);
  EXPECT_EQ(constant.constant_value, "Kestrel Works");
  EXPECT_EQ(constant.preference_value, "");
  EXPECT_EQ(preference.constant_value, "");
  EXPECT_EQ(preference.preference_value, "mm");
  for (auto* r : *records) delete r;
}

TEST_F(AttrSyncTest, AnEmptyPreferenceGivesAnEmptyValueAndNoContextsSendNothing) {
  world.set_preference("user", "OSTRA_cad_units", {});
  EXPECT_EQ(Fetch("Item", "TOVMASTER")[3]->get_default_prop_desc()->preference_value, "");
  ClearRequests();
  EXPECT_EQ(table->KESTREL_get_attr_mapping_definitions({}), nullptr);
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(AttrSyncTest, ANullContextRaisesBeforeTheRequest) {
  AttrMappingContext master{"Item", "TOVMASTER"};
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_attr_mapping_definitions({&master, nullptr});
      },
      RaisesFrom(940208, HasSubstr("KESTREL_get_attr_mapping_definitions"), "kestrel_attr_sync.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(AttrSyncTest, AReplyEntryWithoutADefinitionIsSkippedAndFailuresAreConverted) {
  EXPECT_CALL(cad, getAttrMappingDefinitions(_))
      .WillOnce([&](const auto& contexts) {
        auto reply = world.caddatamanagement.getAttrMappingDefinitions(contexts);
        reply.outputs[0].mappings[1].definition_uid.clear();
        return reply;
      })
      .WillOnce([](const auto&) -> AttrMappingDefinitionsReply {
        throw Halden::Soa::Client::RuntimeException("definitions lost");
      });
  EXPECT_THAT(Fetch("Item", "TOVMASTER"), SizeIs(4));
  AttrMappingContext master{"Item", "TOVMASTER"};
  EXPECT_THAT([&] { table->KESTREL_get_attr_mapping_definitions({&master}); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: definitions lost", "kestrel_attr_sync.cpp"));
}

// ---------------------------------------------------------------------------
// Slot 124

class ResolveTest : public AttrSyncTest {
 protected:
  ResolveTest() {
    defs = Fetch("Item", "TOVMASTER");
    ClearRequests();
  }
  Definitions defs;
};

TEST_F(ResolveTest, PropertyMappingsGoToTheServerOnceAndConstantsStayLocal) {
  std::vector<ResolveAttrMappingsRequest> sent;
  EXPECT_CALL(cad, resolveAttrMappings(_)).WillOnce([&](const auto& requests) {
    sent = requests;
    return world.caddatamanagement.resolveAttrMappings(requests);
  });
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  ClearRequests();
  Results results = Resolve({&part});

  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].dataset_uid, "ds-K-1000-B-master");
  EXPECT_THAT(sent[0].definition_uids, ElementsAre("attrdef-part-no", "attrdef-part-desc", "attrdef-material"));
  ASSERT_THAT(results[0], SizeIs(5));
  const auto& a = results[0];
  EXPECT_EQ(Text(a[0]), "K-1000");
  EXPECT_EQ(a[0]->value_type, 2);
  EXPECT_FALSE(a[0]->modifiable);  // "item_id" may not be written
  EXPECT_FALSE(a[0]->master);
  EXPECT_EQ(a[0]->property_name, "item_id");
  EXPECT_EQ(a[0]->source_object->getUid(), "item-K-1000");
  EXPECT_EQ(Text(a[1]), "Utility cart");
  EXPECT_TRUE(a[1]->modifiable);  // the revision belongs to its master model
  EXPECT_TRUE(a[1]->master);
  EXPECT_TRUE(a[1]->ostra_master);
  EXPECT_EQ(Text(a[2]), "Kestrel Works");
  EXPECT_NE(a[2]->text, a[2]->value);  // two copies
  EXPECT_STREQ(static_cast<const char*>(a[2]->value), "Kestrel Works");
  EXPECT_FALSE(a[2]->modifiable);
  EXPECT_EQ(a[2]->source_object, nullptr);
  EXPECT_EQ(Text(a[3]), "mm");
  EXPECT_EQ(Text(a[4]), "S355");
  EXPECT_TRUE(a[4]->modifiable);  // write-once, on the revision's master form
  ASSERT_NE(a[4]->list_of_values, nullptr);
  EXPECT_EQ(a[4]->list_of_values->GetUid().utf8(), "lov-materials");
  ASSERT_THAT(cadlink::testing::lov_cache_calls(), SizeIs(1));
  const auto& lovs = cadlink::testing::lov_cache_calls()[0];
  EXPECT_THAT(lovs.lov_tags, ElementsAre(a[4]->list_of_values->AskPdiTag()));
  EXPECT_THAT(lovs.dataset_types, ElementsAre("TOVMASTER"));
  EXPECT_THAT(lovs.item_types, ElementsAre("Item"));
  EXPECT_THAT(lovs.titles, ElementsAre("DB_MATERIAL"));
  EXPECT_EQ(Sent("getAttachedPropDescs"), 1);
  for (const auto& r : server.requests) {
    if (r.operation == "resolveAttrMappings" || r.operation == "getAttachedPropDescs") {
      EXPECT_EQ(r.policy, 2);
    }
  }
}

TEST_F(ResolveTest, ASecondResolveAnswersTheSameRecordsFromTheCache) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results first = Resolve({&part});
  ClearRequests();
  Results second = Resolve({&part});
  EXPECT_EQ(first[0], second[0]);
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ResolveTest, OnlyLocalMappingsSendNothingAndKeysKeepTagPairsApart) {
  Definitions local = {defs[2], defs[3]};
  // With a text key, (17, 5) and (1, 75) would be one key.
  AttrMappingPart a{17, 5, &local}, b{1, 75, &local};
  Results results = Resolve({&a, &b});
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_NE(results[0][0], results[1][0]);
  EXPECT_EQ(results[0][1]->value_type, 2);
}

TEST_F(ResolveTest, APartWithOneCachedPropertyMappingSendsTheWholeContext) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Definitions one = {defs[0]};
  AttrMappingPart first{part.dataset_tag, part.item_revision_tag, &one};
  Resolve({&first});
  // A definition of another context: the part's own context cannot resolve it.
  Definitions mixed = {defs[0], Fetch("Item", "DFA_KF")[4]};
  AttrMappingPart second{part.dataset_tag, part.item_revision_tag, &mixed};
  std::vector<ResolveAttrMappingsRequest> sent;
  EXPECT_CALL(cad, resolveAttrMappings(_)).WillOnce([&](const auto& requests) {
    sent = requests;
    return world.caddatamanagement.resolveAttrMappings(requests);
  });
  clear_log();
  Results results = Resolve({&second});
  EXPECT_THAT(log_text(), HasSubstr("WARNING, KESTREL_resolve_attr_mappings: not every db attr in a part is resolved"));
  EXPECT_THAT(log_text(),
              HasSubstr("WARNING, KESTREL_resolve_attr_mappings: attr title = kf_count for dataset tag = "));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_THAT(sent[0].definition_uids, SizeIs(3));
  EXPECT_EQ(results[0][1]->value_type, 6);
}

TEST_F(ResolveTest, EveryValueTypeConverts) {
  Definitions kf = Fetch("Item", "DFA_KF");
  AttrMappingPart part = Part("ds-K-1120-A-kf", "rev-K-1120-A", &kf);
  Results results = Resolve({&part});
  const auto& a = results[0];
  ASSERT_THAT(a, SizeIs(10));
  EXPECT_EQ(a[0]->value_type, 2);
  EXPECT_EQ(Text(a[0]), "B");
  EXPECT_EQ(a[1]->value_type, 3);
  EXPECT_EQ(Text(a[1]), "2024-03-05T08:30:00");
  const auto* date = static_cast<const date_s*>(a[1]->value);
  EXPECT_EQ(date->year, 2024);
  EXPECT_EQ(date->month, 2);
  EXPECT_EQ(date->hour, 8);
  EXPECT_EQ(Text(a[2]), "0.1");
  EXPECT_EQ(*static_cast<const double*>(a[2]->value), 0.1);
  EXPECT_EQ(a[3]->value_type, 1);
  EXPECT_EQ(Text(a[3]), "1.50000");
  EXPECT_EQ(*static_cast<const double*>(a[3]->value), 1.5);
  EXPECT_EQ(Text(a[4]), "42");
  EXPECT_EQ(*static_cast<const std::int32_t*>(a[4]->value), 42);
  EXPECT_EQ(a[5]->value_type, 5);
  EXPECT_EQ(Text(a[5]), "F");
  EXPECT_EQ(*static_cast<const unsigned char*>(a[5]->value), 0);
  EXPECT_EQ(a[6]->value_type, 0);
  EXPECT_EQ(Text(a[6]), "-3");
  EXPECT_EQ(a[7]->value_type, 8);
  ASSERT_EQ(a[7]->count, 3);
  EXPECT_STREQ(a[7]->list[2], "weld");
  EXPECT_EQ(a[7]->text, nullptr);
  EXPECT_EQ(a[8]->value_type, 9);
  EXPECT_EQ(a[8]->text, nullptr);
  EXPECT_EQ(static_cast<Halden::Soa::Client::ModelObject*>(a[8]->value)->getUid(), "form-K-1120-A");
  // The source object's name (the revision's), not the referenced form's: as the host has always shown it.
  EXPECT_EQ(a[8]->display_text, "Caster bracket");
  EXPECT_EQ(a[9]->value_type, 7);
  EXPECT_TRUE(a[4]->modifiable);  // the revision belongs to its DFA_KF dataset
}

TEST_F(ResolveTest, APropertySentAsNullHasNoValueAndIsNotModifiable) {
  AttrMappingPart part = Part("ds-K-1100-A-master", "rev-K-1100-A", &defs);
  Results results = Resolve({&part});
  EXPECT_EQ(results[0][1]->value_type, 6);
  EXPECT_EQ(results[0][1]->text, nullptr);
  EXPECT_FALSE(results[0][1]->modifiable);
}

TEST_F(ResolveTest, WithoutWriteAccessReleasedPartsAreFrozenAndNothingIsModifiable) {
  AttrMappingPart part = Part("ds-K-1000-A-master", "rev-K-1000-A", &defs);
  objmodel::testing::set_appdata_access(part.dataset_tag, 2, 1);  // a failed look-up: no write access
  Results results = Resolve({&part});
  const auto& a = results[0];
  EXPECT_TRUE(a[0]->frozen);  // freezable, the dataset has a release status
  EXPECT_TRUE(a[1]->frozen);
  EXPECT_FALSE(a[1]->modifiable);
  EXPECT_FALSE(a[3]->frozen);  // not freezable
  EXPECT_FALSE(a[4]->modifiable);
  EXPECT_EQ(objmodel::testing::appdata_access_calls(), 1);  // once per dataset and call
}

// A freezable constant is frozen when its dataset lacks write access and the
// host names a release status for it.
TEST_F(ResolveTest, AFreezableConstantIsFrozenOnAReleasedDatasetWithoutWriteAccess) {
  Definitions company = {defs[2]};
  struct Case {
    const char* part;
    bool write_access;
    bool frozen;
  };
  const Case cases[] = {{"K-1000-A", false, true}, {"K-1100-A", true, false}, {"K-1000-B", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    const std::string dataset = std::string("ds-") + c.part + "-master";
    AttrMappingPart part = Part(dataset, std::string("rev-") + c.part, &company);
    // The host holds its dataset with the release status.
    table->KESTREL_get_properties({SoaManager::GetObjectManager()->FindObject(UString(dataset))},
                                  {"release_status_list"});
    objmodel::testing::set_appdata_access(part.dataset_tag, c.write_access ? 2 : 0);
    ClearRequests();
    Results results = Resolve({&part});
    EXPECT_THAT(server.requests, IsEmpty());
    EXPECT_EQ(results[0][0]->frozen, c.frozen);
  }
}

TEST_F(ResolveTest, AMissingRevisionTagIsAskedOfTheHost) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  const tag_t revision = part.item_revision_tag;
  objmodel::testing::set_appdata_partrev(part.dataset_tag, revision);
  part.item_revision_tag = NULL_TAG;
  Results results = Resolve({&part});
  EXPECT_EQ(part.item_revision_tag, revision);
  EXPECT_EQ(Text(results[0][1]), "Utility cart");

  AttrMappingPart unknown{Tag("ds-K-1100-A-master"), NULL_TAG, &defs};
  clear_log();
  Results none = Resolve({&unknown});
  EXPECT_THAT(log_text(),
              HasSubstr("WARNING, KESTREL_resolve_attr_mappings: Can not obtain itemRev tag from Dataset tag\n"));
  EXPECT_THAT(log_text(), HasSubstr("WARNING, get_attr_mapping_for_virel_part: input datasetTag = "));
  EXPECT_EQ(none[0][0]->value_type, 6);  // failed to resolve: cached as no value
  EXPECT_EQ(Text(none[0][2]), "Kestrel Works");
}

// The lists of values come from the descriptor cache on every resolve: also
// when nothing new is asked, and when the server offers no descriptors.
TEST_F(ResolveTest, RecordsOfCachedTypesGetTheirListsOfValuesWithoutAsking) {
  AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results first = Resolve({&cart});
  ListOfValues* lov = first[0][4]->list_of_values;
  ASSERT_NE(lov, nullptr);

  AttrMappingPart chassis = Part("ds-K-1100-A-master", "rev-K-1100-A", &defs);
  ClearRequests();
  Results second = Resolve({&chassis});
  EXPECT_EQ(Sent("getAttachedPropDescs"), 0);
  EXPECT_EQ(second[0][4]->list_of_values, lov);
  const auto& calls = cadlink::testing::lov_cache_calls();
  ASSERT_THAT(calls, SizeIs(2));
  EXPECT_THAT(calls[1].lov_tags, ElementsAre(lov->AskPdiTag()));
  EXPECT_THAT(calls[1].dataset_types, ElementsAre("TOVMASTER"));
  EXPECT_THAT(calls[1].item_types, ElementsAre("Item"));
  EXPECT_THAT(calls[1].titles, ElementsAre("DB_MATERIAL"));

  // New pairs of the second context go unasked; the cached pair still serves.
  world.set_available_services({"Core-2006-03-DataManagement", "Core-2006-03-Session"});
  SoaManager::GetAvailableSoaServices();
  Definitions kf = Fetch("Item", "DFA_KF");
  AttrMappingPart wheel = Part("ds-K-1200-A-master", "rev-K-1200-A", &defs);
  AttrMappingPart knowledge = Part("ds-K-1120-A-kf", "rev-K-1120-A", &kf);
  ClearRequests();
  Results third = Resolve({&wheel, &knowledge});
  EXPECT_EQ(Sent("getAttachedPropDescs"), 0);
  EXPECT_EQ(third[0][4]->list_of_values, lov);
  ASSERT_THAT(calls, SizeIs(3));
  EXPECT_THAT(calls[2].titles, ElementsAre("DB_MATERIAL"));
}

// Logout frees the host's lists of values with its registry; the caches
// outlive it, and every record handed out in the next session names that
// session's list, whether it was resolved now or is the old session's.
TEST_F(ResolveTest, ListsOfValuesAreTheSessionsTheyAreHandedOutIn) {
  AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results first = Resolve({&cart});
  ASSERT_NE(first[0][4]->list_of_values, nullptr);

  table->KESTREL_logout(false);
  ConnectAndLogin();
  SoaManager::GetAvailableSoaServices();
  AttrMappingPart chassis = Part("ds-K-1100-A-master", "rev-K-1100-A", &defs);
  ClearRequests();
  Results second = Resolve({&chassis});
  EXPECT_EQ(Sent("getAttachedPropDescs"), 0);
  auto* lov = dynamic_cast<ListOfValues*>(SoaManager::GetObjectManager()->FindObject(UString("lov-materials")));
  ASSERT_NE(lov, nullptr);
  EXPECT_EQ(second[0][4]->list_of_values, lov);
  const auto& calls = cadlink::testing::lov_cache_calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_THAT(calls.back().lov_tags, ElementsAre(lov->AskPdiTag()));

  // The host's tags of the first session still name its cached records.
  ClearRequests();
  Results again = Resolve({&cart});
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(again[0][4], first[0][4]);
  EXPECT_EQ(again[0][4]->list_of_values, lov);
}

// The reply's entries are found by their dataset; of two request entries
// with one dataset the later one takes both outputs.
TEST_F(ResolveTest, TwoPartsOfOneDatasetAnswerThroughTheLaterRequestEntry) {
  AttrMappingPart earlier = Part("ds-K-1000-B-master", "rev-K-1000-A", &defs);
  AttrMappingPart later = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  std::vector<ResolveAttrMappingsRequest> sent;
  EXPECT_CALL(cad, resolveAttrMappings(_)).WillOnce([&](const auto& requests) {
    sent = requests;
    return world.caddatamanagement.resolveAttrMappings(requests);
  });
  clear_log();
  Results results = Resolve({&earlier, &later});
  ASSERT_THAT(sent, SizeIs(2));
  EXPECT_EQ(sent[0].item_revision_uid, "rev-K-1000-A");
  EXPECT_EQ(sent[1].item_revision_uid, "rev-K-1000-B");
  // The later output replaced the earlier one under the later part's keys.
  ASSERT_NE(results[1][1]->source_object, nullptr);
  EXPECT_EQ(results[1][1]->source_object->getUid(), "rev-K-1000-B");
  EXPECT_EQ(Text(results[1][4]), "S355");
  for (std::size_t i : {0, 1, 4}) EXPECT_EQ(results[0][i]->value_type, 6) << i;
  EXPECT_EQ(Text(results[0][2]), "Kestrel Works");  // resolved locally
  EXPECT_THAT(log_text(),
              HasSubstr("WARNING, KESTREL_resolve_attr_mappings: attr title = DB_PART_DESC for dataset tag = " +
                        std::to_string(earlier.dataset_tag) +
                        " itemrev tag = " + std::to_string(earlier.item_revision_tag) + " failed to resolve\n"));
}

// A master model's or a knowledge-fusion part's membership asks for the
// revision's item; a dataset of another type leaves it unread.
TEST_F(ResolveTest, ADatasetOfAnotherTypeLeavesTheItemUnread) {
  using namespace Halden::Soa::Server::props;
  world.add_object("dstype-DirectModel", {"DatasetType", "POM_object"}, {str("datasettype_name", "DirectModel")});
  world.set_property("ds-K-1000-B-jt", ref("dataset_type", "dstype-DirectModel"));
  world.set_property("ds-K-1000-B-jt", refs("ref_list", {}));
  Definition d = Mapping("attrdef-jt-desc", 1, "DB_JT_DESC", "revision", "object_desc");
  d.cad_master = true;
  Definitions jt = OnlyMapping("DirectModel", d);
  AttrMappingPart part = Part("ds-K-1000-B-jt", "rev-K-1000-B", &jt);
  // Once the part's context is read, reading the item again would fail.
  EXPECT_CALL(cad, resolveAttrMappings(_)).WillOnce([&](const auto& requests) {
    Halden::Soa::Client::testing::set_unreadable_properties({"items_tag"});
    return world.caddatamanagement.resolveAttrMappings(requests);
  });
  Results results = Resolve({&part});
  Halden::Soa::Client::testing::set_unreadable_properties({});
  EXPECT_EQ(Text(results[0][0]), "Utility cart");
  EXPECT_FALSE(results[0][0]->modifiable);  // the revision is no member of such a part
}

TEST_F(ResolveTest, RejectedInputSendsNothing) {
  AttrMappingPart good = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  ClearRequests();
  AttrMappingPart no_dataset{NULL_TAG, good.item_revision_tag, &defs};
  EXPECT_EQ(table->KESTREL_resolve_attr_mappings({&good, &no_dataset}), nullptr);
  EXPECT_THAT(log_text(),
              HasSubstr("WARNING, KESTREL_resolve_attr_mappings: dataset tag is NULL_TAG in the = 1-th input part\n"));
  Definitions with_null = {defs[0], nullptr};
  AttrMappingPart null_definition{good.dataset_tag, good.item_revision_tag, &with_null};
  EXPECT_EQ(table->KESTREL_resolve_attr_mappings({&null_definition}), nullptr);
  EXPECT_THAT(log_text(), HasSubstr("attr mapping def is NULL in the = 1-th attr of the 0-th part\n"));
  EXPECT_THAT(
      [&] {
        table->KESTREL_resolve_attr_mappings({&good, nullptr});
      },
      RaisesFrom(940208, HasSubstr("KESTREL_resolve_attr_mappings"), "kestrel_attr_sync.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(table->KESTREL_resolve_attr_mappings({}), nullptr);

  AttrMappingPart no_definitions{good.dataset_tag, good.item_revision_tag, nullptr};
  Results results = Resolve({&no_definitions});
  EXPECT_THAT(results[0], IsEmpty());
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ResolveTest, ServerFaultsRaise) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  EXPECT_CALL(cad, resolveAttrMappings(_))
      .WillOnce([](const auto&) -> ResolveAttrMappingsReply { throw Halden::Soa::Client::NotLoadedException("gone"); })
      .WillOnce([&](const auto& requests) {
        auto reply = world.caddatamanagement.resolveAttrMappings(requests);
        reply.outputs[0].resolved[0].title = "DB_UNKNOWN";
        return reply;
      })
      .WillOnce([&](const auto& requests) {
        auto reply = world.caddatamanagement.resolveAttrMappings(requests);
        reply.outputs[0].dataset_uid = "ds-K-1000-A-master";
        reply.data = world.reply_with({"ds-K-1000-A-master"});
        return reply;
      });
  auto resolve = [&] { Resolve({&part}); };
  EXPECT_THAT(resolve, RaisesFrom(940223, "KRAL SOA: SOA not loaded exception: gone", "kestrel_attr_sync.cpp"));
  EXPECT_THAT(resolve, RaisesFrom(940209,
                                  "KESTREL_resolve_attr_mappings, resolved attr, title = DB_UNKNOWN, from SOA is not "
                                  "in input\n",
                                  "kestrel_attr_sync.cpp"));
  EXPECT_THAT(resolve, RaisesFrom(940209,
                                  "KESTREL_resolve_attr_mappings, wrong dataset, name = K-1000/A master model, "
                                  "returned from SOA attr resolution\n",
                                  "kestrel_attr_sync.cpp"));
}

// One property mapping of the sample's master-model context at a time.
class OneMappingTest : public AttrSyncTest {
 protected:
  OneMappingTest() {
    using namespace Halden::Soa::Server::props;
    world.set_property("rev-K-1000-B", read_only(str("revision_code", "B")));
    // Master forms that are no POM objects.
    world.add_object("attr-external", {"ExternalAttr"}, {str("value", "E")});
    world.set_property("rev-K-1300-A", refs("OSTRA_master_form_rev", {"attr-external"}));
    world.add_object("attr-ico", {"ICSRuntimeICOIdAttr"}, {str("value", "I")});
    world.set_property("rev-K-9001-A", refs("OSTRA_master_form_rev", {"attr-ico"}));
  }

  // The record of the mapping on part ("K-1000-B": its master model and
  // revision), as a new definition each time.
  ResolvedAttr* ResolveOne(int type, const char* title, const char* source, const char* property,
                           const std::function<void(Definition&)>& settings, const std::string& part,
                           bool write_access = true) {
    Definition d = Mapping("attrdef-case-" + std::to_string(++cases_), type, title, source, property);
    settings(d);
    Definitions one = OnlyMapping("TOVMASTER", d);
    AttrMappingPart p = Part("ds-" + part + "-master", "rev-" + part, &one);
    objmodel::testing::set_appdata_access(p.dataset_tag, write_access ? 2 : 0);
    return Resolve({&p})[0].front();
  }

 private:
  int cases_ = 0;
};

TEST_F(OneMappingTest, ModifiableFollowsTheDefinitionTheSourceAndItsPart) {
  struct Case {
    const char* name;
    int type;
    const char* source;
    const char* property;
    bool cad_master, write_once;
    const char* part;
    bool modifiable;
  };
  const Case cases[] = {
      {"read-only property", 1, "revision", "revision_code", true, false, "K-1000-B", false},
      {"CAD master on the revision", 1, "revision", "object_desc", true, false, "K-1000-B", true},
      {"neither CAD master nor write-once", 2, "revision", "object_desc", false, false, "K-1000-B", false},
      {"write-once on the revision", 2, "revision", "object_desc", false, true, "K-1000-B", true},
      {"an item is no member of a master model", 1, "item", "object_name", true, false, "K-1000-B", false},
      {"write-once on an object of another kind", 1, "master_form", "value", false, true, "K-1300-A", false},
      {"write-once on a classification attribute", 1, "master_form", "value", false, true, "K-9001-A", true},
      {"CAD master on an object of another kind", 2, "master_form", "value", true, false, "K-1300-A", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResolvedAttr* record = ResolveOne(
        c.type, "DB_CASE", c.source, c.property,
        [&](Definition& d) {
          d.cad_master = c.cad_master;
          d.write_once = c.write_once;
        },
        c.part);
    ASSERT_NE(record->source_object, nullptr);
    EXPECT_EQ(record->modifiable, c.modifiable);
  }
}

TEST_F(OneMappingTest, AnUnknownMappingTypeRaisesWithOrWithoutWriteAccess) {
  for (bool write_access : {true, false}) {
    SCOPED_TRACE(write_access);
    const auto cad_master = [](Definition& d) { d.cad_master = true; };
    EXPECT_THAT([&] { ResolveOne(5, "DB_ODD", "revision", "object_desc", cad_master, "K-1000-B", write_access); },
                RaisesFrom(940209, "Unknown mapping type 5 of attr title = DB_ODD in check_attr_modifiable",
                           "kestrel_attr_sync.cpp"));
  }
}

// The server names the mapping but no object holds its value.
TEST_F(OneMappingTest, AResolvedEntryWithoutASourceObjectHasNoValue) {
  struct Case {
    bool cad_master, write_once, flag_c;
    bool modifiable;
  };
  const Case cases[] = {
      {true, false, true, true}, {true, false, false, false}, {false, true, true, true}, {false, false, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cad_master << c.write_once << c.flag_c);
    const auto settings = [&](Definition& d) {
      d.cad_master = c.cad_master;
      d.write_once = c.write_once;
      d.description.flag_c = c.flag_c;
      d.freezable = true;
      d.ostra_master = true;
    };
    // Released, and without write access: even so not frozen.
    ResolvedAttr* r = ResolveOne(1, "DB_NOWHERE", "", "nowhere_prop", settings, "K-1000-A", false);
    EXPECT_EQ(r->title, "DB_NOWHERE");
    EXPECT_EQ(r->property_name, "nowhere_prop");
    EXPECT_EQ(r->source_object, nullptr);
    EXPECT_EQ(r->value_type, 6);
    EXPECT_EQ(r->text, nullptr);
    EXPECT_EQ(r->value, nullptr);
    EXPECT_EQ(r->count, 0);
    EXPECT_EQ(r->list, nullptr);
    EXPECT_EQ(r->display_text, "");
    EXPECT_FALSE(r->frozen);
    EXPECT_FALSE(r->master);
    EXPECT_FALSE(r->ostra_master);
    EXPECT_EQ(r->list_of_values, nullptr);
    EXPECT_EQ(r->modifiable, c.modifiable);
  }
}

struct SiteFlagCase {
  const char* name;
  std::vector<std::string> values;
  bool on;
};

class SiteFlagTest : public AttrSyncTest, public ::testing::WithParamInterface<SiteFlagCase> {};

// The item's master form belongs to a master model only with the flag on,
// and "NO" turns it on.
TEST_P(SiteFlagTest, TheInvertedSitePreferenceDecidesForTheItemsMasterForm) {
  world.set_preference("site", "OSTRA_TOV_allow_attrsync_master_with_item", GetParam().values);
  Definition d = Mapping("attrdef-item-material", 1, "DB_ITEM_MATERIAL", "item_form", "material");
  d.cad_master = true;
  Definitions defs = OnlyMapping("TOVMASTER", d);
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results results = Resolve({&part});
  EXPECT_EQ(Text(results[0][0]), "S235");
  EXPECT_EQ(results[0][0]->modifiable, GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Values, SiteFlagTest,
                         ::testing::Values(SiteFlagCase{"no", {"no"}, true}, SiteFlagCase{"NO", {"NO"}, true},
                                           SiteFlagCase{"yes", {"true"}, false}, SiteFlagCase{"none", {}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Membership reads the revision's item only where a test needs it: neither
// for the item's master form while the site flag is off, nor for a
// knowledge-fusion part whose source is the revision. Once the part's
// context is read, reading the item again would fail.
TEST_F(AttrSyncTest, MembershipReadsTheItemOnlyWhereATestNeedsIt) {
  const struct {
    const char* dataset_type;
    const char* source;
    const char* property;
    const char* dataset;
    const char* revision;
    bool modifiable;
  } cases[] = {
      {"TOVMASTER", "item_form", "material", "ds-K-1000-B-master", "rev-K-1000-B", false},
      {"DFA_KF", "revision", "object_desc", "ds-K-1120-A-kf", "rev-K-1120-A", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dataset_type);
    Definition d = Mapping(std::string("attrdef-member-") + c.dataset_type, 1, "DB_MEMBER", c.source, c.property);
    d.cad_master = true;
    Definitions defs = OnlyMapping(c.dataset_type, d);
    AttrMappingPart part = Part(c.dataset, c.revision, &defs);
    objmodel::testing::set_appdata_access(part.dataset_tag, 2);
    EXPECT_CALL(cad, resolveAttrMappings(_)).WillOnce([&](const auto& requests) {
      Halden::Soa::Client::testing::set_unreadable_properties({"items_tag"});
      return world.caddatamanagement.resolveAttrMappings(requests);
    });
    Results results = Resolve({&part});
    Halden::Soa::Client::testing::set_unreadable_properties({});
    ASSERT_NE(results[0][0]->source_object, nullptr);
    EXPECT_EQ(results[0][0]->modifiable, c.modifiable);
  }
}

// ---------------------------------------------------------------------------
// Slot 125

class WriteBackTest : public ResolveTest {
 protected:
  // The host holds the objects of the parts it writes.
  void Hold(std::initializer_list<const char*> uids) {
    for (const char* uid : uids) Tag(uid);
  }
  Orvane::PdmSoa::ModelObject* Host(const char* uid) const {
    return SoaManager::GetObjectManager()->FindObject(UString(uid));
  }
  // Resolves K-1000/B, then writes its description; desc is its record.
  void WriteCartDescription() {
    AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
    desc = Resolve({&cart})[0][1];
    Hold({"item-K-1000"});
    Definitions written = {defs[1]};
    const char* values[] = {"Cart, welded"};
    AttrValueUpdate update{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &written, values};
    ClearRequests();
    table->KESTREL_update_attr_values({&update});
  }
  ResolvedAttr* desc = nullptr;
};

TEST_F(WriteBackTest, EachPartSendsItsOwnPairsAndTheCachedRecordsAreReadAgainInPlace) {
  AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  AttrMappingPart wheel = Part("ds-K-1100-A-master", "rev-K-1100-A", &defs);
  Results before = Resolve({&cart, &wheel});
  ResolvedAttr* cart_desc = before[0][1];
  ResolvedAttr* cart_material = before[0][4];
  ResolvedAttr* wheel_desc = before[1][1];
  ASSERT_EQ(wheel_desc->value_type, 6);  // sent as null
  Hold({"item-K-1000", "item-K-1100"});
  std::vector<PartCreateRecord> sent;
  EXPECT_CALL(cad, createParts(_)).WillOnce([&](const auto& parts) {
    sent = parts;
    return world.caddatamanagement.createParts(parts);
  });
  std::vector<std::string> refreshed;
  EXPECT_CALL(datamanagement, refreshObjects(_)).WillOnce([&](const auto& uids) {
    refreshed = uids;
    return world.datamanagement.refreshObjects(uids);
  });
  Definitions cart_defs = {defs[1], defs[4]}, wheel_defs = {defs[1]};
  const char* cart_values[] = {"Cart, welded", "S235"};
  const char* wheel_values[] = {"Wheel"};
  AttrValueUpdate a{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "TOVMASTER", &cart_defs, cart_values};
  AttrValueUpdate b{"item-K-1100", "rev-K-1100-A", "ds-K-1100-A-master", "", &wheel_defs, wheel_values};
  ClearRequests();
  table->KESTREL_update_attr_values({&a, &b});

  EXPECT_THAT(Requests(), ElementsAre("createParts", "refreshObjects"));
  for (const auto& r : server.requests) EXPECT_EQ(r.policy, 2);
  const auto pair = [](const char* n, const char* v) { return FieldsAre(n, v); };
  const auto part = [](const char* item, const char* revision, auto dataset) {
    return FieldsAre("", FieldsAre(item, "", "", "", "", IsEmpty(), IsEmpty(), ""),
                     FieldsAre(revision, "", IsEmpty(), IsEmpty()), ElementsAre(dataset));
  };
  const auto dataset = [](const char* text, const char* uid, auto pairs) {
    return FieldsAre(text, uid, "", "", "", "", "", "", false, "", pairs, IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty());
  };
  EXPECT_THAT(sent,
              ElementsAre(part("item-K-1000", "rev-K-1000-B",
                               dataset("TOVMASTER", "ds-K-1000-B-master",
                                       ElementsAre(pair("DB_PART_DESC", "Cart, welded"), pair("DB_MATERIAL", "S235")))),
                          part("item-K-1100", "rev-K-1100-A",
                               dataset("", "ds-K-1100-A-master", ElementsAre(pair("DB_PART_DESC", "Wheel"))))));
  EXPECT_THAT(refreshed, ElementsAre("rev-K-1000-B", "form-K-1000-B", "rev-K-1100-A"));
  const auto& lists = SoaManager::GetObjectManager()->object_lists;
  EXPECT_THAT(lists, ElementsAre(ElementsAre(Host("ds-K-1000-B-master"), Host("rev-K-1000-B")),
                                 ElementsAre(Host("ds-K-1100-A-master"), Host("rev-K-1100-A"))));

  // The same records, holding what the server holds now; their flags stay.
  ClearRequests();
  Results after = Resolve({&cart, &wheel});
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(after[0][1], cart_desc);
  EXPECT_EQ(Text(cart_desc), "Cart, welded");
  EXPECT_STREQ(static_cast<const char*>(cart_desc->value), "Cart, welded");
  EXPECT_TRUE(cart_desc->modifiable);
  EXPECT_EQ(Text(cart_material), "S235");
  EXPECT_NE(cart_material->list_of_values, nullptr);
  EXPECT_EQ(after[1][1], wheel_desc);
  EXPECT_EQ(wheel_desc->value_type, 2);
  EXPECT_EQ(Text(wheel_desc), "Wheel");
  EXPECT_FALSE(wheel_desc->modifiable);  // not recomputed
}

TEST_F(WriteBackTest, WrittenValuesAreReadAgainByTheirTypes) {
  Definitions kf = Fetch("Item", "DFA_KF");
  AttrMappingPart part = Part("ds-K-1120-A-kf", "rev-K-1120-A", &kf);
  Results records = Resolve({&part});
  struct Case {
    std::size_t definition;
    const char* value;
    const char* text;
  };
  const Case cases[] = {
      {0, "C", "C"},       {1, "2025-01-02T03:04:05", "2025-01-02T03:04:05"},
      {2, "0.25", "0.25"}, {3, "2.25", "2.25000"},
      {4, "41", "41"},     {5, "T", "T"},
      {6, "-7", "-7"},
  };
  Definitions written;
  std::vector<const char*> values;
  for (const Case& c : cases) {
    written.push_back(kf[c.definition]);
    values.push_back(c.value);
  }
  Hold({"item-K-1120"});
  AttrValueUpdate update{"item-K-1120", "rev-K-1120-A", "ds-K-1120-A-kf", "", &written, values.data()};
  table->KESTREL_update_attr_values({&update});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Text(records[0][c.definition]), c.text);
  }
  EXPECT_EQ(*static_cast<const std::int32_t*>(records[0][4]->value), 41);
  EXPECT_EQ(*static_cast<const double*>(records[0][3]->value), 2.25);
  EXPECT_EQ(*static_cast<const unsigned char*>(records[0][5]->value), 1);
  EXPECT_EQ(static_cast<const date_s*>(records[0][1]->value)->year, 2025);
}

TEST_F(WriteBackTest, WithoutCachedSourceObjectsNothingIsRefreshed) {
  AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Definitions local = {defs[2], defs[3]};
  AttrMappingPart cart_local{cart.dataset_tag, cart.item_revision_tag, &local};
  Results constants = Resolve({&cart_local});
  Hold({"item-K-1000"});
  std::vector<PartCreateRecord> sent;
  ON_CALL(cad, createParts(_)).WillByDefault([&](const auto& parts) {
    sent = parts;
    return world.caddatamanagement.createParts(parts);
  });
  Definitions never = {defs[1]};  // written before it was ever resolved
  const char* one[] = {"Cart"};
  const char* two[] = {"Acme", "cm"};
  AttrValueUpdate unresolved{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &never, one};
  AttrValueUpdate local_only{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &local, two};
  ClearRequests();
  table->KESTREL_update_attr_values({&unresolved});
  table->KESTREL_update_attr_values({&local_only});
  EXPECT_THAT(Requests(), ElementsAre("createParts", "createParts"));
  EXPECT_EQ(Text(constants[0][0]), "Kestrel Works");  // nothing to read again

  // Parts without definitions contribute nothing (their UIDs are not looked
  // at); the request still goes, empty.
  Definitions none;
  AttrValueUpdate empty{"no-item", "no-revision", "no-dataset", "", &none, nullptr};
  AttrValueUpdate no_list{"no-item", "no-revision", "no-dataset", "", nullptr, nullptr};
  ClearRequests();
  table->KESTREL_update_attr_values({&empty, &no_list});
  EXPECT_THAT(Requests(), ElementsAre("createParts"));
  EXPECT_THAT(sent, IsEmpty());
  ClearRequests();
  table->KESTREL_update_attr_values({});
  EXPECT_THAT(server.requests, IsEmpty());
}

// The reply is not examined: a value the server refused shows in the re-read
// as the server still holds it, and its error reaches the host's listener.
TEST_F(WriteBackTest, ARefusedValueIsReadBackAsTheServerHoldsIt) {
  AttrMappingPart cart = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results records = Resolve({&cart});
  Hold({"item-K-1000"});
  Definitions written = {defs[0]};  // "item_id" may not be modified
  const char* values[] = {"K-9999"};
  AttrValueUpdate update{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &written, values};
  auto* manager = SoaManager::GetObjectManager();
  const std::size_t reports = manager->error_reports.size();
  ClearRequests();
  table->KESTREL_update_attr_values({&update});
  EXPECT_THAT(Requests(), ElementsAre("createParts", "refreshObjects"));
  EXPECT_EQ(Text(records[0][0]), "K-1000");
  EXPECT_EQ(manager->error_reports.size(), reports + 1);
}

TEST_F(WriteBackTest, TheRefreshBringsTheValueWhenTheWriteReplyCarriesNone) {
  world.set_policy("ItemRevision", {"object_desc"});
  EXPECT_CALL(cad, createParts(_)).WillOnce([&](const auto& parts) {
    CreatePartsReply reply = world.caddatamanagement.createParts(parts);
    reply.data.objects.clear();
    return reply;
  });
  WriteCartDescription();
  EXPECT_EQ(Text(desc), "Cart, welded");
}

TEST_F(WriteBackTest, AReReadThatFailsLeavesEveryRecordWithItsOldValues) {
  Definitions kf = Fetch("Item", "DFA_KF");
  AttrMappingPart part = Part("ds-K-1120-A-kf", "rev-K-1120-A", &kf);
  Results records = Resolve({&part});
  EXPECT_CALL(cad, createParts(_)).WillOnce([&](const auto& parts) {
    CreatePartsReply reply = world.caddatamanagement.createParts(parts);
    // A date the base library cannot read.
    for (auto& object : reply.data.objects)
      for (auto& p : object.properties)
        if (p.name == "kf_checked_on") p.dates = {Halden::Soa::Common::DateTime(2024, 13, 40, 0, 0, 0)};
    return reply;
  });
  Definitions written = {kf[4], kf[1]};  // the integer converts first
  const char* values[] = {"41", "2025-01-02"};
  Hold({"item-K-1120"});
  AttrValueUpdate update{"item-K-1120", "rev-K-1120-A", "ds-K-1120-A-kf", "", &written, values};
  EXPECT_THAT([&] { table->KESTREL_update_attr_values({&update}); },
              RaisesFrom(940209, "get_property_value_type_and_value: invalid format or Date in XML dateTime string ",
                         "kestrel_attr_sync.cpp"));
  EXPECT_EQ(Text(records[0][4]), "42");
  EXPECT_EQ(*static_cast<const std::int32_t*>(records[0][4]->value), 42);
  EXPECT_EQ(Text(records[0][1]), "2024-03-05T08:30:00");
  EXPECT_EQ(static_cast<const date_s*>(records[0][1]->value)->year, 2024);
}

TEST_F(WriteBackTest, BadInputRaisesBeforeAnyRequest) {
  Hold({"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master"});
  Definitions one = {defs[1]}, with_null = {defs[1], nullptr};
  const char* value[] = {"x"};
  const char* null_value[] = {nullptr};
  const char* two[] = {"x", "y"};
  const auto update = [](const char* item, const char* revision, const char* dataset, Definitions* definitions,
                         const char** values) {
    return AttrValueUpdate{item, revision, dataset, "", definitions, values};
  };
  AttrValueUpdate good = update("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", &one, value);
  const std::string not_found = "KRAL SOA: No SOA object found for Virel/Mgr object with UID ";
  struct Case {
    const char* name;
    AttrValueUpdate update;
    bool null_part;
    int code;
    std::string text;
  };
  const Case cases[] = {
      {"null part", good, true, 940208, "KRAL SOA: Null object in KESTREL_update_attr_values"},
      {"null values", update("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", &one, nullptr), false, 940208,
       "KRAL SOA: Null values in KESTREL_update_attr_values"},
      {"null value", update("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", &one, null_value), false, 940208,
       "KRAL SOA: Null value in KESTREL_update_attr_values"},
      {"null definition", update("item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", &with_null, two), false, 940208,
       "KRAL SOA: Null definition in KESTREL_update_attr_values"},
      {"unknown item", update("no-such-item", "rev-K-1000-B", "ds-K-1000-B-master", &one, value), false, 940205,
       not_found + "no-such-item\n"},
      {"format text", update("item-K-1000", "%s%n", "ds-K-1000-B-master", &one, value), false, 940205,
       not_found + "%s%n\n"},
      {"revision as dataset", update("item-K-1000", "rev-K-1000-B", "rev-K-1000-B", &one, value), false, 940205,
       not_found + "rev-K-1000-B\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AttrValueUpdate bad = c.update;
    ClearRequests();
    EXPECT_THAT(
        [&] {
          table->KESTREL_update_attr_values({&good, c.null_part ? nullptr : &bad});
        },
        RaisesFrom(c.code, c.text, "kestrel_attr_sync.cpp"));
    EXPECT_THAT(server.requests, IsEmpty());
  }
}

// ---------------------------------------------------------------------------
// Conversion of the framework's exceptions

#define KESTREL_FAILING(mock, operation, Reply)                                \
  [](AttrSyncConversion& t, const auto& fail) {                                \
    ON_CALL(t.mock, operation).WillByDefault([fail](const auto&...) -> Reply { \
      fail();                                                                  \
      return {};                                                               \
    });                                                                        \
  }

class AttrSyncConversion : public ConversionTest<AttrSyncConversion, WriteBackTest> {
 public:
  static constexpr const char* kFile = "kestrel_attr_sync.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"Definitions", KESTREL_FAILING(cad, getAttrMappingDefinitions, AttrMappingDefinitionsReply),
         [](AttrSyncConversion& t) { t.Fetch("Item", "TOVMASTER"); }},
        {"Resolve", KESTREL_FAILING(cad, resolveAttrMappings, ResolveAttrMappingsReply),
         [](AttrSyncConversion& t) {
           AttrMappingPart part = t.Part("ds-K-1000-B-master", "rev-K-1000-B", &t.defs);
           t.Resolve({&part});
         }},
        // A failed write sends no refresh; neither failure changes a record.
        {"Write", KESTREL_FAILING(cad, createParts, CreatePartsReply),
         [](AttrSyncConversion& t) { t.WriteCartDescription(); },
         [](AttrSyncConversion& t) {
           EXPECT_THAT(t.Requests(), ElementsAre("createParts"));
           EXPECT_EQ(Text(t.desc), "Utility cart");
         }},
        {"Refresh", KESTREL_FAILING(datamanagement, refreshObjects, WireServiceData),
         [](AttrSyncConversion& t) { t.WriteCartDescription(); },
         [](AttrSyncConversion& t) {
           EXPECT_THAT(t.Requests(), ElementsAre("createParts", "refreshObjects"));
           EXPECT_EQ(Text(t.desc), "Utility cart");
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(AttrSyncConversion);

// ---------------------------------------------------------------------------
// Slots 126 and 127

TEST_F(ResolveTest, ClearingPartsResolvesThemAgainAndKeepsOldRecordsReadable) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  Results first = Resolve({&part});
  table->KESTREL_clear_attr_mapping_cache_for_parts({&part});
  ClearRequests();
  Results second = Resolve({&part});
  EXPECT_EQ(Sent("resolveAttrMappings"), 1);
  EXPECT_NE(first[0][1], second[0][1]);
  EXPECT_EQ(Text(first[0][1]), "Utility cart");  // retired, not freed
  EXPECT_EQ(Sent("getAttachedPropDescs"), 0);    // the descriptor is cached
  ASSERT_NE(first[0][4]->list_of_values, nullptr);
  EXPECT_EQ(second[0][4]->list_of_values, first[0][4]->list_of_values);
  EXPECT_THAT(cadlink::testing::lov_cache_calls(), SizeIs(2));

  AttrMappingPart untagged{NULL_TAG, part.item_revision_tag, &defs};
  clear_log();
  table->KESTREL_clear_attr_mapping_cache_for_parts({&untagged});
  EXPECT_THAT(log_text(), HasSubstr("WARNING, get_attr_mapping_for_virel_part: input datasetTag = 0"));
  EXPECT_THAT([&] { table->KESTREL_clear_attr_mapping_cache_for_parts({nullptr}); },
              RaisesFrom(940208, HasSubstr("KESTREL_clear_attr_mapping_cache_for_parts"), "kestrel_attr_sync.cpp"));
}

TEST_F(ResolveTest, ClearingTheCacheReleasesEveryRecordAndKeepsTheHostsListsOfValues) {
  AttrMappingPart part = Part("ds-K-1000-B-master", "rev-K-1000-B", &defs);
  const long before = corerun::testing::sm_live_blocks();
  ListOfValues* lov = nullptr;
  {
    Results first = Resolve({&part});
    lov = first[0][4]->list_of_values;
    table->KESTREL_clear_attr_mapping_cache_for_parts({&part});
    Results second = Resolve({&part});  // the first records are retired
    Results again = Resolve({&part});
  }
  EXPECT_GT(corerun::testing::sm_live_blocks(), before);
  table->KESTREL_clear_attr_mapping_cache();
  EXPECT_EQ(corerun::testing::sm_live_blocks(), before);
  EXPECT_EQ(SoaManager::GetObjectManager()->FindObject(UString("lov-materials")), lov);
  ClearRequests();
  Results fresh = Resolve({&part});
  EXPECT_EQ(Sent("resolveAttrMappings"), 1);
  EXPECT_EQ(Sent("getAttachedPropDescs"), 1);
}

}  // namespace
}  // namespace kestrel::test
