// Objects, properties by UID, preferences and related objects through the
// legacy table.
#include <memory>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "corerun/clock.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/DateTime.h"
#include "halden/soa/common/Exceptions.h"
#include "legacy_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Common::DateTime;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::VirelmgrModelObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::Invoke;
using ::testing::IsEmpty;
using ::testing::Throw;
namespace props = Halden::Soa::Server::props;

constexpr const char* kNoConnection = "SOA: No connection object - SOA unavailable or not initialized";

// An object of every kind of property; the policy carries all but "late_name".
class ObjectsTest : public LegacyTest {
 protected:
  ObjectsTest() {
    world.add_object(
        "probe-1", {"HX_Probe", "POM_object"},
        {props::str("name", "probe one"), props::integer("count", 7), props::real("weight", 2.5),
         props::logical("released", true), props::character("grade", 'B'),
         props::date("due", DateTime(2040, 3, 4, 5, 6, 7)), props::ref("owner", "user-engineer"),
         props::strs("tags", {"a", "b"}), props::ints("steps", {1, 2, 3}), props::reals("sizes", {0.5}),
         props::logicals("flags", {true, false}), props::chars("codes", {'x', 'y'}),
         props::dates("milestones", {DateTime(2040, 1, 2, 3, 4, 5), DateTime(9999, 12, 31, 23, 59, 59)}),
         props::refs("parts", {"rev-K-1000-A", "", "rev-K-1000-B"}), props::str("late_name", "loaded late"),
         props::null("missing", Halden::Soa::Common::ValueType::Int),
         props::null("missing_list", Halden::Soa::Common::ValueType::String, true)});
    world.set_policy("HX_Probe", {"name", "count", "weight", "released", "grade", "due", "owner", "tags", "steps",
                                  "sizes", "flags", "codes", "milestones", "parts", "missing", "missing_list"});
    world.add_user("engineer", "secret", "Engineering", "Designer");
  }

  void ConnectQuietly() {
    Connect();
    ClearRequests();
    clear_log();
  }

  // No entry of this build sets a property policy.
  void ExpectNoPolicy() {
    for (const auto& r : server.requests) EXPECT_EQ(r.policy, -1) << r.operation;
  }
};

TEST_F(ObjectsTest, GettersReadEveryKindOfPropertyWithOneLoadPerCall) {
  ConnectQuietly();
  EXPECT_EQ(table->KESTREL_get_object_property_string_by_uid("probe-1", "name"), "probe one");
  EXPECT_EQ(table->KESTREL_get_object_property_int_by_uid("probe-1", "count"), 7);
  EXPECT_DOUBLE_EQ(table->KESTREL_get_object_property_double_by_uid("probe-1", "weight"), 2.5);
  EXPECT_TRUE(table->KESTREL_get_object_property_logical_by_uid("probe-1", "released"));
  EXPECT_EQ(table->KESTREL_get_object_property_char_by_uid("probe-1", "grade"), 'B');
  EXPECT_THAT(table->KESTREL_get_object_property_string_array_by_uid("probe-1", "tags"), ElementsAre("a", "b"));
  EXPECT_THAT(table->KESTREL_get_object_property_int_array_by_uid("probe-1", "steps"), ElementsAre(1, 2, 3));
  EXPECT_THAT(table->KESTREL_get_object_property_double_array_by_uid("probe-1", "sizes"), ElementsAre(0.5));
  EXPECT_THAT(table->KESTREL_get_object_property_logical_array_by_uid("probe-1", "flags"), ElementsAre(true, false));
  EXPECT_THAT(table->KESTREL_get_object_property_char_array_by_uid("probe-1", "codes"), ElementsAre('x', 'y'));
  EXPECT_EQ(Requests(), std::vector<std::string>(10, "loadObjects"));
  ExpectNoPolicy();
  EXPECT_THAT(log_text(), IsEmpty());
}

// Dates go through the 64-bit time value in both word sizes.
TEST_F(ObjectsTest, DatesAfter2038SurviveTheTimeValue) {
  ConnectQuietly();
  const date_s due = table->KESTREL_get_object_property_date_by_uid("probe-1", "due");
  EXPECT_EQ(due.year, 2040);
  EXPECT_EQ(due.month, 2);  // counted from 0
  EXPECT_EQ(due.day, 4);
  EXPECT_EQ(due.hour, 5);
  std::unique_ptr<std::vector<date_s>> dates(
      table->KESTREL_get_object_property_date_array_by_uid("probe-1", "milestones"));
  ASSERT_EQ(dates->size(), 2U);
  EXPECT_EQ((*dates)[0].year, 2040);
  EXPECT_EQ((*dates)[1].year, 9999);
  EXPECT_EQ((*dates)[1].month, 11);
  EXPECT_EQ((*dates)[1].second, 59);
}

