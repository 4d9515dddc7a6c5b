// Server objects by UID, property reading with forced loading and the typed
// property getters.
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_object.h"
#include "objmodel/ModelObject.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::DateTime;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::ValueType;
using Halden::Soa::Server::WireProperty;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::InSequence;
using ::testing::Invoke;
using ::testing::IsEmpty;
using ::testing::IsNull;
using ::testing::NotNull;
using ::testing::Throw;
using namespace Halden::Soa::Server::props;

const std::vector<std::string> kItemTypes = {"Item", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kRevisionTypes = {"ItemRevision", "WorkspaceObject", "POM_object"};

std::string text_of(const date_s& d) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
  return text;
}

class ObjectTest : public SessionTest {
 protected:
  ObjectTest() {
    world.add_object("item-1", kItemTypes, {str("object_name", "Widget"), str("item_id", "W-100")});
    world.add_object("rev-1", kRevisionTypes,
                     {str("object_name", "Widget/A"),
                      str("item_revision_id", "A"),
                      integer("sequence_id", 3),
                      real("mass", 2.5),
                      logical("is_frozen", true),
                      character("grade", 'B'),
                      date("date_released", DateTime(2008, 3, 5, 10, 20, 30)),
                      date("effective_to", DateTime(2040, 6, 1, 12, 0, 0)),
                      date("effective_end", DateTime(9999, 12, 31, 23, 59, 59)),
                      date("date_nothing", DateTime::getNullDate()),
                      ref("items_tag", "item-1"),
                      ref("owning_group", ""),
                      strs("keywords", {"bolt", "M8"}),
                      ints("counts", {1, 2, 3}),
                      reals("lengths", {0.5, 1.25}),
                      logicals("flags", {true, false}),
                      chars("codes", {'x', 'y'}),
                      dates("milestones", {DateTime(2008, 3, 5, 10, 20, 30), DateTime(2040, 1, 2, 3, 4, 5),
                                           DateTime(9999, 12, 31, 23, 59, 59)}),
                      refs("related", {"item-1", "", "rev-1"}),
                      null("checked_out_by", ValueType::String),
                      null("null_int", ValueType::Int),
                      null("null_double", ValueType::Double),
                      null("null_logical", ValueType::Logical),
                      null("null_char", ValueType::Char),
                      null("null_date", ValueType::Date),
                      null("null_ref", ValueType::Reference),
                      null("null_strings", ValueType::String, true),
                      null("null_ints", ValueType::Int, true),
                      null("null_dates", ValueType::Date, true),
                      null("null_refs", ValueType::Reference, true),
                      str("release_status", "TCM Released"),
                      str("owner_note", "outside the policy")});
    world.add_object("type-1", {"ImanType"}, {str("type_name", "Item")});
    world.set_policy(
        "ItemRevision",
        {"item_revision_id", "sequence_id",   "mass",         "is_frozen",    "grade",        "date_released",
         "effective_to",     "effective_end", "date_nothing", "items_tag",    "owning_group", "keywords",
         "counts",           "lengths",       "flags",        "codes",        "milestones",   "related",
         "checked_out_by",   "null_int",      "null_double",  "null_logical", "null_char",    "null_date",
         "null_ref",         "null_strings",  "null_ints",    "null_dates",   "null_refs"});
    ConnectAndLogin();
    Reset();
  }
  ~ObjectTest() override {
    Halden::Soa::Client::testing::set_malformed_uids({});
    Halden::Soa::Client::testing::set_unreadable_properties({});
  }

  // A host object as the host gets one: through slot 6.
  HostObject* Load(const std::string& uid) {
    std::vector<HostObject*> out;
    table->KESTREL_load_objects({UString(uid)}, &out);
    EXPECT_EQ(out.size(), 1u);
    Reset();
    return out.empty() ? nullptr : out.front();
  }

  // Forget what the set-up sent and wrote.
  void Reset() {
    ClearRequests();
    clear_log();
  }

  // The Item as the reference of the revision brought it: without properties.
  HostObject* ItemByReference() {
    HostObject* revision = Load("rev-1");
    HostObject* item = table->KESTREL_get_object_property_object(revision, "items_tag", false);
    Reset();
    return item;
  }

  const Halden::Soa::Server::RequestRecord& Request(std::size_t i) const { return server.requests.at(i); }
};

// ---------------------------------------------------------------------------
// constructObject

