// Saved queries: listed, described with their fields and lists of values,
// run singly and in a batch; saved search criteria.
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "halden/server/mocks/MockSavedQueryStub.h"
#include "halden/server/world/SavedQueryWorld.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"
#include "objmodel/SoaManager.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::DescribeQueriesReply;
using Halden::Soa::Server::ExecuteQueriesReply;
using Halden::Soa::Server::ExecuteQueryReply;
using Halden::Soa::Server::MockSavedQueryStub;
using Halden::Soa::Server::QueryField;
using Halden::Soa::Server::SavedQueriesReply;
using Halden::Soa::Server::SavedQueryInput;
using Halden::Soa::Server::SavedQueryWorld;
using Halden::Soa::Server::SearchCriteriaRecord;
using Halden::Soa::Server::SearchCriteriaReply;
using Halden::Soa::Server::WireErrorStack;
using Halden::Soa::Server::WireObject;
using Halden::Soa::Server::WireProperty;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::ListOfValues;
using Orvane::PdmSoa::PomObject;
using Orvane::PdmSoa::Query;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::NotNull;
using ::testing::SizeIs;
namespace props = Halden::Soa::Server::props;

const std::vector<std::string> kQueryChain = {"OstraQuery", "POM_application_object", "POM_object"};
const std::vector<std::string> kItemChain = {"Item", "WorkspaceObject", "POM_object"};

std::string Uid(const Orvane::PdmSoa::ModelObject* object) { return object ? object->GetUid().utf8() : "(none)"; }

template <class T>
std::vector<std::string> Uids(const std::vector<T*>& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(Uid(o));
  return uids;
}

std::vector<std::string> Texts(const KESTREL_uid_list& list) {
  std::vector<std::string> texts;
  for (const auto& t : list) texts.push_back(t.utf8());
  return texts;
}

std::vector<std::vector<std::string>> Texts(const KESTREL_uid_lists& lists) {
  std::vector<std::vector<std::string>> texts;
  for (const auto& l : lists) texts.push_back(Texts(l));
  return texts;
}

WireErrorStack ErrorAt(int client_index) { return WireErrorStack{"", client_index, "", {{141001, 3, "failed"}}}; }

// One field without a list of values, of the given attribute type.
QueryField PlainField(const std::string& entry, int attribute_type) {
  return {"attr_" + entry, entry, "AND", "=", "", "", attribute_type};
}

class QueryTest : public SessionTest {
 protected:
  // An object of the world with this type chain, as the session holds it.
  Halden::Soa::Client::ModelObject* Loaded(const std::string& uid, std::vector<std::string> chain) {
    world.add_object(uid, std::move(chain));
    return table->KESTREL_ask_connection()->getModelManager()->loadObjects(uid);
  }

  // The host queries of the sample world, "Item ID" then "Item Name".
  std::vector<Query*> SampleQueries() {
    std::unique_ptr<std::vector<Query*>> queries(table->KESTREL_list_saved_queries());
    return *queries;
  }

  // A describe reply of one query whose only field has this list of values.
  void ScriptLovField(const std::string& lov_class, int value_type, WireProperty values, int attribute_type = 2008) {
    values.name = "lov_values";
    ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([=](const std::vector<std::string>& uids) {
      DescribeQueriesReply reply;
      reply.descriptions.resize(uids.size());
      reply.descriptions[0].fields = {{"attr", "Choice", "AND", "=", "", "lov-1", attribute_type}};
      reply.data.objects = {WireObject{
          "lov-1", {lov_class, "ListOfValues", "POM_object"}, {props::integer("lov_value_type", value_type), values}}};
      return reply;
    });
  }

  SavedQueryWorld& query_world = world.savedquery;
  NiceMock<MockSavedQueryStub>& savedquery = test_server.savedquery;
};

// --- framework model classes ---------------------------------------------------

TEST_F(QueryTest, ServerObjectsBecomeTheClassOfTheirNearestTypedAncestor) {
  ConnectAndLogin();
  namespace Model = Halden::Soa::Client::Model;
  auto* revision = Loaded("rev-x", {"Design Revision", "ItemRevision", "WorkspaceObject", "POM_object"});
  EXPECT_NE(dynamic_cast<Model::ItemRevision*>(revision), nullptr);
  EXPECT_NE(dynamic_cast<Model::WorkspaceObject*>(revision), nullptr);
  EXPECT_NE(dynamic_cast<Model::POM_object*>(revision), nullptr);
  auto* lov = Loaded("lov-x", {"ListOfValuesTag", "ListOfValues", "POM_object"});
  EXPECT_NE(dynamic_cast<Model::ListOfValuesTag*>(lov), nullptr);
  EXPECT_EQ(dynamic_cast<Model::WorkspaceObject*>(lov), nullptr);
  auto* form = Loaded("form-x", {"Design Form", "Form", "WorkspaceObject", "POM_object"});
  EXPECT_NE(dynamic_cast<Model::Form*>(form), nullptr);
  EXPECT_NE(dynamic_cast<Model::OstraQuery*>(Loaded("q-x", kQueryChain)), nullptr);
}

