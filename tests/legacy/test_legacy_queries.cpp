// Saved queries and saved search criteria through the legacy table.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <typeinfo>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "halden/server/mocks/MockSavedQueryStub.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/common/DateTime.h"
#include "halden/soa/common/Exceptions.h"
#include "legacy_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::DateTime;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::DescribeQueriesReply;
using Halden::Soa::Server::ExecuteQueryReply;
using Halden::Soa::Server::MockSavedQueryStub;
using Halden::Soa::Server::QueryField;
using Halden::Soa::Server::SavedQueriesReply;
using Halden::Soa::Server::SearchCriteriaReply;
using Halden::Soa::Server::WireObject;
using Halden::Soa::Server::WireProperty;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::VirelmgrListOfValues;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrQuery;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::NotNull;
using ::testing::SizeIs;
namespace props = Halden::Soa::Server::props;

constexpr const char* kNoConnection = "SOA: No connection object - SOA unavailable or not initialized";
const std::vector<std::string> kQueryChain = {"OstraQuery", "POM_application_object", "POM_object"};

template <class T>
std::vector<std::string> Uids(const std::vector<T*>& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(o ? o->GetUid() : "(null)");
  return uids;
}

// A describe reply whose first query has these fields, carrying these
// objects (lists of values).
std::function<DescribeQueriesReply(const std::vector<std::string>&)> Describing(std::vector<QueryField> fields,
                                                                                std::vector<WireObject> objects = {}) {
  return [=](const std::vector<std::string>& uids) {
    DescribeQueriesReply reply;
    reply.descriptions.resize(uids.size());
    if (!uids.empty()) reply.descriptions[0].fields = fields;
    reply.data.objects = objects;
    return reply;
  };
}

// A field named "Choice" with a list of values.
QueryField Choice(const std::string& lov_uid = "lov-1") { return {"attr", "Choice", "AND", "=", "", lov_uid, 2008}; }

WireObject Lov(const std::string& lov_class, int value_type, WireProperty values, const std::string& uid = "lov-1") {
  values.name = "lov_values";
  return WireObject{
      uid, {lov_class, "ListOfValues", "POM_object"}, {props::integer("lov_value_type", value_type), values}};
}

class LegacyQueryTest : public LegacyTest {
 protected:
  LegacyQueryTest() { world.add_user("engineer", "secret", "Engineering", "Designer"); }

  void ConnectQuietly() {
    Connect();
    ClearRequests();
    clear_log();
  }

  // No entry of this build sets a property policy.
  void ExpectNoPolicy() {
    for (const auto& r : server.requests) EXPECT_EQ(r.policy, -1) << r.operation;
  }

  // The sample world's queries as slot 5 gives them: "Item ID", "Item Name".
  std::vector<VirelmgrQuery*> SampleQueries() {
    std::unique_ptr<std::vector<VirelmgrQuery*>> queries(table->KESTREL_list_saved_queries());
    return *queries;
  }

  NiceMock<MockSavedQueryStub>& savedquery = test_server.savedquery;
};

// --- slot 5 -------------------------------------------------------------------

TEST_F(LegacyQueryTest, ListsTheServersQueriesAsTheHostsQueries) {
  ConnectQuietly();
  auto queries = SampleQueries();
  EXPECT_THAT(Uids(queries), ElementsAre("query-item-id", "query-item-name"));
  EXPECT_EQ(queries[0], cadlink::testing::registered_instance("query-item-id"));
  EXPECT_EQ(queries[0]->GetObjectPtr()->getUid(), "query-item-id");
  EXPECT_THAT(Requests(), ElementsAre("getSavedQueries"));
  ExpectNoPolicy();
}