struct KeyCase {
  const char* name;
  const char* uid;
  const char* key;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class ConstructKey : public ObjectTest, public ::testing::WithParamInterface<KeyCase> {};

// Only the text after the last blank is the key; no other white space counts.
TEST_P(ConstructKey, LoadsAndConstructsWithTheKey) {
  const KeyCase c = GetParam();
  EXPECT_CALL(datamanagement, loadObjects(ElementsAre(c.key)));
  ServerObject* object = table->constructObject("Item", c.uid);
  ASSERT_THAT(object, NotNull());
  EXPECT_EQ(object->getUid(), c.key);
  EXPECT_THAT(Requests(), ElementsAre("loadObjects"));
}

INSTANTIATE_TEST_SUITE_P(Keys, ConstructKey,
                         ::testing::Values(KeyCase{"whole", "item-1", "item-1"},
                                           KeyCase{"prefixed", "Item item-1", "item-1"},
                                           KeyCase{"several_blanks", "a b  item-1", "item-1"},
                                           KeyCase{"tab_is_no_blank", "Item\titem-1", "Item\titem-1"},
                                           KeyCase{"trailing_blank", "item-1 ", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ObjectTest, ConstructReturnsTheHeldObjectWithoutARequest) {
  HostObject* item = ItemByReference();
  EXPECT_EQ(table->constructObject("Item", "Item item-1"), item->GetObjectPtr());
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ObjectTest, ConstructLoadsTheFourHostClassesWithoutSettingAPolicy) {
  for (const UString* name : {&Orvane::PdmSoa::Folder::className, &Orvane::PdmSoa::Item::className,
                              &Orvane::PdmSoa::ItemRevision::className, &Orvane::PdmSoa::Dataset::className}) {
    Reset();
    SetActivePropertyPolicy(5);
    const std::string uid = "unknown-" + name->utf8();
    ServerObject* object = table->constructObject(name->utf8(), uid);
    ASSERT_EQ(server.requests.size(), 1u) << name->utf8();
    EXPECT_EQ(Request(0).operation, "loadObjects");
    EXPECT_EQ(Request(0).policy, 5);
    // Not on the server either: constructed as the type asked for.
    ASSERT_THAT(object, NotNull());
    EXPECT_EQ(object->getUid(), uid);
    EXPECT_EQ(object->getType()->getName(), name->utf8());
  }
}

TEST_F(ObjectTest, ConstructTakesTheLoadedObjectWithTheKey) {
  ServerObject* object = table->constructObject("ItemRevision", "ItemRevision rev-1");
  ASSERT_THAT(object, NotNull());
  EXPECT_EQ(object->getUid(), "rev-1");
  EXPECT_EQ(object->getType()->getName(), "ItemRevision");
  EXPECT_EQ(object->getProperty("item_revision_id")->getStringValue(), "A");
}

TEST_F(ObjectTest, ConstructTakesTheFirstLoadedObjectWithTheKeyOnly) {
  EXPECT_CALL(datamanagement, loadObjects(ElementsAre("rev-1"))).WillOnce(Invoke([&](const auto&) {
    auto reply = world.datamanagement.loadObjects({"item-1", "rev-1"});
    reply.plain = {"", "item-1", "rev-1"};
    return reply;
  }));
  ServerObject* object = table->constructObject("ItemRevision", "rev-1");
  ASSERT_THAT(object, NotNull());
  EXPECT_EQ(object->getUid(), "rev-1");
  EXPECT_EQ(object->getType()->getName(), "ItemRevision");
}

TEST_F(ObjectTest, ConstructOfAnotherTypeNeverLoads) {
  EXPECT_CALL(datamanagement, loadObjects(_)).Times(0);
  ServerObject* object = table->constructObject("RevisionRule", "rule-1");
  ASSERT_THAT(object, NotNull());
  EXPECT_EQ(object->getType()->getName(), "RevisionRule");
  // The class names are compared exactly.
  EXPECT_THAT(table->constructObject("item", "rev-1"), NotNull());
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ObjectTest, ConstructWithAnEmptyTypeRaisesBeforeAnything) {
  table->KESTREL_logout(false);
  EXPECT_THAT([&] { table->constructObject("", "item-1"); },
              Raises(940208, "Null type not supported in constructObject"));
}

TEST_F(ObjectTest, ConstructWithoutConnectionPassesTheModelManagerError) {
  table->KESTREL_logout(false);
  EXPECT_THAT([&] { table->constructObject("Item", "item-1"); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

TEST_F(ObjectTest, BadUidInLookupIsLoggedAndConstructionGoesOn) {
  Halden::Soa::Client::testing::set_malformed_uids({"bad!"});
  EXPECT_THAT([&] { table->constructObject("Folder", "Folder bad!"); },
              Raises(940205,
                     "KRAL SOA: SOA runtime exception constructing object, possibly UID value Folder bad! is bad: "
                     "Malformed UID bad!"));
  EXPECT_THAT(
      log_lines(),
      ElementsAre("KRAL SOA Warning: trying to Construct unloaded object with uid Folder bad! or the UID is bad"));
  EXPECT_THAT(Requests(), ElementsAre("loadObjects"));
}

TEST_F(ObjectTest, BadUidInLookupStillFindsTheLoadedObject) {
  Halden::Soa::Client::testing::set_malformed_uids({"rev-1"});
  ServerObject* object = table->constructObject("ItemRevision", "rev-1");
  ASSERT_THAT(object, NotNull());
  EXPECT_EQ(object->getUid(), "rev-1");
  EXPECT_THAT(log_text(), HasSubstr("trying to Construct unloaded object with uid rev-1"));
}

// The load request's own conversions pass the outer guard of constructObject
// unchanged.
class ObjectConversion : public ConversionTest<ObjectConversion, ObjectTest> {
 public:
  static constexpr const char* kFile = "kestrel_object.cpp";
  static std::vector<Operation> Operations() {
    return {{"ConstructLoad",
             [](ObjectConversion& t, const std::function<void()>& fail) {
               EXPECT_CALL(t.datamanagement, loadObjects(_))
                   .WillOnce([fail](const std::vector<std::string>&) -> Halden::Soa::Server::WireServiceData {
                     fail();
                     return {};
                   });
             },
             [](ObjectConversion& t) { t.table->constructObject("Dataset", "Dataset ds-9"); }}};
  }
};
KESTREL_CONVERSION_SUITE(ObjectConversion);

// Only a foreign exception becomes the guard's 940209.
TEST_F(ObjectTest, AForeignFailureOfTheLoadBecomesTheGuardsError) {
  EXPECT_CALL(datamanagement, loadObjects(_)).WillOnce([](const std::vector<std::string>&) {
    throw std::logic_error("odd");
    return Halden::Soa::Server::WireServiceData{};
  });
  EXPECT_THAT([&] { table->constructObject("Dataset", "Dataset ds-9"); },
              RaisesFrom(940209, "KRAL SOA: unknown error in constructObject for type = Dataset and uid = Dataset ds-9",
                         "kestrel_object.cpp"));
}

// ---------------------------------------------------------------------------
// KESTREL_load_objects and KESTREL_get_properties

TEST_F(ObjectTest, LoadObjectsAppendsOneEntryPerReturnedObject) {
  Reset();
  SetActivePropertyPolicy(5);
  EXPECT_CALL(datamanagement, loadObjects(ElementsAre("rev-1", "missing", "type-1")));
  std::vector<HostObject*> out = {nullptr};
  table->KESTREL_load_objects({UString("rev-1"), UString("missing"), UString("type-1")}, &out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_THAT(out[0], IsNull());  // kept: the list is not cleared
  ASSERT_THAT(dynamic_cast<Orvane::PdmSoa::ItemRevision*>(out[1]), NotNull());
  EXPECT_EQ(out[1]->GetUid(), UString("rev-1"));
  EXPECT_THAT(out[2], IsNull());  // no PomObject
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(Request(0).policy, 5);
}

TEST_F(ObjectTest, LoadObjectsAppendsANullEntryForANullObjectOfTheReply) {
  EXPECT_CALL(datamanagement, loadObjects(ElementsAre("rev-1", "item-1"))).WillOnce(Invoke([&](const auto& uids) {
    auto reply = world.datamanagement.loadObjects(uids);
    reply.plain = {"rev-1", "", "item-1"};
    return reply;
  }));
  std::vector<HostObject*> out;
  table->KESTREL_load_objects({UString("rev-1"), UString("item-1")}, &out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0]->GetUid(), UString("rev-1"));
  EXPECT_THAT(out[1], IsNull());
  ASSERT_THAT(dynamic_cast<Orvane::PdmSoa::Item*>(out[2]), NotNull());
  EXPECT_EQ(out[2]->GetUid(), UString("item-1"));
}

TEST_F(ObjectTest, LoadObjectsWithoutAnOutputListRaisesAndSendsNothing) {
  Reset();
  EXPECT_THAT([&] { table->KESTREL_load_objects({UString("rev-1")}, nullptr); },
              Raises(940208, "KRAL SOA: Null output list in KESTREL_load_objects"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ObjectTest, GetPropertiesLoadsTheNamesForTheGetters) {
  HostObject* revision = Load("rev-1");
  HostObject* item = ItemByReference();
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("rev-1", "item-1"), ElementsAre("owner_note", "item_id")));
  table->KESTREL_get_properties({revision, item}, {"owner_note", "item_id"});
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(Request(0).policy, 2);
  EXPECT_EQ(table->KESTREL_get_object_property_string(revision, "owner_note", false), "outside the policy");
  EXPECT_EQ(table->KESTREL_get_object_property_string(item, "item_id", false), "W-100");
  EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(ObjectTest, GetPropertiesOfAnObjectUnknownToTheModelManagerSendsNothing) {
  HostObject* revision = Load("rev-1");
  ServerObject stray("ghost", nullptr);
  HostObject unknown(&stray);
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_properties({revision, &unknown}, {"owner_note"});
      },
      Raises(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID ghost\n"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ObjectTest, GetPropertiesWithANullObjectRaisesAndSendsNothing) {
  HostObject* revision = Load("rev-1");
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_properties({revision, nullptr}, {"owner_note"});
      },
      Raises(940208, "KRAL SOA: Null object in KESTREL_get_properties"));
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ObjectTest, GetPropertiesConvertsAFailedRequest) {
  HostObject* revision = Load("rev-1");
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(RuntimeException("down")));
  EXPECT_THAT([&] { table->KESTREL_get_properties({revision}, {"owner_note"}); },
              Raises(940222, "KRAL SOA: SOA runtime exception: down"));
}

// ---------------------------------------------------------------------------
// Forced loading

TEST_F(ObjectTest, PolicyPropertyIsReadWithoutRequestOrWarning) {
  HostObject* revision = Load("rev-1");
  EXPECT_EQ(table->KESTREL_get_object_property_string(revision, "item_revision_id", true), "A");
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(log_text(), "");
  EXPECT_FALSE(revision->standard_properties_loaded);
}

TEST_F(ObjectTest, FirstForcedReadLoadsTheStandardProperties) {
  HostObject* item = ItemByReference();
  const std::vector<std::string>* names = nullptr;
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("item-1"), IsEmpty())).WillOnce(Invoke([&](auto& u, auto& n) {
    EXPECT_EQ(log_text(), "");  // the warning follows the load
    names = &n;
    return world.datamanagement.getProperties(u, n);
  }));
  EXPECT_EQ(table->KESTREL_get_object_property_string(item, "object_name", true), "Widget");
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(Request(0).policy, 2);
  EXPECT_TRUE(item->standard_properties_loaded);
  EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA Warning: force-loaded standard properties (asked for property "
                                       "object_name) on object of type Item"));
  // The empty name list is the one the string list getter hands out.
  EXPECT_EQ(names, &table->KESTREL_get_object_property_string_array(Load("rev-1"), "null_strings", false));
}

TEST_F(ObjectTest, FirstForcedReadOutsideTheStandardPropertiesLoadsTheNameToo) {
  HostObject* revision = Load("rev-1");
  {
    InSequence order;
    EXPECT_CALL(datamanagement, getProperties(ElementsAre("rev-1"), IsEmpty()));
    EXPECT_CALL(datamanagement, getProperties(ElementsAre("rev-1"), ElementsAre("owner_note")));
  }
  EXPECT_EQ(table->KESTREL_get_object_property_string(revision, "owner_note", true), "outside the policy");
  EXPECT_TRUE(revision->standard_properties_loaded);
  ASSERT_EQ(server.requests.size(), 2u);
  EXPECT_EQ(Request(0).policy, 2);
  EXPECT_EQ(Request(1).policy, 2);
  EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA Warning: force-load of non-policy property owner_note on object of "
                                       "type ItemRevision"));
}