// --- slot 8 -------------------------------------------------------------------

TEST_F(QueryTest, ListsTheServersSavedQueriesAsHostQueries) {
  ConnectAndLogin();
  ClearRequests();
  auto queries = SampleQueries();
  EXPECT_THAT(Uids(queries), ElementsAre("query-item-id", "query-item-name"));
  ASSERT_THAT(Requests(), ElementsAre("getSavedQueries"));
  EXPECT_EQ(server.requests[0].policy, 2);
}

TEST_F(QueryTest, ListSkipsNullAndForeignEntries) {
  ConnectAndLogin();
  // The host already holds this UID as a folder.
  SoaManager::GetObjectManager()->WrapSoaObject(Loaded("held-as-folder", {"Folder", "POM_object"}));
  EXPECT_CALL(savedquery, getSavedQueries()).WillOnce([] {
    SavedQueriesReply reply;
    reply.queries = {{"q-1", "One", ""}, {"", "Null", ""}, {"held-as-folder", "Folder", ""}, {"q-2", "Two", ""}};
    reply.data.objects = {WireObject{"q-1", kQueryChain, {}}, WireObject{"q-2", kQueryChain, {}}};
    return reply;
  });
  const int null_wraps = SoaManager::GetObjectManager()->null_wraps;
  std::unique_ptr<std::vector<Query*>> queries(table->KESTREL_list_saved_queries());
  EXPECT_THAT(Uids(*queries), ElementsAre("q-1", "q-2"));
  EXPECT_EQ(SoaManager::GetObjectManager()->null_wraps, null_wraps) << "a null entry was handed to the host";
}

TEST_F(QueryTest, NoSavedQueriesIsNotFound) {
  ConnectAndLogin();
  EXPECT_CALL(savedquery, getSavedQueries()).WillOnce([] { return SavedQueriesReply{}; });
  EXPECT_THAT([&] { table->KESTREL_list_saved_queries(); },
              RaisesFrom(940205, "No queries returned from database", "kestrel_queries.cpp"));
}

// --- slot 9 -------------------------------------------------------------------

TEST_F(QueryTest, DescribesTheSampleQueriesWithTheirFieldsAndListsOfValues) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  ClearRequests();
  table->KESTREL_describe_saved_queries(queries);
  ASSERT_THAT(Requests(), ElementsAre("describeSavedQueries"));
  EXPECT_EQ(server.requests[0].policy, 2);

  const auto& id_fields = queries[0]->GetFieldDescriptions();
  ASSERT_THAT(id_fields, SizeIs(1));
  EXPECT_EQ(id_fields[0].type, virelmgrFieldString);
  EXPECT_EQ(id_fields[0].entry_name, "Item ID");
  EXPECT_EQ(id_fields[0].attribute_name, "item_id");
  EXPECT_EQ(id_fields[0].logical_operation, "AND");
  EXPECT_EQ(id_fields[0].math_operation, "=");
  EXPECT_EQ(id_fields[0].lov, nullptr);

  const auto& name_fields = queries[1]->GetFieldDescriptions();
  ASSERT_THAT(name_fields, SizeIs(2));
  EXPECT_EQ(name_fields[0].entry_name, "Name");
  ASSERT_THAT(name_fields[1].lov, NotNull());
  EXPECT_EQ(name_fields[1].entry_name, "Type");
  EXPECT_EQ(Uid(name_fields[1].lov), "lov-item-types");
  EXPECT_EQ(name_fields[1].lov->set_by, "SetStringValues");
  EXPECT_THAT(name_fields[1].lov->string_values, ElementsAre("Item", "Design"));
}

TEST_F(QueryTest, FieldTextsReachTheHostInItsOrder) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([](const std::vector<std::string>& uids) {
    DescribeQueriesReply reply;
    reply.descriptions.resize(uids.size());
    reply.descriptions[0].fields = {{"T1", "T2", "T3", "T4", "T5", "", 2005}};
    return reply;
  });
  table->KESTREL_describe_saved_queries({queries[0]});
  const auto& field = queries[0]->GetFieldDescriptions().at(0);
  // (type, T2, T1, T5, T3, T4)
  EXPECT_EQ(field.type, virelmgrFieldInt);
  EXPECT_EQ(field.entry_name, "T2");
  EXPECT_EQ(field.attribute_name, "T1");
  EXPECT_EQ(field.value, "T5");
  EXPECT_EQ(field.logical_operation, "T3");
  EXPECT_EQ(field.math_operation, "T4");
}