TEST_F(ObjectsTest, ReferencesBecomeTheHostsObjectsAndNullElementsAreSkipped) {
  ConnectQuietly();
  VirelmgrModelObject* owner = table->KESTREL_get_object_property_object_by_uid("probe-1", "owner");
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner->GetUid(), "user-engineer");
  EXPECT_EQ(owner, cadlink::testing::registered_instance("user-engineer"));
  EXPECT_EQ(owner->GetObjectPtr()->getUid(), "user-engineer");

  std::unique_ptr<std::vector<VirelmgrModelObject*>> parts(
      table->KESTREL_get_object_property_object_array_by_uid("probe-1", "parts"));
  ASSERT_EQ(parts->size(), 2U);
  EXPECT_EQ((*parts)[0]->GetUid(), "rev-K-1000-A");
  EXPECT_EQ((*parts)[1]->GetUid(), "rev-K-1000-B");
  // Skipped quietly: no note of the null element.
  EXPECT_THAT(log_text(), IsEmpty());
}

TEST_F(ObjectsTest, PropertyOutsideThePolicyIsLoadedAloneThenWarned) {
  ConnectQuietly();
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("probe-1"), ElementsAre("late_name")))
      .WillOnce(Invoke([&](const std::vector<std::string>& uids, const std::vector<std::string>& names) {
        EXPECT_THAT(log_text(), IsEmpty()) << "the warning follows the load";
        return world.datamanagement.getProperties(uids, names);
      }));
  EXPECT_EQ(table->KESTREL_get_object_property_string_by_uid("probe-1", "late_name"), "loaded late");
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "getProperties"));
  ExpectNoPolicy();
  EXPECT_THAT(log_lines(), ElementsAre("SOA Warning: force-load of property late_name on object of type HX_Probe"));
}

TEST_F(ObjectsTest, GetterFailures) {
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int_by_uid("probe-1", "count"); },
              RaisesFrom(940209, kNoConnection, kLegacyFile));
  ConnectQuietly();
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int_by_uid("nowhere", "count"); },
              RaisesFrom(940209, "SOA: No SOA object found for input uid", kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_int_by_uid("probe-1", "missing"); },
              RaisesFrom(940209, "SOA: Null property on SOA object", kLegacyFile));
  EXPECT_THAT([&] { table->KESTREL_get_object_property_string_array_by_uid("probe-1", "missing_list"); },
              RaisesFrom(940209, "SOA: Null property on SOA object", kLegacyFile));
  // No text form: what the framework does with an int read as a string.
  EXPECT_THROW(table->KESTREL_get_object_property_string_by_uid("probe-1", "count"),
               Halden::Soa::Client::RuntimeException);
  // A failed forced load reaches the host as the framework threw it.
  EXPECT_CALL(datamanagement, getProperties)
      .WillOnce(Throw(Halden::Soa::Common::Exceptions::SoaException("server busy")));
  EXPECT_THROW(table->KESTREL_get_object_property_string_by_uid("probe-1", "late_name"),
               Halden::Soa::Common::Exceptions::SoaException);
}

TEST_F(ObjectsTest, ConstructObjectTakesTheUidAsItIs) {
  EXPECT_THAT([&] { table->constructObject("", "probe-1"); }, RaisesFrom(940209, kNoConnection, kLegacyFile));
  ConnectQuietly();
  EXPECT_THAT([&] { table->constructObject("", "probe-1"); },
              RaisesFrom(940208, "Null type not supported in constructObject", kLegacyFile));
  Halden::Soa::Client::ModelObject* object = table->constructObject("ItemRevision", "prefix rev-K-1000-B");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->getUid(), "prefix rev-K-1000-B");
  EXPECT_THAT(Requests(), IsEmpty());
  Halden::Soa::Client::testing::set_malformed_uids({"bad uid"});
  EXPECT_THROW(table->constructObject("ItemRevision", "bad uid"), Halden::Soa::Client::RuntimeException);
}