TEST_F(LegacyQueryTest, ListTakesEveryEntryAsAQueryAndKeepsTheHostsRefusalsButNotNulls) {
  ConnectQuietly();
  cadlink::testing::refuse_instances({"q-refused"});
  EXPECT_CALL(savedquery, getSavedQueries()).WillOnce([] {
    SavedQueriesReply reply;
    reply.queries = {{"q-1", "One", ""}, {"", "Null", ""}, {"folder-1", "Not a query", ""}, {"q-refused", "", ""}};
    reply.data.objects = {WireObject{"q-1", kQueryChain, {}}, WireObject{"folder-1", {"Folder", "POM_object"}, {}},
                          WireObject{"q-refused", kQueryChain, {}}};
    return reply;
  });
  std::unique_ptr<std::vector<VirelmgrQuery*>> queries(table->KESTREL_list_saved_queries());
  // No class test: the folder on the server is a query to the host; the
  // refused query keeps its place as the host's null answer.
  EXPECT_THAT(Uids(*queries), ElementsAre("q-1", "folder-1", "(null)"));
}

TEST_F(LegacyQueryTest, NoSavedQueriesIsNotFound) {
  ConnectQuietly();
  EXPECT_CALL(savedquery, getSavedQueries()).WillOnce([] { return SavedQueriesReply{}; });
  EXPECT_THAT([&] { table->KESTREL_list_saved_queries(); },
              RaisesFrom(940205, "No queries returned from database", kLegacyFile));
}

// --- slot 6 -------------------------------------------------------------------

TEST_F(LegacyQueryTest, DescribesTheSampleQueriesWithTheirFieldsAndListsOfValues) {
  ConnectQuietly();
  auto queries = SampleQueries();
  ClearRequests();
  table->KESTREL_describe_saved_queries(queries);
  EXPECT_THAT(Requests(), ElementsAre("describeSavedQueries"));
  ExpectNoPolicy();

  const auto& id_fields = queries[0]->GetFieldDescriptions();
  ASSERT_THAT(id_fields, SizeIs(1));
  EXPECT_EQ(id_fields[0].type, virelmgrFieldString);
  EXPECT_EQ(id_fields[0].entry_name, "Item ID");
  EXPECT_EQ(id_fields[0].attribute_name, "item_id");
  EXPECT_EQ(id_fields[0].lov, nullptr);

  const auto& name_fields = queries[1]->GetFieldDescriptions();
  ASSERT_THAT(name_fields, SizeIs(2));
  VirelmgrListOfValues* lov = name_fields[1].lov;
  ASSERT_THAT(lov, NotNull());
  EXPECT_EQ(lov, cadlink::testing::registered_instance("lov-item-types"));
  EXPECT_EQ(lov->GetFlag(), 0U);
  EXPECT_EQ(lov->set_by, "SetStringValues");
  EXPECT_THAT(lov->string_values, ElementsAre("Item", "Design"));
}

TEST_F(LegacyQueryTest, FieldTextsReachTheHostInItsOrder) {
  ConnectQuietly();
  auto queries = SampleQueries();
  ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault(Describing({{"T1", "T2", "T3", "T4", "T5", "", 2016}}));
  table->KESTREL_describe_saved_queries({queries[0]});
  ASSERT_THAT(queries[0]->GetFieldDescriptions(), SizeIs(1));
  const auto& field = queries[0]->GetFieldDescriptions()[0];
  // (type, T2, T1, T5, T3, T4); 2016 is an external reference to the host.
  EXPECT_EQ(field.type, virelmgrFieldExternalReference);
  EXPECT_EQ(field.entry_name, "T2");
  EXPECT_EQ(field.attribute_name, "T1");
  EXPECT_EQ(field.value, "T5");
  EXPECT_EQ(field.logical_operation, "T3");
  EXPECT_EQ(field.math_operation, "T4");
}