TEST_F(QueryTest, QueriesWithoutServerQueryGetNoFieldsAndRepliesPairInOrder) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  Halden::Soa::Client::ModelObject orphan("query-unknown", nullptr);
  Query without(&orphan);
  EXPECT_CALL(savedquery, describeSavedQueries(ElementsAre("query-item-id", "query-item-name")));
  table->KESTREL_describe_saved_queries({queries[0], &without, queries[1]});
  EXPECT_THAT(queries[0]->GetFieldDescriptions(), SizeIs(1));
  EXPECT_THAT(without.GetFieldDescriptions(), IsEmpty());
  EXPECT_THAT(queries[1]->GetFieldDescriptions(), SizeIs(2));
}

TEST_F(QueryTest, ReplyEntriesBeyondTheQueriesSentAreNotRead) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  EXPECT_CALL(savedquery, describeSavedQueries(_)).WillOnce([](const std::vector<std::string>&) {
    DescribeQueriesReply reply;
    reply.descriptions.resize(3);
    for (auto& d : reply.descriptions) d.fields = {PlainField("F", 2008)};
    return reply;
  });
  table->KESTREL_describe_saved_queries({queries[0]});
  EXPECT_THAT(queries[0]->GetFieldDescriptions(), SizeIs(1));
  EXPECT_THAT(queries[1]->GetFieldDescriptions(), IsEmpty());
}

TEST_F(QueryTest, NullQueryInTheListIsBadInputBeforeAnyRequest) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  ClearRequests();
  EXPECT_THAT(
      [&] {
        table->KESTREL_describe_saved_queries({queries[0], nullptr});
      },
      RaisesFrom(940208, "KRAL SOA: Null query in KESTREL_describe_saved_queries", "kestrel_queries.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(QueryTest, AttributeTypesMapToHostFieldTypes) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  struct Case {
    int code, expected;  // 0: raises
  };
  const Case cases[] = {{2001, 2001}, {2002, 2002}, {2005, 2005}, {2008, 2008}, {2010, 2010}, {2011, 2011},
                        {2016, 2011}, {2012, 0},    {2000, 0},    {0, 0},       {2017, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Halden::Soa::Client::ModelObject* object = queries[0]->GetObjectPtr();
    Query query(object);  // a fresh host query of the same server query
    ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([&](const std::vector<std::string>& uids) {
      DescribeQueriesReply reply;
      reply.descriptions.resize(uids.size());
      reply.descriptions[0].fields = {PlainField("F", c.code)};
      return reply;
    });
    if (!c.expected) {
      EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({&query}); },
                  RaisesFrom(940209, "Unknown data type " + std::to_string(c.code) + " received from SOA\n",
                             "kestrel_queries.cpp"));
      continue;
    }
    table->KESTREL_describe_saved_queries({&query});
    ASSERT_THAT(query.GetFieldDescriptions(), SizeIs(1));
    EXPECT_EQ(query.GetFieldDescriptions()[0].type, c.expected);
  }
}

struct LovCase {
  const char* lov_class;
  int value_type;
  WireProperty values;
  int expected_type;
  const char* setter;
  std::function<void(const ListOfValues&)> check;
};

class LovTypeTest : public QueryTest, public ::testing::WithParamInterface<LovCase> {};