TEST_F(ObjectsTest, GetPropertiesSendsTheObjectsTheModelManagerHolds) {
  ConnectQuietly();
  table->constructObject("HX_Probe", "probe-1");
  VirelmgrModelObject probe("probe-1", nullptr);
  VirelmgrModelObject stranger("nowhere", nullptr);
  EXPECT_CALL(datamanagement, getProperties(ElementsAre("probe-1"), ElementsAre("late_name", "name")));
  table->KESTREL_get_properties({&probe}, {"late_name", "name"});
  ExpectNoPolicy();

  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_properties({&probe, &stranger}, {"name"});
      },
      RaisesFrom(940205, "No SOA object found for Virel/Mgr object with UID nowhere\n", kLegacyFile));
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_properties({&probe, nullptr}, {"name"});
      },
      RaisesFrom(940208, "Null object in KESTREL_get_properties", kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(ObjectsTest, PreferenceValuesStayHeldUntilTheNextSuccessfulCall) {
  world.set_preference("site", "HX_colours", {"red", "green"});
  world.set_preference("site", "HX_shapes", {"round"});
  EXPECT_THAT([&] { table->KESTREL_ask_preference_values("site", "HX_colours"); },
              RaisesFrom(940209, kNoConnection, kLegacyFile));
  ConnectQuietly();
  const auto& colours = table->KESTREL_ask_preference_values("site", "HX_colours");
  EXPECT_THAT(colours, ElementsAre("red", "green"));
  EXPECT_CALL(session, getPreferences("site", ElementsAre("HX_shapes")))
      .WillOnce(Throw(Halden::Soa::Client::RuntimeException("lost")));
  EXPECT_THROW(table->KESTREL_ask_preference_values("site", "HX_shapes"), Halden::Soa::Client::RuntimeException);
  EXPECT_THAT(colours, ElementsAre("red", "green"));
  ExpectNoPolicy();
}

TEST_F(ObjectsTest, RelatedObjectsOfTheFirstGroupAsHostPomObjects) {
  EXPECT_THAT([&] { table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"); },
              RaisesFrom(940209, kNoConnection, kLegacyFile));
  ConnectQuietly();
  EXPECT_THAT([&] { table->KESTREL_get_related_objects_cad("nowhere", "OSTRA_manifestation"); },
              RaisesFrom(940209, "SOA: No SOA object could be constructed for input uid nowhere", kLegacyFile));

  EXPECT_CALL(caddatamanagement, getRelatedObjects(ElementsAre("rev-K-1000-B"), _))
      .WillOnce(Invoke([&](const std::vector<std::string>& uids,
                           const std::vector<Halden::Soa::Server::RelationFilterRecord>& filters) {
        EXPECT_EQ(filters.size(), 1U);
        EXPECT_EQ(filters.front().relation, "OSTRA_manifestation");
        EXPECT_THAT(filters.front().types, IsEmpty());
        return world.caddatamanagement.getRelatedObjects(uids, filters);
      }));
  std::unique_ptr<std::vector<VirelmgrModelObject*>> related(
      table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"));
  ASSERT_EQ(related->size(), 1U);
  ASSERT_NE((*related)[0], nullptr);
  EXPECT_EQ((*related)[0]->GetUid(), "ds-K-1000-B-drawing");
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrPomObject*>((*related)[0]), nullptr);
  ExpectNoPolicy();
  ::testing::Mock::VerifyAndClearExpectations(&caddatamanagement);

  // The host's refusal stays in its place.
  cadlink::testing::refuse_instances({"ds-K-1000-B-drawing"});
  related.reset(table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"));
  EXPECT_THAT(*related, ElementsAre(nullptr));

  // Without an output, and with a first output without a group.
  EXPECT_CALL(caddatamanagement, getRelatedObjects)
      .WillOnce(Invoke([] { return Halden::Soa::Server::RelatedObjectsReply{}; }))
      .WillOnce(Invoke([] {
        Halden::Soa::Server::RelatedObjectsReply reply;
        reply.outputs.push_back({"rev-K-1000-B", {}});
        reply.outputs.push_back({"rev-K-1000-B", {{{"ds-K-1000-B-drawing"}, "OSTRA_manifestation"}}});
        return reply;
      }));
  related.reset(table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"));
  EXPECT_THAT(*related, IsEmpty());
  related.reset(table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"));
  EXPECT_THAT(*related, IsEmpty());
}

// A framework exception of any request reaches the host as it was thrown.
TEST_F(ObjectsTest, FrameworkExceptionsAreNotConverted) {
  ConnectQuietly();
  EXPECT_CALL(datamanagement, loadObjects).WillOnce(Throw(Halden::Soa::Client::RuntimeException("gone")));
  EXPECT_THROW(table->KESTREL_get_object_property_int_by_uid("probe-1", "count"),
               Halden::Soa::Client::RuntimeException);
  ::testing::Mock::VerifyAndClearExpectations(&datamanagement);
  EXPECT_CALL(caddatamanagement, getRelatedObjects)
      .WillOnce(Throw(Halden::Soa::Common::Exceptions::SoaException("refused")));
  EXPECT_THROW(table->KESTREL_get_related_objects_cad("rev-K-1000-B", "OSTRA_manifestation"),
               Halden::Soa::Common::Exceptions::SoaException);

  table->constructObject("HX_Probe", "probe-1");
  VirelmgrModelObject probe("probe-1", nullptr);
  EXPECT_CALL(datamanagement, getProperties)
      .WillOnce(Throw(Halden::Soa::Client::RuntimeException("lost")))
      .WillOnce(Throw(Halden::Soa::Client::NotLoadedException("not loaded")))
      .WillOnce(Throw(Halden::Soa::Common::Exceptions::SoaException("refused")));
  EXPECT_THROW(table->KESTREL_get_properties({&probe}, {"name"}), Halden::Soa::Client::RuntimeException);
  EXPECT_THROW(table->KESTREL_get_properties({&probe}, {"name"}), Halden::Soa::Client::NotLoadedException);
  EXPECT_THROW(table->KESTREL_get_properties({&probe}, {"name"}), Halden::Soa::Common::Exceptions::SoaException);
}

}  // namespace
}  // namespace kestrel::test