TEST_F(ObjectTest, LaterForcedReadsLoadTheNameAlone) {
  HostObject* item = ItemByReference();
  table->KESTREL_get_object_property_string(item, "object_name", true);
  Reset();
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("item-1"), ElementsAre("item_id")));
  EXPECT_EQ(table->KESTREL_get_object_property_string(item, "item_id", true), "W-100");
  EXPECT_EQ(server.requests.size(), 1u);
  EXPECT_THAT(log_lines(),
              ElementsAre("KRAL SOA Warning: force-load of non-policy property item_id on object of type Item"));
}

TEST_F(ObjectTest, UnforcedReadOfAMissingPropertyRaisesAndSendsNothing) {
  HostObject* revision = Load("rev-1");
  for (const bool debug : {false, true}) {
    Reset();
    MACH__checking_level = debug ? 1 : 0;
    corerun::testing::set_debug_flag("TOVMGR_debug_soa", debug);
    EXPECT_THAT([&] { table->KESTREL_get_object_property_string(revision, "owner_note", false); },
                Raises(940223, "KRAL SOA: Property owner_note not loaded on object of type ItemRevision"));
    EXPECT_THAT(server.requests, IsEmpty());
    EXPECT_FALSE(revision->standard_properties_loaded);
    if (debug)
      EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA debug - caller asked not to force load property owner_note"));
    else
      EXPECT_EQ(log_text(), "");
  }
}