TEST_F(LegacyQueryTest, RepliesPairWithTheQueriesSentOverTheShorterOfTheTwo) {
  ConnectQuietly();
  auto sample = SampleQueries();
  struct Case {
    const char* name;
    int entries;  // reply entries, each with one field; -1: the world's reply
    std::vector<std::size_t> fields;
  };
  const Case cases[] = {
      {"the world's reply", -1, {1, 0, 2}},
      {"more entries than queries sent", 4, {1, 0, 1}},
      {"fewer entries than queries sent", 1, {1, 0, 0}},
      {"no entries", 0, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Fresh host queries each time; the middle one names no server query.
    VirelmgrQuery first("query-item-id", sample[0]->GetObjectPtr());
    VirelmgrQuery unknown("query-unknown", nullptr);
    VirelmgrQuery last("query-item-name", sample[1]->GetObjectPtr());
    auto& expectation = EXPECT_CALL(savedquery, describeSavedQueries(ElementsAre("query-item-id", "query-item-name")));
    if (c.entries >= 0)
      expectation.WillOnce([&](const std::vector<std::string>&) {
        DescribeQueriesReply reply;
        reply.descriptions.resize(c.entries, {{{"a", "F", "AND", "=", "", "", 2008}}});
        return reply;
      });
    table->KESTREL_describe_saved_queries({&first, &unknown, &last});
    EXPECT_THAT(first.GetFieldDescriptions(), SizeIs(c.fields[0]));
    EXPECT_THAT(unknown.GetFieldDescriptions(), SizeIs(c.fields[1]));
    EXPECT_THAT(last.GetFieldDescriptions(), SizeIs(c.fields[2]));
  }
}

TEST_F(LegacyQueryTest, NullQueryInTheListIsBadInputBeforeAnyRequest) {
  ConnectQuietly();
  auto queries = SampleQueries();
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_describe_saved_queries({queries[0], nullptr});
      },
      RaisesFrom(940208, "Null query in KESTREL_describe_saved_queries", kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

struct LovCase {
  const char* lov_class;
  int value_type;
  WireProperty values;
  int expected_type;
  const char* setter;
  std::function<void(const VirelmgrListOfValues&)> check;
};

void PrintTo(const LovCase& c, std::ostream* os) { *os << c.lov_class; }

class LegacyLovTypeTest : public LegacyQueryTest, public ::testing::WithParamInterface<LovCase> {};

TEST_P(LegacyLovTypeTest, TheListsTypeDecidesFieldTypeAndSetter) {
  const LovCase& c = GetParam();
  ConnectQuietly();
  auto queries = SampleQueries();
  // The field's own attribute type (string) gives way to the list's.
  ON_CALL(savedquery, describeSavedQueries(_))
      .WillByDefault(Describing({Choice()}, {Lov(c.lov_class, c.value_type, c.values)}));
  table->KESTREL_describe_saved_queries({queries[0]});
  const auto& fields = queries[0]->GetFieldDescriptions();
  ASSERT_THAT(fields, SizeIs(1));
  EXPECT_EQ(fields[0].type, c.expected_type);
  ASSERT_THAT(fields[0].lov, NotNull());
  EXPECT_EQ(fields[0].lov->set_by, c.setter);
  c.check(*fields[0].lov);
  EXPECT_THAT(log_text(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LegacyLovTypeTest,
    ::testing::Values(
        LovCase{"ListOfValuesChar", 1, props::chars("", {'a', 'b'}), 2001, "SetCharValues",
                [](const VirelmgrListOfValues& l) { EXPECT_THAT(l.char_values, ElementsAre('a', 'b')); }},
        LovCase{"ListOfValuesDate", 2, props::dates("", {DateTime(2040, 3, 1, 10, 20, 30)}), 2002, "SetDateValues",
                [](const VirelmgrListOfValues& l) {
                  ASSERT_THAT(l.date_values, SizeIs(1));
                  EXPECT_EQ(l.date_values[0].year, 2040);
                  EXPECT_EQ(l.date_values[0].month, 2);  // counted from 0
                  EXPECT_EQ(l.date_values[0].second, 30);
                }},
        LovCase{"ListOfValuesDouble", 3, props::reals("", {1.5, 2.5}), 2003, "SetDoubleValues",
                [](const VirelmgrListOfValues& l) { EXPECT_THAT(l.double_values, ElementsAre(1.5, 2.5)); }},
        LovCase{"ListOfValuesInteger", 6, props::ints("", {3, 4}), 2006, "SetIntValues",
                [](const VirelmgrListOfValues& l) { EXPECT_THAT(l.int_values, ElementsAre(3, 4)); }},
        LovCase{"ListOfValuesString", 8, props::strs("", {"x", "y"}), 2008, "SetStringValues",
                [](const VirelmgrListOfValues& l) { EXPECT_THAT(l.string_values, ElementsAre("x", "y")); }},
        LovCase{"ListOfValuesTag", 10, props::refs("", {"folder-home", "", "rev-K-1000-A"}), 2010, "SetReferenceValues",
                [](const VirelmgrListOfValues& l) {
                  // The null reference names nothing and is left out.
                  EXPECT_THAT(Uids(l.reference_values), ElementsAre("folder-home", "rev-K-1000-A"));
                  EXPECT_EQ(l.reference_values[0], cadlink::testing::registered_instance("folder-home"));
                }}),
    [](const ::testing::TestParamInfo<LovCase>& info) { return std::string(info.param.lov_class); });

TEST_F(LegacyQueryTest, ValuesOutsideThePolicyAreLoadedAloneThenWarned) {
  world.set_policy("ListOfValues", {"lov_value_type"});
  ConnectQuietly();
  auto queries = SampleQueries();
  ClearRequests();
  table->KESTREL_describe_saved_queries({queries[1]});
  EXPECT_THAT(Requests(), ElementsAre("describeSavedQueries", "getProperties"));
  ExpectNoPolicy();
  EXPECT_THAT(queries[1]->GetFieldDescriptions().at(1).lov->string_values, ElementsAre("Item", "Design"));
  EXPECT_THAT(log_lines(),
              ElementsAre("SOA Warning: force-load of property lov_values on object of type ListOfValuesString"));
}

TEST_F(LegacyQueryTest, FieldFailuresRaiseFromTheTableAndEarlierFieldsStay) {
  ConnectQuietly();
  auto sample = SampleQueries();
  const QueryField first = {"a", "First", "AND", "=", "", "", 2008};
  struct Case {
    const char* name;
    std::vector<QueryField> fields;
    std::vector<WireObject> objects;
    std::vector<std::string> refused;
    int code;
    std::string text;
  };
  const Case cases[] = {
      {"unknown attribute type",
       {first, {"a", "Odd", "AND", "=", "", "", 2012}},
       {},
       {},
       940209,
       "Unknown data type 2012 received from SOA\n"},
      // Each its own UID: the framework keeps the class an object first had.
      {"no list of values on the server",
       {first, Choice("lov-folder")},
       {WireObject{"lov-folder", {"Folder", "POM_object"}, {}}},
       {},
       940205,
       "SOA: invalid LOV object for query field Choice\n"},
      {"a list of values the host refuses",
       {first, Choice("lov-refused")},
       {Lov("ListOfValuesString", 8, props::strs("", {"x"}), "lov-refused")},
       {"lov-refused"},
       940205,
       "SOA: invalid LOV object for query field Choice\n"},
      {"a list of values of another class than its type",
       {first, Choice("lov-mismatch")},
       {Lov("ListOfValuesString", 3, props::strs("", {"1"}), "lov-mismatch")},
       {},
       940205,
       "SOA: LOV type mismatch for query field Choice\n"},
      {"an unknown list-of-values type",
       {first, Choice("lov-unknown")},
       {Lov("ListOfValuesString", 12, props::strs("", {"x"}), "lov-unknown")},
       {},
       940209,
       "Unknown data type 12 received from SOA\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cadlink::testing::refuse_instances(c.refused);
    VirelmgrQuery query("query-item-id", sample[0]->GetObjectPtr());
    ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault(Describing(c.fields, c.objects));
    EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({&query}); }, RaisesFrom(c.code, c.text, kLegacyFile));
    ASSERT_THAT(query.GetFieldDescriptions(), SizeIs(1));
    EXPECT_EQ(query.GetFieldDescriptions()[0].entry_name, "First");
  }
}

// --- slot 7 -------------------------------------------------------------------

TEST_F(LegacyQueryTest, RunsTheSampleQueriesAgainstTheStore) {
  ConnectQuietly();
  auto queries = SampleQueries();
  ClearRequests();
  std::unique_ptr<std::vector<VirelmgrModelObject*>> found(
      table->KESTREL_execute_saved_query(queries[0], {"Item ID"}, {"K-12*"}, 2));
  EXPECT_THAT(Uids(*found), ElementsAre("item-K-1200", "item-K-1210"));
  for (auto* object : *found) EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrItem*>(object), nullptr);
  EXPECT_THAT(Requests(), ElementsAre("executeSavedQuery"));
  ExpectNoPolicy();

  std::unique_ptr<std::vector<VirelmgrModelObject*>> none(
      table->KESTREL_execute_saved_query(queries[0], {"Item ID"}, {"Z*"}, 0));
  ASSERT_THAT(none, NotNull());
  EXPECT_THAT(*none, IsEmpty());
}

TEST_F(LegacyQueryTest, EachFoundObjectIsTheFirstHostClassThatAnswers) {
  world.add_object("ds-1", {"UGMASTER", "Dataset", "WorkspaceObject", "POM_object"});
  world.add_object("form-1", {"Design Form", "Form", "WorkspaceObject", "POM_object"});
  world.add_object("form-refused", {"Form", "WorkspaceObject", "POM_object"});
  ConnectQuietly();
  auto queries = SampleQueries();
  // Held by the host as a workspace object already: no revision, but a POM
  // object; refused outright: null, kept in its place.
  Halden::Soa::Client::ModelObject* held = table->constructObject("ItemRevision", "rev-K-1000-A");
  auto* workspace = Orvane::PdmSoa::VirelmgrWorkspaceObject::GetInstance("rev-K-1000-A", held, 0);
  cadlink::testing::refuse_instances({"form-refused"});
  EXPECT_CALL(savedquery, executeSavedQuery("query-item-id", ElementsAre("Item ID"), ElementsAre("*"), 25))
      .WillOnce([&](auto&&...) {
        ExecuteQueryReply reply;
        reply.found = 1000;  // the server's claim; the list is what arrived
        reply.object_uids = {"item-K-1000", "", "rev-K-1000-B", "ds-1", "folder-home", "", "form-1", "rev-K-1000-A",
                             "form-refused"};
        reply.data = world.reply_with(
            {"item-K-1000", "rev-K-1000-B", "ds-1", "folder-home", "form-1", "rev-K-1000-A", "form-refused"});
        return reply;
      });
  std::unique_ptr<std::vector<VirelmgrModelObject*>> found(
      table->KESTREL_execute_saved_query(queries[0], {"Item ID"}, {"*"}, 25));
  ASSERT_THAT(Uids(*found),
              ElementsAre("item-K-1000", "rev-K-1000-B", "ds-1", "folder-home", "form-1", "rev-K-1000-A", "(null)"));
  const auto& f = *found;
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrItem*>(f[0]), nullptr);
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrItemRevision*>(f[1]), nullptr);
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrDataset*>(f[2]), nullptr);
  EXPECT_NE(dynamic_cast<Orvane::PdmSoa::VirelmgrFolder*>(f[3]), nullptr);
  const VirelmgrModelObject& form = *f[4];
  EXPECT_EQ(typeid(form), typeid(Orvane::PdmSoa::VirelmgrPomObject));
  EXPECT_EQ(f[5], workspace);
  for (auto* object : f) {
    if (object) {
      EXPECT_EQ(object->GetFlag(), 0U);
    }
  }
}