TEST_P(LovTypeTest, TheListsTypeDecidesFieldTypeAndSetter) {
  const LovCase& c = GetParam();
  ConnectAndLogin();
  auto queries = SampleQueries();
  // The field's own attribute type (string) gives way to the list's.
  ScriptLovField(c.lov_class, c.value_type, c.values, 2008);
  table->KESTREL_describe_saved_queries({queries[0]});
  const auto& fields = queries[0]->GetFieldDescriptions();
  ASSERT_THAT(fields, SizeIs(1));
  EXPECT_EQ(fields[0].type, c.expected_type);
  ASSERT_THAT(fields[0].lov, NotNull());
  EXPECT_EQ(fields[0].lov->set_by, c.setter);
  c.check(*fields[0].lov);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LovTypeTest,
    ::testing::Values(
        LovCase{"ListOfValuesChar", 1, props::chars("", {'a', 'b'}), 2001, "SetCharValues",
                [](const ListOfValues& l) { EXPECT_THAT(l.char_values, ElementsAre('a', 'b')); }},
        LovCase{"ListOfValuesDate", 2, props::dates("", {Halden::Soa::Common::DateTime(2024, 3, 1, 10, 20, 30)}), 2002,
                "SetDateValues",
                [](const ListOfValues& l) {
                  ASSERT_THAT(l.date_values, SizeIs(1));
                  EXPECT_EQ(l.date_values[0].year, 2024);
                  EXPECT_EQ(l.date_values[0].month, 2);  // counted from 0
                }},
        LovCase{"ListOfValuesDouble", 4, props::reals("", {1.5, 2.5}), 2004, "SetDoubleValues",
                [](const ListOfValues& l) { EXPECT_THAT(l.double_values, ElementsAre(1.5, 2.5)); }},
        LovCase{"ListOfValuesInteger", 6, props::ints("", {3, 4}), 2006, "SetIntValues",
                [](const ListOfValues& l) { EXPECT_THAT(l.int_values, ElementsAre(3, 4)); }},
        LovCase{"ListOfValuesString", 8, props::strs("", {"x", "y"}), 2008, "SetStringValues",
                [](const ListOfValues& l) { EXPECT_THAT(l.string_values, ElementsAre("x", "y")); }},
        LovCase{"ListOfValuesTag", 11, props::refs("", {"folder-home", ""}), 2011, "SetReferenceValues",
                [](const ListOfValues& l) { EXPECT_THAT(Uids(l.reference_values), ElementsAre("folder-home")); }}));

TEST_F(QueryTest, ListOfValuesOfTheWrongClassIsAMismatchAndEarlierFieldsStay) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([](const std::vector<std::string>& uids) {
    DescribeQueriesReply reply;
    reply.descriptions.resize(uids.size());
    reply.descriptions[0].fields = {PlainField("First", 2008), {"attr", "Choice", "AND", "=", "", "lov-1", 2003}};
    reply.data.objects = {WireObject{"lov-1",
                                     {"ListOfValuesString", "ListOfValues", "POM_object"},
                                     {props::integer("lov_value_type", 3), props::strs("lov_values", {"1"})}}};
    return reply;
  });
  EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({queries[0]}); },
              RaisesFrom(940205, "SOA: LOV type mismatch for query field Choice\n", "kestrel_queries.cpp"));
  ASSERT_THAT(queries[0]->GetFieldDescriptions(), SizeIs(1));
  EXPECT_EQ(queries[0]->GetFieldDescriptions()[0].entry_name, "First");
}

TEST_F(QueryTest, UnknownListOfValuesTypeIsUnknownDataType) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  for (int value_type : {0, 12}) {
    ScriptLovField("ListOfValuesString", value_type, props::strs("", {"x"}));
    EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({queries[0]}); },
                RaisesFrom(940209, "Unknown data type " + std::to_string(value_type) + " received from SOA\n",
                           "kestrel_queries.cpp"));
  }
}

// The field's own type is mapped first, even when its list of values would
// decide the type.
TEST_F(QueryTest, UnknownAttributeTypeOfAFieldWithAListOfValuesIsUnknownDataType) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  ScriptLovField("ListOfValuesString", 8, props::strs("", {"x"}), 2012);
  EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({queries[0]}); },
              RaisesFrom(940209, "Unknown data type 2012 received from SOA\n", "kestrel_queries.cpp"));
  EXPECT_THAT(queries[0]->GetFieldDescriptions(), IsEmpty());
}

TEST_F(QueryTest, ListOfValuesThatIsNoneOrThatTheHostHoldsOtherwiseIsInvalid) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  // On the server a folder; then a list of values the host holds as a folder.
  ScriptLovField("Folder", 8, props::strs("", {"x"}));
  EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({queries[0]}); },
              RaisesFrom(940205, "SOA: invalid LOV object for query field Choice\n", "kestrel_queries.cpp"));

  auto* lov = Loaded("lov-2", {"ListOfValuesString", "ListOfValues", "POM_object"});
  SoaManager::GetObjectManager()->WrapSoaObjectAsClass(lov, Orvane::PdmSoa::Folder::AskClassName());
  ON_CALL(savedquery, describeSavedQueries(_)).WillByDefault([](const std::vector<std::string>& uids) {
    DescribeQueriesReply reply;
    reply.descriptions.resize(uids.size());
    reply.descriptions[0].fields = {{"attr", "Held", "AND", "=", "", "lov-2", 2008}};
    return reply;
  });
  EXPECT_THAT([&] { table->KESTREL_describe_saved_queries({queries[0]}); },
              RaisesFrom(940205, "SOA: invalid LOV object for query field Held\n", "kestrel_queries.cpp"));
}

// --- slot 10 ------------------------------------------------------------------