TEST_F(ObjectTest, PropertyStillMissingAfterTheLoadsRaisesAndKeepsTheFlag) {
  HostObject* revision = Load("rev-1");
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int(revision, "no_such", true); },
              Raises(940223, "KRAL SOA: SOA not loaded exception: Property no_such is not loaded on object rev-1"));
  EXPECT_THAT(Requests(), ElementsAre("getProperties", "getProperties"));
  EXPECT_TRUE(revision->standard_properties_loaded);
  EXPECT_EQ(log_text(), "");
}

TEST_F(ObjectTest, FailedStandardLoadLeavesTheFlagClear) {
  HostObject* revision = Load("rev-1");
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(SoaException("refused")));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_string(revision, "owner_note", true); },
              Raises(940222, "KRAL SOA: SOA exception: refused"));
  EXPECT_FALSE(revision->standard_properties_loaded);
}

TEST_F(ObjectTest, FirstReadFailingOtherwiseRaisesAndSendsNothing) {
  HostObject* revision = Load("rev-1");
  Halden::Soa::Client::testing::set_unreadable_properties({"grade"});
  EXPECT_THAT([&] { table->KESTREL_get_object_property_char(revision, "grade", true); },
              Raises(940209, "KRAL SOA: Error getting property grade on object of type ItemRevision"));
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_FALSE(revision->standard_properties_loaded);
  EXPECT_EQ(log_text(), "");
}