// Five entries with two nulls give three elements, whatever the found count
// says: a negative one included.
TEST_F(LegacyQueryTest, FoundObjectsAreTheNonNullEntriesWhateverTheFoundCount) {
  ConnectQuietly();
  auto queries = SampleQueries();
  for (const int count : {5, -1}) {
    SCOPED_TRACE(count);
    EXPECT_CALL(savedquery, executeSavedQuery(_, _, _, _)).WillOnce([&](auto&&...) {
      ExecuteQueryReply reply;
      reply.found = count;
      reply.object_uids = {"item-K-1000", "", "item-K-1100", "", "rev-K-1000-B"};
      reply.data = world.reply_with({"item-K-1000", "item-K-1100", "rev-K-1000-B"});
      return reply;
    });
    std::unique_ptr<std::vector<VirelmgrModelObject*>> found(table->KESTREL_execute_saved_query(queries[0], {}, {}, 0));
    EXPECT_THAT(Uids(*found), ElementsAre("item-K-1000", "item-K-1100", "rev-K-1000-B"));
  }
}

TEST_F(LegacyQueryTest, RunOfANullQueryIsBadInputBeforeAnyRequest) {
  ConnectQuietly();
  EXPECT_THAT([&] { table->KESTREL_execute_saved_query(nullptr, {}, {}, 0); },
              RaisesFrom(940208, "Null query in KESTREL_execute_saved_query", kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(LegacyQueryTest, RunOfAQueryWithoutServerQueryRaisesBeforeAnyRequest) {
  ConnectQuietly();
  VirelmgrQuery query("query-item-id", nullptr);
  EXPECT_THAT([&] { table->KESTREL_execute_saved_query(&query, {"Item ID"}, {"K-1000"}, 10); },
              RaisesFrom(940209, "Error getting SOA object from KRAL object", kLegacyFile));
  EXPECT_THAT(Requests(), IsEmpty());
}

// --- slots 8 to 10 ------------------------------------------------------------

const std::vector<SearchCriteria> kCriteria = {
    {"Wheels", "Item Name", {"Name", "Type"}, {"wheel*", "Item"}},
    {"Bolts", "Item ID", {"Item ID"}, {"K-900?"}},
};

MATCHER_P(CriteriaAre, expected, "") {
  if (arg.size() != expected.size()) return false;
  for (std::size_t i = 0; i < arg.size(); ++i)
    if (arg[i].text1 != expected[i].text1 || arg[i].text2 != expected[i].text2 || arg[i].list1 != expected[i].list1 ||
        arg[i].list2 != expected[i].list2)
      return false;
  return true;
}

TEST_F(LegacyQueryTest, CriteriaAreSavedDeletedAndRetrievedInOrder) {
  ConnectQuietly();
  std::unique_ptr<std::vector<SearchCriteria>> none(table->KESTREL_retrieve_search_criteria({}));
  ASSERT_THAT(none, NotNull());
  EXPECT_THAT(*none, IsEmpty());

  table->KESTREL_save_search_criteria(kCriteria);
  std::unique_ptr<std::vector<SearchCriteria>> back(table->KESTREL_retrieve_search_criteria({}));
  EXPECT_THAT(*back, CriteriaAre(kCriteria));

  EXPECT_CALL(savedquery, deleteSearchCriteria(ElementsAre("Wheels")));
  EXPECT_CALL(savedquery, retrieveSearchCriteria(ElementsAre("Wheels", "Bolts")));
  table->KESTREL_delete_search_criteria({"Wheels"});
  std::unique_ptr<std::vector<SearchCriteria>> left(table->KESTREL_retrieve_search_criteria({"Wheels", "Bolts"}));
  EXPECT_THAT(*left, CriteriaAre(std::vector<SearchCriteria>{kCriteria[1]}));
  EXPECT_THAT(Requests(), ElementsAre("retrieveSearchCriteria", "saveSearchCriteria", "retrieveSearchCriteria",
                                      "deleteSearchCriteria", "retrieveSearchCriteria"));
  ExpectNoPolicy();
}

TEST_F(LegacyQueryTest, SavingNothingStillSendsOneRequest) {
  ConnectQuietly();
  EXPECT_CALL(savedquery, saveSearchCriteria(IsEmpty()));
  table->KESTREL_save_search_criteria({});
  EXPECT_THAT(Requests(), ElementsAre("saveSearchCriteria"));
}

// --- every entry --------------------------------------------------------------

TEST_F(LegacyQueryTest, FrameworkExceptionsReachTheHostUnchanged) {
  ConnectQuietly();
  auto queries = SampleQueries();
  using Fail = std::function<void()>;
  struct Entry {
    const char* name;
    std::function<void(const Fail&)> script;
    std::function<void()> call;
  };
  const Entry entries[] = {
      {"list",
       [&](const Fail& fail) {
         ON_CALL(savedquery, getSavedQueries()).WillByDefault([fail]() -> SavedQueriesReply {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_list_saved_queries(); }},
      {"describe",
       [&](const Fail& fail) {
         ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([fail](auto&&) -> DescribeQueriesReply {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_describe_saved_queries(queries); }},
      {"run",
       [&](const Fail& fail) {
         ON_CALL(savedquery, executeSavedQuery(_, _, _, _)).WillByDefault([fail](auto&&...) -> ExecuteQueryReply {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_execute_saved_query(queries[0], {}, {}, 0); }},
      {"save",
       [&](const Fail& fail) {
         ON_CALL(savedquery, saveSearchCriteria(_)).WillByDefault([fail](auto&&) -> WireServiceData {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_save_search_criteria(kCriteria); }},
      {"delete",
       [&](const Fail& fail) {
         ON_CALL(savedquery, deleteSearchCriteria(_)).WillByDefault([fail](auto&&) -> WireServiceData {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_delete_search_criteria({"Wheels"}); }},
      {"retrieve",
       [&](const Fail& fail) {
         ON_CALL(savedquery, retrieveSearchCriteria(_)).WillByDefault([fail](auto&&) -> SearchCriteriaReply {
           fail();
           return {};
         });
       },
       [&] { table->KESTREL_retrieve_search_criteria({}); }},
  };
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.name);
    entry.script([] { throw RuntimeException("lost"); });
    EXPECT_THROW(entry.call(), RuntimeException);
    entry.script([] { throw NotLoadedException("not loaded"); });
    EXPECT_THROW(entry.call(), NotLoadedException);
    entry.script([] { throw SoaException("refused"); });
    EXPECT_THROW(entry.call(), SoaException);
  }
  EXPECT_THAT(queries[0]->GetFieldDescriptions(), IsEmpty());
}

TEST_F(LegacyQueryTest, WithoutAConnectionEveryEntryRaisesAndNothingIsSent) {
  VirelmgrQuery query("query-item-id", nullptr);
  const std::function<void()> calls[] = {
      [&] { table->KESTREL_list_saved_queries(); },
      [&] { table->KESTREL_describe_saved_queries({&query}); },
      [&] { table->KESTREL_execute_saved_query(&query, {}, {}, 0); },
      [&] { table->KESTREL_save_search_criteria(kCriteria); },
      [&] { table->KESTREL_delete_search_criteria({}); },
      [&] { table->KESTREL_retrieve_search_criteria({}); },
  };
  for (const auto& call : calls) EXPECT_THAT(call, RaisesFrom(940209, kNoConnection, kLegacyFile));
  EXPECT_THAT(server.requests, IsEmpty());
}

}  // namespace
}  // namespace kestrel::test