TEST_F(QueryTest, RunsTheSampleQueriesAgainstTheStoreWithWildcards) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  struct Case {
    int query;
    std::vector<std::string> entries, values;
    int max_results;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {0, {"Item ID"}, {"K-12*"}, 0, {"item-K-1200", "item-K-1210", "item-K-1220", "item-K-1230"}},
      {0, {"Item ID"}, {"k-12?0"}, 0, {"item-K-1200", "item-K-1210", "item-K-1220", "item-K-1230"}},
      {0, {"Item ID"}, {"K-12*"}, 2, {"item-K-1200", "item-K-1210"}},
      {0, {"Item ID"}, {"K-1000"}, 0, {"item-K-1000"}},
      {0, {"Item ID"}, {"Z*"}, 0, {}},
      {1, {"Name"}, {"wheel*"}, 0, {"item-K-1200", "item-K-1210"}},
      {1, {"Name", "Type"}, {"*nut*", "Item"}, 0, {"item-K-9002"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values.front());
    ClearRequests();
    std::unique_ptr<std::vector<PomObject*>> found(
        table->KESTREL_execute_saved_query(queries[c.query], c.entries, c.values, c.max_results));
    EXPECT_EQ(Uids(*found), c.found);
    ASSERT_THAT(Requests(), ElementsAre("executeSavedQuery"));
    EXPECT_EQ(server.requests[0].policy, 2);
  }
}

TEST_F(QueryTest, RunSkipsNullAndNonPomObjectsWhateverTheFoundCount) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  // The found count is the server's claim; the list is what arrived.
  for (int found_count : {5, -1, INT_MAX, 0}) {
    SCOPED_TRACE(found_count);
    EXPECT_CALL(savedquery, executeSavedQuery(_, _, _, _)).WillOnce([=](auto&&...) {
      ExecuteQueryReply reply;
      reply.found = found_count;
      reply.object_uids = {"item-K-1000", "", "line-1", "", "item-K-1100"};
      reply.data.objects = {WireObject{"item-K-1000", kItemChain, {}}, WireObject{"item-K-1100", kItemChain, {}},
                            WireObject{"line-1", {"BOMLine", "RuntimeBusinessObject"}, {}}};
      return reply;
    });
    std::unique_ptr<std::vector<PomObject*>> found(
        table->KESTREL_execute_saved_query(queries[0], {"Item ID"}, {"*"}, 0));
    EXPECT_THAT(Uids(*found), ElementsAre("item-K-1000", "item-K-1100"));
  }
}