// The routines that read without the host object's guard let it pass as it is.
TEST_F(ObjectTest, FirstReadFailingOtherwisePassesThroughTheUnguardedReaders) {
  HostObject* revision = Load("rev-1");
  Halden::Soa::Client::testing::set_unreadable_properties({"grade"});
  EXPECT_THROW(kestrel::get_property_force_load(revision->GetObjectPtr(), "grade"), RuntimeException);
  std::map<UString, UString> texts;
  EXPECT_THROW(table->KESTREL_ask_object_property_texts(revision, &texts), RuntimeException);
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(log_text(), "");
}

TEST_F(ObjectTest, ServerPropertyForceLoadWarnsBeforeItsOneRequest) {
  HostObject* revision = Load("rev-1");
  ServerObject* object = revision->GetObjectPtr();
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("rev-1"), ElementsAre("owner_note")))
      .WillOnce(Invoke([&](auto& u, auto& n) {
        EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA Warning: force-load of non-policy property owner_note on "
                                             "object of type ItemRevision"));
        return world.datamanagement.getProperties(u, n);
      }));
  Halden::Soa::Client::Property* property = kestrel::get_property_force_load(object, "owner_note");
  ASSERT_THAT(property, NotNull());
  EXPECT_EQ(property->getStringValue(), "outside the policy");
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(Request(0).policy, 2);
  EXPECT_FALSE(revision->standard_properties_loaded);

  // Loaded now: read without a request.
  EXPECT_EQ(kestrel::get_property_force_load(object, "owner_note"), property);
  EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(ObjectTest, ServerPropertyStillMissingRaisesNotLoaded) {
  ServerObject* object = Load("rev-1")->GetObjectPtr();
  EXPECT_THAT([&] { kestrel::get_property_force_load(object, "no_such"); },
              Raises(940223, "KRAL SOA: SOA not loaded exception: Property no_such is not loaded on object rev-1"));
  EXPECT_THAT(Requests(), ElementsAre("getProperties"));
}

// ---------------------------------------------------------------------------
// Typed getters

struct GetterCase {
  const char* name;
  std::function<std::string(const KESTREL_interface_s*, HostObject*)> read;
  std::string expected;
};
void PrintTo(const GetterCase& c, std::ostream* os) { *os << c.name; }

template <class T>
std::string join(const std::vector<T>& values) {
  std::ostringstream out;
  for (std::size_t i = 0; i < values.size(); ++i) out << (i ? "," : "") << values[i];
  return out.str();
}

std::string join_dates(const std::vector<date_s>* dates) {
  if (!dates) return "null";
  std::string text;
  for (const auto& d : *dates) text += (text.empty() ? "" : ",") + text_of(d);
  delete dates;
  return text;
}

std::string join_objects(const std::vector<HostObject*>* objects) {
  if (!objects) return "null";
  std::string text;
  for (auto* o : *objects) text += (text.empty() ? "" : ",") + o->GetUid().utf8();
  delete objects;
  return text;
}

using Tbl = const KESTREL_interface_s*;
using Obj = HostObject*;

const GetterCase kGetterCases[] = {
    {"string", [](Tbl t, Obj o) { return t->KESTREL_get_object_property_string(o, "item_revision_id", false); }, "A"},
    {"string_of_int", [](Tbl t, Obj o) { return t->KESTREL_get_object_property_string(o, "sequence_id", false); }, "3"},
    {"string_of_list", [](Tbl t, Obj o) { return t->KESTREL_get_object_property_string(o, "keywords", false); },
     "bolt,M8"},
    {"string_null", [](Tbl t, Obj o) { return t->KESTREL_get_object_property_string(o, "checked_out_by", false); }, ""},
    {"int", [](Tbl t, Obj o) { return std::to_string(t->KESTREL_get_object_property_int(o, "sequence_id", false)); },
     "3"},
    {"double", [](Tbl t, Obj o) { return std::to_string(t->KESTREL_get_object_property_double(o, "mass", false)); },
     "2.500000"},
    {"logical",
     [](Tbl t, Obj o) { return std::to_string(t->KESTREL_get_object_property_logical(o, "is_frozen", false)); }, "1"},
    {"char", [](Tbl t, Obj o) { return std::string(1, t->KESTREL_get_object_property_char(o, "grade", false)); }, "B"},
    {"date_fields",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "date_released", false, false)); },
     "2008/02/05 10:20:30"},
    {"date_time",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "date_released", false, true)); },
     "2008/02/05 10:20:30"},
    {"date_2040_fields",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "effective_to", false, false)); },
     "2040/05/01 12:00:00"},
    {"date_2040_time",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "effective_to", false, true)); },
     "2040/05/01 12:00:00"},
    {"date_9999_time",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "effective_end", false, true)); },
     "9999/11/31 23:59:59"},
    {"date_null",
     [](Tbl t, Obj o) { return text_of(t->KESTREL_get_object_property_date(o, "null_date", false, true)); },
     "0000/00/00 00:00:00"},
    {"object",
     [](Tbl t, Obj o) { return t->KESTREL_get_object_property_object(o, "items_tag", false)->GetUid().utf8(); },
     "item-1"},
    {"object_reference_null",
     [](Tbl t, Obj o) {
       return std::to_string(t->KESTREL_get_object_property_object(o, "owning_group", false) == nullptr);
     },
     "1"},
    {"object_null",
     [](Tbl t, Obj o) {
       return std::to_string(t->KESTREL_get_object_property_object(o, "null_ref", false) == nullptr);
     },
     "1"},
    {"string_array",
     [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_string_array(o, "keywords", false)); }, "bolt,M8"},
    {"string_array_null",
     [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_string_array(o, "null_strings", false)); }, ""},
    {"int_array", [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_int_array(o, "counts", false)); },
     "1,2,3"},
    {"int_array_null",
     [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_int_array(o, "null_ints", false)); }, ""},
    {"double_array",
     [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_double_array(o, "lengths", false)); }, "0.5,1.25"},
    {"logical_array",
     [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_logical_array(o, "flags", false)); }, "1,0"},
    {"char_array", [](Tbl t, Obj o) { return join(t->KESTREL_get_object_property_char_array(o, "codes", false)); },
     "x,y"},
    {"date_array",
     [](Tbl t, Obj o) { return join_dates(t->KESTREL_get_object_property_date_array(o, "milestones", false)); },
     "2008/02/05 10:20:30,2040/00/02 03:04:05,9999/11/31 23:59:59"},
    {"date_array_null",
     [](Tbl t, Obj o) { return join_dates(t->KESTREL_get_object_property_date_array(o, "null_dates", false)); },
     "null"},
    {"object_array",
     [](Tbl t, Obj o) { return join_objects(t->KESTREL_get_object_property_object_array(o, "related", false)); },
     "item-1,rev-1"},
    {"object_array_null",
     [](Tbl t, Obj o) { return join_objects(t->KESTREL_get_object_property_object_array(o, "null_refs", false)); },
     "null"},
};

class Getter : public ObjectTest, public ::testing::WithParamInterface<GetterCase> {};