TEST_F(QueryTest, RunOfANullQueryIsBadInput) {
  ConnectAndLogin();
  ClearRequests();
  EXPECT_THAT([&] { table->KESTREL_execute_saved_query(nullptr, {}, {}, 0); },
              RaisesFrom(940208, "KRAL SOA: Null query in KESTREL_execute_saved_query", "kestrel_queries.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

// --- slot 11 ------------------------------------------------------------------

MATCHER_P4(InputIs, uid, entries, values, max_results, "") {
  return arg.query_uid == uid && arg.entries == entries && arg.values == values && arg.max_results == max_results &&
         arg.results_type == 0;
}

TEST_F(QueryTest, BatchRunsOnceWithoutPolicyAndAppendsOneListPerQuery) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  KESTREL_uid_lists results(2);  // the caller's list already holds two
  const std::vector<std::string> id{"Item ID"}, name{"Name"}, pattern{"K-12*"}, wheels{"wheel*"};
  EXPECT_CALL(savedquery, executeSavedQueries(ElementsAre(InputIs("query-item-id", id, pattern, 3),
                                                          InputIs("query-item-name", name, wheels, 0))));
  SetActivePropertyPolicy(5);
  ClearRequests();
  table->KESTREL_execute_saved_queries({queries[0], queries[1]}, {id, name}, {pattern, wheels}, {3, 0}, &results);
  ASSERT_THAT(Requests(), ElementsAre("executeSavedQueries"));
  EXPECT_EQ(server.requests[0].policy, 5) << "the batch call sets no policy";
  EXPECT_THAT(Texts(results),
              ElementsAre(IsEmpty(), IsEmpty(), ElementsAre("item-K-1200", "item-K-1210", "item-K-1220"),
                          ElementsAre("item-K-1200", "item-K-1210")));
}

TEST_F(QueryTest, BatchOutputsBelongToTheQueriesWithoutPartialErrors) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  struct Case {
    std::vector<int> errors;  // client indexes
    std::size_t outputs;
    std::vector<std::vector<std::string>> expected;
  };
  const Case cases[] = {
      {{1}, 2, {{"out-0"}, {}, {"out-1"}}},
      {{}, 3, {{"out-0"}, {"out-1"}, {"out-2"}}},
      {{0, 2}, 1, {{}, {"out-0"}, {}}},
      {{}, 1, {{"out-0"}, {}, {}}},                     // fewer outputs than error-free queries
      {{-1, 7}, 3, {{"out-0"}, {"out-1"}, {"out-2"}}},  // indexes of no query
      {{1}, 0, {{}, {}, {}}},
  };
  for (const auto& c : cases) {
    EXPECT_CALL(savedquery, executeSavedQueries(_)).WillOnce([&](const std::vector<SavedQueryInput>&) {
      ExecuteQueriesReply reply;
      for (std::size_t k = 0; k < c.outputs; ++k) {
        const std::string uid = "out-" + std::to_string(k);
        reply.results.push_back({{uid}, {uid}});
        reply.data.objects.push_back(WireObject{uid, kItemChain, {}});
      }
      for (int index : c.errors) reply.data.errors.push_back(ErrorAt(index));
      return reply;
    });
    KESTREL_uid_lists results;
    table->KESTREL_execute_saved_queries({queries[0], queries[1], queries[0]}, {{}, {}, {}}, {{}, {}, {}}, {0, 0, 0},
                                         &results);
    EXPECT_EQ(Texts(results), c.expected);
  }
}

TEST_F(QueryTest, WithoutTheBatchOperationEachQueryRunsOnItsOwnUnderPolicy2) {
  world.set_available_services({"Core-2006-03-DataManagement", "Core-2006-03-Session"});
  ConnectAndLogin();
  auto queries = SampleQueries();
  KESTREL_uid_lists results;
  ClearRequests();
  table->KESTREL_execute_saved_queries({queries[0], queries[1]}, {{"Item ID"}, {"Name"}}, {{"K-9*"}, {"Frame*"}},
                                       {0, 0}, &results);
  ASSERT_THAT(Requests(), ElementsAre("executeSavedQuery", "executeSavedQuery"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_EQ(server.requests[1].policy, 2);
  EXPECT_THAT(Texts(results), ElementsAre(ElementsAre("item-K-9001", "item-K-9002"), ElementsAre("item-K-1110")));
}

TEST_F(QueryTest, PerQueryRunsSendEachQuerysOwnMaximumAndSkipNullObjects) {
  world.set_available_services({});
  ConnectAndLogin();
  auto queries = SampleQueries();
  auto reply_of = [](std::vector<std::string> uids) {
    ExecuteQueryReply reply;
    reply.found = static_cast<int>(uids.size());
    reply.object_uids = uids;
    for (const auto& uid : uids)
      if (!uid.empty()) reply.data.objects.push_back(WireObject{uid, kItemChain, {}});
    return reply;
  };
  {
    ::testing::InSequence in_order;
    EXPECT_CALL(savedquery, executeSavedQuery("query-item-id", ElementsAre("Item ID"), ElementsAre("K-1*"), 3))
        .WillOnce([&](auto&&...) {
          return reply_of({"", "item-K-1000", "", "item-K-1100"});
        });
    EXPECT_CALL(savedquery, executeSavedQuery("query-item-name", ElementsAre("Name"), ElementsAre("*"), 7))
        .WillOnce([&](auto&&...) { return reply_of({""}); });
  }
  KESTREL_uid_lists results;
  table->KESTREL_execute_saved_queries({queries[0], queries[1]}, {{"Item ID"}, {"Name"}}, {{"K-1*"}, {"*"}}, {3, 7},
                                       &results);
  EXPECT_THAT(Texts(results), ElementsAre(ElementsAre("item-K-1000", "item-K-1100"), IsEmpty()));
}

TEST_F(QueryTest, PerQueryRunKeepsEarlierResultsWhenALaterRequestFails) {
  world.set_available_services({});
  ConnectAndLogin();
  auto queries = SampleQueries();
  EXPECT_CALL(savedquery, executeSavedQuery(_, _, _, _))
      .WillOnce([&](auto&&... args) { return query_world.executeSavedQuery(args...); })
      .WillOnce([](auto&&...) -> ExecuteQueryReply { throw RuntimeException("boom"); });
  KESTREL_uid_lists results;
  EXPECT_THAT(
      [&] {
        table->KESTREL_execute_saved_queries({queries[0], queries[0]}, {{"Item ID"}, {"Item ID"}},
                                             {{"K-1000"}, {"K-1000"}}, {0, 0}, &results);
      },
      RaisesFrom(940222, "KRAL SOA: SOA runtime exception: boom", "kestrel_queries.cpp"));
  EXPECT_THAT(Texts(results), ElementsAre(ElementsAre("item-K-1000")));
}

TEST_F(QueryTest, BatchInputShorterThanTheQueriesIsBadInputBeforeAnyRequest) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  const std::vector<Query*> two = {queries[0], queries[1]};
  const std::vector<std::vector<std::string>> lists2(2), lists1(1);
  const std::string prefix = "KRAL SOA: Bad Input for KESTREL_execute_saved_queries: ";
  KESTREL_uid_lists results;
  struct Case {
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {[&] {
         table->KESTREL_execute_saved_queries(two, lists1, lists2, {0, 0}, &results);
       },
       prefix + "entries array size < queries array size\n"},
      {[&] {
         table->KESTREL_execute_saved_queries(two, lists2, lists1, {0, 0}, &results);
       },
       prefix + "values array size < queries array size\n"},
      {[&] { table->KESTREL_execute_saved_queries(two, lists2, lists2, {0}, &results); },
       prefix + "max results array size < queries array size\n"},
      {[&] {
         table->KESTREL_execute_saved_queries(two, lists2, lists2, {0, 0}, nullptr);
       },
       "KRAL SOA: Null result list in KESTREL_execute_saved_queries"},
      {[&] {
         table->KESTREL_execute_saved_queries({queries[0], nullptr}, lists2, lists2, {0, 0}, &results);
       },
       "KRAL SOA: Null query in KESTREL_execute_saved_queries"},
  };
  ClearRequests();
  for (const auto& c : cases) EXPECT_THAT(c.call, RaisesFrom(940208, c.text, "kestrel_queries.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(results, IsEmpty());
}

// A host query without a server query is refused by both run entries
// before anything is sent.
TEST_F(QueryTest, QueryWithoutServerQueryIsRefusedBeforeAnyRequest) {
  ConnectAndLogin();
  auto queries = SampleQueries();
  Query orphan(nullptr);
  const std::vector<std::vector<std::string>> lists2(2);
  KESTREL_uid_lists results;
  constexpr const char* kText = "KRAL SOA: Error getting SOA object from KRAL object";
  ClearRequests();
  EXPECT_THAT([&] { delete table->KESTREL_execute_saved_query(&orphan, {"Item ID"}, {"*"}, 0); },
              RaisesFrom(940209, kText, "kestrel_queries.cpp"));
  EXPECT_THAT(
      [&] {
        table->KESTREL_execute_saved_queries({queries[0], &orphan}, lists2, lists2, {0, 0}, &results);
      },
      RaisesFrom(940209, kText, "kestrel_queries.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(results, IsEmpty());
}

// --- slots 12 to 14 -----------------------------------------------------------

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

TEST_F(QueryTest, SavedCriteriaComeBackInOrderAndPersistPerUser) {
  world.add_user("analyst", "pw", "Engineering", "Designer");
  ConnectAndLogin();
  SetActivePropertyPolicy(5);
  ClearRequests();
  table->KESTREL_save_search_criteria(kCriteria);
  ASSERT_THAT(Requests(), ElementsAre("saveSearchCriteria"));
  EXPECT_EQ(server.requests[0].policy, 5) << "saving sets no policy";

  std::unique_ptr<std::vector<SearchCriteria>> back(table->KESTREL_retrieve_search_criteria({}));
  EXPECT_THAT(*back, CriteriaAre(kCriteria));
  EXPECT_EQ(server.requests.back().policy, 2);

  table->KESTREL_logout(false);
  table->KESTREL_create_connection(kHost, "HTTP", "analyst", "pw", "Engineering", "Designer", "", false);
  table->KESTREL_login("analyst", "pw", true);
  std::unique_ptr<std::vector<SearchCriteria>> theirs(table->KESTREL_retrieve_search_criteria({}));
  ASSERT_THAT(theirs, NotNull());
  EXPECT_THAT(*theirs, IsEmpty());
}

TEST_F(QueryTest, DeletedCriteriaAreGoneAndSelectionsPassUnchanged) {
  ConnectAndLogin();
  table->KESTREL_save_search_criteria(kCriteria);
  EXPECT_CALL(savedquery, deleteSearchCriteria(ElementsAre("Wheels")));
  EXPECT_CALL(savedquery, retrieveSearchCriteria(ElementsAre("Wheels", "Bolts")));
  SetActivePropertyPolicy(5);
  ClearRequests();
  table->KESTREL_delete_search_criteria({"Wheels"});
  EXPECT_EQ(server.requests.back().policy, 2);
  std::unique_ptr<std::vector<SearchCriteria>> back(table->KESTREL_retrieve_search_criteria({"Wheels", "Bolts"}));
  EXPECT_THAT(*back, CriteriaAre(std::vector<SearchCriteria>{kCriteria[1]}));
}

TEST_F(QueryTest, SavingNothingStillSendsOneRequest) {
  ConnectAndLogin();
  EXPECT_CALL(savedquery, saveSearchCriteria(IsEmpty()));
  table->KESTREL_save_search_criteria({});
}

TEST_F(QueryTest, DeleteLetsFrameworkExceptionsThrough) {
  ConnectAndLogin();
  EXPECT_CALL(savedquery, deleteSearchCriteria(_)).WillOnce([](auto&&) -> WireServiceData {
    throw SoaException("refused");
  });
  EXPECT_THROW(table->KESTREL_delete_search_criteria({"Wheels"}), SoaException);
}

// --- framework exceptions -----------------------------------------------------

class ConnectedQueryTest : public QueryTest {
 protected:
  void SetUp() override {
    ConnectAndLogin();
    sample = SampleQueries();
  }
  std::vector<Query*> sample;
  KESTREL_uid_lists results;
};

class QueryConversion : public ConversionTest<QueryConversion, ConnectedQueryTest> {
 public:
  static constexpr const char* kFile = "kestrel_queries.cpp";
  using Fail = std::function<void()>;
  static std::vector<Operation> Operations() {
    const auto fail_run = [](QueryConversion& t, const Fail& fail) {
      ON_CALL(t.savedquery, executeSavedQuery(_, _, _, _)).WillByDefault([fail](auto&&...) -> ExecuteQueryReply {
        fail();
        return {};
      });
    };
    return {
        {"List",
         [](QueryConversion& t, const Fail& fail) {
           ON_CALL(t.savedquery, getSavedQueries()).WillByDefault([fail]() -> SavedQueriesReply {
             fail();
             return {};
           });
         },
         [](QueryConversion& t) { t.table->KESTREL_list_saved_queries(); }},
        {"Describe",
         [](QueryConversion& t, const Fail& fail) {
           ON_CALL(t.savedquery, describeSavedQueries(_)).WillByDefault([fail](auto&&) -> DescribeQueriesReply {
             fail();
             return {};
           });
         },
         [](QueryConversion& t) { t.table->KESTREL_describe_saved_queries(t.sample); },
         [](QueryConversion& t) { EXPECT_THAT(t.sample[0]->GetFieldDescriptions(), IsEmpty()); }},
        {"Run", fail_run, [](QueryConversion& t) { t.table->KESTREL_execute_saved_query(t.sample[0], {}, {}, 0); }},
        {"BatchRun",
         [](QueryConversion& t, const Fail& fail) {
           ON_CALL(t.savedquery, executeSavedQueries(_)).WillByDefault([fail](auto&&) -> ExecuteQueriesReply {
             fail();
             return {};
           });
         },
         [](QueryConversion& t) { t.table->KESTREL_execute_saved_queries({t.sample[0]}, {{}}, {{}}, {0}, &t.results); },
         [](QueryConversion& t) { EXPECT_THAT(t.results, IsEmpty()); }},
        {"PerQueryRun",
         [fail_run](QueryConversion& t, const Fail& fail) {
           // A server without the batch operation, as the host learns it.
           t.world.set_available_services({});
           SoaManager::GetAvailableSoaServices();
           fail_run(t, fail);
         },
         [](QueryConversion& t) { t.table->KESTREL_execute_saved_queries({t.sample[0]}, {{}}, {{}}, {0}, &t.results); },
         [](QueryConversion& t) { EXPECT_THAT(t.results, IsEmpty()); }},
        {"SaveCriteria",
         [](QueryConversion& t, const Fail& fail) {
           ON_CALL(t.savedquery, saveSearchCriteria(_)).WillByDefault([fail](auto&&) -> WireServiceData {
             fail();
             return {};
           });
         },
         [](QueryConversion& t) { t.table->KESTREL_save_search_criteria(kCriteria); }},
        {"RetrieveCriteria",
         [](QueryConversion& t, const Fail& fail) {
           ON_CALL(t.savedquery, retrieveSearchCriteria(_)).WillByDefault([fail](auto&&) -> SearchCriteriaReply {
             fail();
             return {};
           });
         },
         [](QueryConversion& t) { t.table->KESTREL_retrieve_search_criteria({}); }},
    };
  }
};
KESTREL_CONVERSION_SUITE(QueryConversion);

TEST_F(QueryTest, WithoutAConnectionNothingIsSent) {
  KESTREL_uid_lists results;
  const auto raises = Raises(940209, "SOA: No connection object - SOA unavailable or not initialized");
  EXPECT_THAT([&] { table->KESTREL_list_saved_queries(); }, raises);
  EXPECT_THAT([&] { table->KESTREL_execute_saved_queries({}, {}, {}, {}, &results); }, raises);
  EXPECT_THAT([&] { table->KESTREL_delete_search_criteria({}); }, raises);
  EXPECT_THAT(server.requests, IsEmpty());
}

}  // namespace
}  // namespace kestrel::test