TEST_P(Getter, ReturnsThePropertyValue) {
  HostObject* revision = Load("rev-1");
  EXPECT_EQ(GetParam().read(table, revision), GetParam().expected);
  EXPECT_THAT(server.requests, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Getters, Getter, ::testing::ValuesIn(kGetterCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct NullValueCase {
  const char* name;
  std::function<void(const KESTREL_interface_s*, HostObject*)> read;
  const char* text;
};
void PrintTo(const NullValueCase& c, std::ostream* os) { *os << c.name; }

class NullValueGetter : public ObjectTest, public ::testing::WithParamInterface<NullValueCase> {};

TEST_P(NullValueGetter, Raises) {
  HostObject* revision = Load("rev-1");
  EXPECT_THAT([&] { GetParam().read(table, revision); }, Raises(940209, GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Getters, NullValueGetter,
    ::testing::Values(
        NullValueCase{"int", [](Tbl t, Obj o) { t->KESTREL_get_object_property_int(o, "null_int", false); },
                      "KRAL SOA: Null int property on SOA object"},
        NullValueCase{"double", [](Tbl t, Obj o) { t->KESTREL_get_object_property_double(o, "null_double", false); },
                      "KRAL SOA: Null double property on SOA object"},
        NullValueCase{"logical", [](Tbl t, Obj o) { t->KESTREL_get_object_property_logical(o, "null_logical", false); },
                      "KRAL SOA: Null boolean property on SOA object"},
        NullValueCase{"char", [](Tbl t, Obj o) { t->KESTREL_get_object_property_char(o, "null_char", false); },
                      "KRAL SOA: Null char property on SOA object"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ObjectTest, StringGetterReturnsThePropertysOwnString) {
  HostObject* revision = Load("rev-1");
  const std::string& text = table->KESTREL_get_object_property_string(revision, "item_revision_id", false);
  EXPECT_EQ(&text, &revision->GetObjectPtr()->getProperty("item_revision_id")->getStringValue());
}

TEST_F(ObjectTest, StringGetterScratchTextChangesUnderAnEarlierReference) {
  HostObject* revision = Load("rev-1");
  const std::string& first = table->KESTREL_get_object_property_string(revision, "sequence_id", false);
  EXPECT_EQ(first, "3");
  const std::string& second = table->KESTREL_get_object_property_string(revision, "mass", false);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(first, "2.5");
}

TEST_F(ObjectTest, EmptyResultsAreTheSameStaticObjectsEveryTime) {
  HostObject* revision = Load("rev-1");
  const std::string& a = table->KESTREL_get_object_property_string(revision, "checked_out_by", false);
  EXPECT_EQ(&a, &table->KESTREL_get_object_property_string(revision, "checked_out_by", false));
  EXPECT_NE(&a, &table->KESTREL_get_object_property_string(revision, "sequence_id", false));  // not the scratch
  const auto& strings = table->KESTREL_get_object_property_string_array(revision, "null_strings", false);
  EXPECT_EQ(&strings, &table->KESTREL_get_object_property_string_array(revision, "null_strings", false));
  const auto& ints = table->KESTREL_get_object_property_int_array(revision, "null_ints", false);
  EXPECT_EQ(&ints, &table->KESTREL_get_object_property_int_array(revision, "null_ints", false));
  const auto& own = table->KESTREL_get_object_property_string_array(revision, "keywords", false);
  EXPECT_EQ(&own, &revision->GetObjectPtr()->getProperty("keywords")->getStringArrayValue());
}

TEST_F(ObjectTest, StringGetterConvertsARuntimeException) {
  WireProperty valueless;
  valueless.name = "empty_text";  // a single string that carries no value
  world.set_property("rev-1", valueless);
  HostObject* revision = Load("rev-1");
  EXPECT_THAT([&] { table->KESTREL_get_object_property_string(revision, "empty_text", true); },
              Raises(940207,
                     "SOA runtime exception KESTREL_get_object_property_string (empty_text): property "
                     "empty_text holds no value"));
}

// Every getter converts the framework's runtime exception for a value of
// another type as the string getter does, naming itself.
struct MismatchCase {
  const char* entry;
  std::function<void(const KESTREL_interface_s*, HostObject*)> read;
};
void PrintTo(const MismatchCase& c, std::ostream* os) { *os << c.entry; }

class MismatchedGetter : public ObjectTest, public ::testing::WithParamInterface<MismatchCase> {};

TEST_P(MismatchedGetter, RaisesTheConvertedError) {
  HostObject* revision = Load("rev-1");
  EXPECT_THAT([&] { GetParam().read(table, revision); },
              RaisesFrom(940207,
                         std::string("SOA runtime exception ") + GetParam().entry +
                             " (item_revision_id): property item_revision_id is of another value type",
                         "kestrel_object.cpp"));
}

INSTANTIATE_TEST_SUITE_P(
    Getters, MismatchedGetter,
    ::testing::Values(
        MismatchCase{"KESTREL_get_object_property_int",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_int(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_double",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_double(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_logical",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_logical(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_char",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_char(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_date",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_date(o, "item_revision_id", false, true); }},
        MismatchCase{"KESTREL_get_object_property_object",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_object(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_int_array",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_int_array(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_double_array",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_double_array(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_logical_array",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_logical_array(o, "item_revision_id", false); }},
        MismatchCase{"KESTREL_get_object_property_char_array",
                     [](Tbl t, Obj o) { t->KESTREL_get_object_property_char_array(o, "item_revision_id", false); }},
        MismatchCase{
            "KESTREL_get_object_property_date_array",
            [](Tbl t, Obj o) { delete t->KESTREL_get_object_property_date_array(o, "item_revision_id", false); }},
        MismatchCase{
            "KESTREL_get_object_property_object_array",
            [](Tbl t, Obj o) { delete t->KESTREL_get_object_property_object_array(o, "item_revision_id", false); }}),
    [](const auto& info) { return std::string(info.param.entry).substr(29); });

TEST_F(ObjectTest, IntGetterOfAnEmptySingleValueRaisesTheConvertedError) {
  WireProperty valueless;
  valueless.name = "empty_count";
  valueless.type = ValueType::Int;
  world.set_property("rev-1", valueless);
  HostObject* revision = Load("rev-1");
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int(revision, "empty_count", true); },
              Raises(940207,
                     "SOA runtime exception KESTREL_get_object_property_int (empty_count): property "
                     "empty_count holds no value"));
}

TEST_F(ObjectTest, GettersForceLoadWhenAsked) {
  HostObject* revision = Load("rev-1");
  EXPECT_EQ(table->KESTREL_get_object_property_string_array(revision, "owner_note", true).size(), 1u);
  EXPECT_THAT(Requests(), ElementsAre("getProperties", "getProperties"));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int_array(revision, "counts_later", false); },
              Raises(940223, "KRAL SOA: Property counts_later not loaded on object of type ItemRevision"));
}

TEST_F(ObjectTest, ObjectArrayGetterSkipsANullElementWithANote) {
  HostObject* revision = Load("rev-1");
  std::unique_ptr<std::vector<HostObject*>> objects(
      table->KESTREL_get_object_property_object_array(revision, "related", false));
  ASSERT_THAT(objects, NotNull());
  ASSERT_EQ(objects->size(), 2u);
  EXPECT_THAT(dynamic_cast<Orvane::PdmSoa::Item*>((*objects)[0]), NotNull());
  EXPECT_EQ((*objects)[1], revision);
  EXPECT_THAT(log_lines(), ElementsAre("NULL ModelObject returned by Property::getModelObjectArrayValue"));
}

TEST_F(ObjectTest, IdentityGetters) {
  HostObject* revision = Load("rev-1");
  ServerObject* object = revision->GetObjectPtr();
  EXPECT_EQ(&table->KESTREL_ask_object_uid(revision), &object->getUid());
  EXPECT_EQ(table->KESTREL_ask_object_type_name(revision), "ItemRevision");
  EXPECT_EQ(table->KESTREL_ask_server_object_uid(object), "rev-1");
  EXPECT_EQ(table->KESTREL_ask_server_object_type_name(object), "ItemRevision");
}

TEST_F(ObjectTest, GettersWithoutAServerObjectRaise) {
  HostObject bare(nullptr);
  const char* text = "KRAL SOA: Error getting SOA object from KRAL object";
  EXPECT_THAT([&] { table->KESTREL_ask_object_uid(&bare); }, Raises(940209, text));
  EXPECT_THAT([&] { table->KESTREL_ask_object_type_name(&bare); }, Raises(940209, text));
  EXPECT_THAT([&] { table->KESTREL_ask_server_object_uid(nullptr); }, Raises(940209, text));
  EXPECT_THAT([&] { table->KESTREL_ask_server_object_type_name(nullptr); }, Raises(940209, text));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_string(&bare, "object_name", true); }, Raises(940209, text));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int(nullptr, "object_name", true); }, Raises(940209, text));
  EXPECT_THAT(server.requests, IsEmpty());
}

// ---------------------------------------------------------------------------
// Property texts

TEST_F(ObjectTest, PropertyTextsOfTheLoadedProperties) {
  HostObject* revision = Load("rev-1");
  const long blocks = corerun::testing::sm_live_blocks();
  std::map<UString, UString> texts = {{UString("mass"), UString("old")}, {UString("kept"), UString("mine")}};
  table->KESTREL_ask_object_property_texts(revision, &texts);
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_EQ(texts.at(UString("mass")).utf8(), "2.5");
  EXPECT_EQ(texts.at(UString("kept")).utf8(), "mine");
  EXPECT_EQ(texts.at(UString("item_revision_id")).utf8(), "A");
  EXPECT_EQ(texts.at(UString("keywords")).utf8(), "bolt,M8");
  EXPECT_EQ(texts.at(UString("date_released")).utf8(), "05-Mar-2008 10:20:30");
  EXPECT_EQ(texts.at(UString("effective_to")).utf8(), "01-Jun-2040 12:00:00");
  EXPECT_EQ(texts.at(UString("effective_end")).utf8(), "31-Dec-9999 23:59:59");
  EXPECT_EQ(texts.at(UString("date_nothing")).utf8(), "");
  EXPECT_EQ(texts.count(UString("owner_note")), 0u);      // not loaded
  EXPECT_EQ(texts.count(UString("checked_out_by")), 0u);  // sent as null
  EXPECT_EQ(texts.count(UString("null_date")), 0u);
  EXPECT_EQ(corerun::testing::sm_live_blocks(), blocks);
}

TEST_F(ObjectTest, PropertyTextsWithoutAServerObjectLeaveTheMapAlone) {
  HostObject bare(nullptr);
  std::map<UString, UString> texts = {{UString("kept"), UString("mine")}};
  table->KESTREL_ask_object_property_texts(&bare, &texts);
  EXPECT_EQ(texts.size(), 1u);
  EXPECT_THAT([&] { table->KESTREL_ask_object_property_texts(Load("rev-1"), nullptr); },
              Raises(940208, "KRAL SOA: Null output map in KESTREL_ask_object_property_texts"));
}

}  // namespace
}  // namespace kestrel::test
