// Every entry of the legacy table that takes pointers, lists, UIDs or texts,
// given what a careless or hostile older host might pass: each case ends in
// a clear raised error or in the entry's defined result, never in a crash.
// This build converts no framework exception, so one that the framework
// throws for a bad input is the defined result where a case says so.
//
// The connection stays for the process once made (logout forgets nothing),
// so the cases without a session run once, first, and the last of them
// connects.
#include <climits>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "cadlink/virelmgr.h"
#include "corba/corba.h"
#include "corerun/memory.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/testing.h"
#include "legacy_fixture.h"
#include "support/bad_input_table.h"

namespace kestrel::test {
namespace {

using bad_inputs::kFormat;
using bad_inputs::kFrameworkException;
using bad_inputs::kHuge;
using bad_inputs::kReturns;
using bad_inputs::Start;
using Orvane::PdmSoa::VirelmgrBomLine;
using Orvane::PdmSoa::VirelmgrBomWindow;
using Orvane::PdmSoa::VirelmgrClassificationClass;
using Orvane::PdmSoa::VirelmgrClassificationObject;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrQuery;
namespace props = Halden::Soa::Server::props;

constexpr const char* kRevision = "rev-K-1000-B";
// A UID the framework refuses to look up or construct, in every case.
const std::string kMalformed = "bad%s%n";

// Host objects the library built on the host's memory, given back by the
// test as the host.
struct HostDelete {
  template <class T>
  void operator()(T* object) const {
    if (!object) return;
    object->~T();
    Orvane::Memory::CppMemory::deallocate(object);
  }
};
template <class T>
using HostOwned = std::unique_ptr<T, HostDelete>;

void Free(std::vector<VirelmgrBomLine*>* lines) {
  if (!lines) return;
  for (auto* line : *lines) HostDelete()(line);
  delete lines;
}
void Free(std::vector<VirelmgrClassificationClass*>* classes) {
  if (!classes) return;
  for (auto* c : *classes) HostDelete()(c);
  delete classes;
}
template <class Map>
void FreeClasses(Map* classes) {
  if (!classes) return;
  for (auto& [id, entry] : *classes) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
      HostDelete()(entry);
    } else {
      for (auto* c : entry) HostDelete()(c);
    }
  }
  delete classes;
}

class LegacyBadInputTest;
using Case = bad_inputs::Case<LegacyBadInputTest>;
using T = LegacyBadInputTest;

class LegacyBadInputTest : public LegacyTest {
 public:
  using LegacyTest::ClearRequests;
  using LegacyTest::Requests;
  using LegacyTest::table;
  using LegacyTest::world;

  LegacyBadInputTest() {
    // Properties no policy carries, named as a hostile host might name them.
    world.add_object("odd-probe", {"HX_Odd", "POM_object"}, {props::str(kFormat, kFormat), props::str("", kHuge)});
  }

  void Enter(Start start) {
    Halden::Soa::Client::testing::reset();
    Halden::Soa::Client::testing::set_malformed_uids({kMalformed});
    if (start == Start::kNoSession) {
      if (table->KESTREL_ask_connection()) ADD_FAILURE() << "a case without a session ran after the connect";
    } else if (!table->KESTREL_ask_connection()) {
      Connect();
    }
    ClearRequests();
  }

  // A revision the model manager holds, as the host's object of it.
  VirelmgrModelObject* Revision() {
    return VirelmgrModelObject::GetInstance(kRevision, table->constructObject("ItemRevision", kRevision), 0);
  }
  VirelmgrQuery* AQuery() {
    std::unique_ptr<std::vector<VirelmgrQuery*>> queries(table->KESTREL_list_saved_queries());
    return queries->front();
  }
  HostOwned<VirelmgrBomWindow> Window() {
    return HostOwned<VirelmgrBomWindow>(table->KESTREL_create_bom_window(kRevision));
  }
  VirelmgrClassificationObject* Loaded(const std::string& uid) {
    std::unique_ptr<std::map<std::string, VirelmgrClassificationObject*>> loaded(
        table->KESTREL_load_classification_objects({uid}));
    return loaded->count(uid) ? loaded->at(uid) : nullptr;
  }
};

// Row names made from parts, kept for the run.
const char* Name(const std::string& entry, const char* input) {
  static std::deque<std::string> names;
  return names.emplace_back(entry + "_" + input).c_str();
}

struct OddUid {
  const char* name;
  std::string uid;
};
std::vector<OddUid> OddUids() {
  return {{"uid_empty", ""},
          {"uid_blank", " "},
          {"uid_blanks_around", std::string(" ") + kRevision + " "},
          {"uid_blank_inside", "rev-K 1000-B"},
          {"uid_format", kFormat},
          {"uid_1mb", kHuge}};
}

std::vector<std::string> ManyIds(int count) {
  std::vector<std::string> ids;
  ids.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) ids.push_back("id-" + std::to_string(i));
  return ids;
}

// An entry that takes a UID and a name (slots 31 to 45).
using S = const std::string&;
struct UidEntry {
  const char* name;
  void (*call)(T&, const std::string& uid, const std::string& name);
};
std::vector<UidEntry> UidEntries() {
  return {
      {"string", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_string_by_uid(u, n); }},
      {"int", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_int_by_uid(u, n); }},
      {"double", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_double_by_uid(u, n); }},
      {"logical", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_logical_by_uid(u, n); }},
      {"char", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_char_by_uid(u, n); }},
      {"date", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_date_by_uid(u, n); }},
      {"object", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_object_by_uid(u, n); }},
      {"string_array", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_string_array_by_uid(u, n); }},
      {"int_array", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_int_array_by_uid(u, n); }},
      {"double_array", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_double_array_by_uid(u, n); }},
      {"logical_array", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_logical_array_by_uid(u, n); }},
      {"char_array", [](T& t, S u, S n) { t.table->KESTREL_get_object_property_char_array_by_uid(u, n); }},
      {"date_array", [](T& t, S u, S n) { delete t.table->KESTREL_get_object_property_date_array_by_uid(u, n); }},
      {"object_array", [](T& t, S u, S n) { delete t.table->KESTREL_get_object_property_object_array_by_uid(u, n); }},
      {"related", [](T& t, S u, S n) { delete t.table->KESTREL_get_related_objects_cad(u, n); }},
  };
}

// --- without a session ---------------------------------------------------------

std::vector<Case> NoSessionCases() {
  std::vector<Case> cases = {
      {"ask_connection_before_connect", Start::kNoSession, kReturns,
       [](T& t) { EXPECT_EQ(t.table->KESTREL_ask_connection(), nullptr); }},
      {"logout_before_connect_twice", Start::kNoSession, kReturns,
       [](T& t) {
         EXPECT_EQ(t.table->KESTREL_logout(), 0);
         EXPECT_EQ(t.table->KESTREL_logout(), 0);
       }},
      {"connect_null_host", Start::kNoSession, 940207,
       [](T& t) { t.table->KESTREL_create_connection(nullptr, "HTTP", "engineer", "secret", "", "", ""); }},
      {"connect_null_host_odd_texts", Start::kNoSession, 940207,
       [](T& t) {
         t.table->KESTREL_create_connection(nullptr, kFormat.c_str(), kFormat.c_str(), kHuge.c_str(), nullptr,
                                            kFormat.c_str(), kHuge.c_str());
       }},
      {"type_name_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_ask_type_name_of_uid(kRevision); }},
      {"construct_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->constructObject("ItemRevision", kRevision); }},
      {"construct_empty_type_no_session", Start::kNoSession, 940209, [](T& t) { t.table->constructObject("", ""); }},
      {"get_properties_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_get_properties({}, {}); }},
      {"get_properties_null_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_get_properties({nullptr}, {}); }},
      {"preferences_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_ask_preference_values(kFormat, kFormat); }},
      {"list_queries_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_list_saved_queries(); }},
      {"describe_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_describe_saved_queries({}); }},
      {"describe_null_no_session", Start::kNoSession, 940208,
       [](T& t) { t.table->KESTREL_describe_saved_queries({nullptr}); }},
      {"execute_null_no_session", Start::kNoSession, 940208,
       [](T& t) { delete t.table->KESTREL_execute_saved_query(nullptr, {}, {}, 0); }},
      {"execute_no_session", Start::kNoSession, 940209,
       [](T& t) {
         VirelmgrQuery query("query-item-id", nullptr);
         delete t.table->KESTREL_execute_saved_query(&query, {"Item ID"}, {"K-1000"}, 10);
       }},
      {"save_criteria_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_save_search_criteria({}); }},
      {"delete_criteria_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_delete_search_criteria({kFormat}); }},
      {"retrieve_criteria_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_retrieve_search_criteria({}); }},
      {"create_window_no_session", Start::kNoSession, 940209,
       [](T& t) { HostDelete()(t.table->KESTREL_create_bom_window(kRevision)); }},
      {"close_window_no_session", Start::kNoSession, 940209,
       [](T& t) {
         VirelmgrBomWindow window("window-1", nullptr);
         t.table->KESTREL_close_bom_window(&window);
       }},
      {"close_window_null_no_session", Start::kNoSession, 940208,
       [](T& t) { t.table->KESTREL_close_bom_window(nullptr); }},
      {"top_line_null_no_session", Start::kNoSession, 940208, [](T& t) { t.table->KESTREL_ask_bom_top_line(nullptr); }},
      {"expand_no_session", Start::kNoSession, 940209,
       [](T& t) {
         VirelmgrBomLine line("line-1", nullptr);
         Free(t.table->KESTREL_expand_bom_line(&line));
       }},
      {"expand_null_no_session", Start::kNoSession, 940208,
       [](T& t) { Free(t.table->KESTREL_expand_bom_line(nullptr)); }},
      {"write_classification_null_no_session", Start::kNoSession, 940208,
       [](T& t) { t.table->KESTREL_write_classification_objects({nullptr}); }},
      {"write_classification_2_null_no_session", Start::kNoSession, 940208,
       [](T& t) { t.table->KESTREL_write_classification_objects_2({nullptr}); }},
      {"write_classification_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_write_classification_objects({}); }},
      {"send_classification_uids_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_send_classification_object_uids({""}); }},
      {"classification_classes_no_session", Start::kNoSession, 940209,
       [](T& t) { FreeClasses(t.table->KESTREL_ask_classification_classes({kFormat})); }},
      {"class_descriptions_no_session", Start::kNoSession, 940209,
       [](T& t) { FreeClasses(t.table->KESTREL_ask_class_descriptions({})); }},
      {"classification_table_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_classification_table({}); }},
      {"objects_of_classification_ids_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_objects_of_classification_ids({}); }},
      {"class_attributes_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_class_attributes({}); }},
      {"find_classes_no_session", Start::kNoSession, 940209, [](T& t) { Free(t.table->KESTREL_find_classes({})); }},
      {"find_classification_objects_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_find_classification_objects({}); }},
      {"classification_pom_objects_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_classification_pom_objects({}); }},
      {"classifications_of_objects_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_classifications_of_objects({}); }},
      {"load_classification_objects_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_load_classification_objects({}); }},
      {"classification_value_tables_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_classification_value_tables({}); }},
      // Neither asks the server: the outside functions answer as they do.
      {"cookie_info_odd_keys", Start::kNoSession, kReturns,
       [](T& t) {
         std::string out[5];
         for (const char* key : {static_cast<const char*>(nullptr), "", kFormat.c_str(), kHuge.c_str()})
           t.table->KESTREL_get_cookie_info(key, out[0], out[1], out[2], out[3], out[4]);
       }},
      {"gateway_ior_odd_arguments", Start::kNoSession, kReturns,
       [](T& t) {
         EXPECT_EQ(t.table->KESTREL_get_gateway_ior(nullptr, INT_MIN, INT_MIN), nullptr);
         Halden::Soa::Client::testing::set_gateway_answers(
             {{Halden::Soa::Client::testing::GatewayAnswer::Kind::Throw, ""}});
         CORBA_Object object{kFormat};
         EXPECT_EQ(t.table->KESTREL_get_gateway_ior(&object, 3, -1), nullptr);
         EXPECT_EQ(t.table->KESTREL_get_gateway_ior(nullptr, 0, 0), nullptr);
       }},
  };
  for (const UidEntry& entry : UidEntries())
    cases.push_back({Name(entry.name, "no_session"), Start::kNoSession, 940209,
                     [call = entry.call](T& t) { call(t, kRevision, "object_name"); }});
  // Last: the connection this makes stays for every case after it. Odd
  // texts reach the log only as arguments; a second connect does nothing.
  cases.push_back({"connect_odd_texts_twice", Start::kNoSession, kReturns, [](T& t) {
                     clear_log();
                     t.table->KESTREL_create_connection(kHost, kFormat.c_str(), kFormat.c_str(), kHuge.c_str(),
                                                        kFormat.c_str(), kHuge.c_str(), kFormat.c_str());
                     Halden::Soa::Client::Connection* connection = t.table->KESTREL_ask_connection();
                     ASSERT_NE(connection, nullptr);
                     EXPECT_EQ(connection->getProtocol(), Halden::Soa::Client::IIOP);
                     EXPECT_EQ(log_lines().front(),
                               "SOA connection created for user " + kFormat + ", group " + kFormat + ", role " + kHuge);
                     t.table->KESTREL_create_connection(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
                     EXPECT_EQ(t.table->KESTREL_ask_connection(), connection);
                   }});
  return cases;
}

// --- session, objects and properties (slots 0 to 4, 29 to 45) ------------------

std::vector<Case> ObjectCases() {
  std::vector<Case> cases = {
      {"connect_again_changes_nothing", Start::kConnected, kReturns,
       [](T& t) {
         Halden::Soa::Client::Connection* connection = t.table->KESTREL_ask_connection();
         t.table->KESTREL_create_connection(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
         t.table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "", "", "");
         EXPECT_EQ(t.table->KESTREL_ask_connection(), connection);
         EXPECT_TRUE(t.Requests().empty());
       }},
      // Logout forgets nothing: the entries go on as before.
      {"entries_after_logout_twice", Start::kConnected, kReturns,
       [](T& t) {
         EXPECT_EQ(t.table->KESTREL_logout(), 0);
         EXPECT_EQ(t.table->KESTREL_logout(), 0);
         EXPECT_NE(t.table->KESTREL_ask_connection(), nullptr);
         t.Revision();
         EXPECT_EQ(t.table->KESTREL_ask_type_name_of_uid(kRevision), "ItemRevision");
         EXPECT_FALSE(t.table->KESTREL_get_object_property_string_by_uid(kRevision, "object_name").empty());
         delete t.table->KESTREL_list_saved_queries();
         HostOwned<VirelmgrBomWindow> window = t.Window();
         t.table->KESTREL_close_bom_window(window.get());
       }},
      {"construct_empty_type", Start::kConnected, 940208, [](T& t) { t.table->constructObject("", kRevision); }},
      {"construct_malformed_uid", Start::kConnected, kFrameworkException,
       [](T& t) { t.table->constructObject("ItemRevision", kMalformed); }},
      {"type_name_malformed_uid", Start::kConnected, kFrameworkException,
       [](T& t) { t.table->KESTREL_ask_type_name_of_uid(kMalformed); }},
      {"get_properties_null_entry", Start::kConnected, 940208,
       [](T& t) {
         t.table->KESTREL_get_properties({t.Revision(), nullptr}, {"object_name"});
       }},
      {"get_properties_unknown_uid", Start::kConnected, 940205,
       [](T& t) {
         VirelmgrModelObject stranger(kFormat, nullptr);
         t.table->KESTREL_get_properties({&stranger}, {"object_name"});
       }},
      {"get_properties_malformed_uid", Start::kConnected, kFrameworkException,
       [](T& t) {
         VirelmgrModelObject stranger(kMalformed, nullptr);
         t.table->KESTREL_get_properties({&stranger}, {});
       }},
      {"get_properties_odd_lists", Start::kConnected, kReturns,
       [](T& t) {
         t.table->KESTREL_get_properties({}, {});
         t.table->KESTREL_get_properties(std::vector<VirelmgrModelObject*>(1000, t.Revision()),
                                         {"", kFormat, kHuge, "object_name", "object_name"});
         EXPECT_EQ(t.Requests(), (std::vector<std::string>{"getProperties", "getProperties"}));
       }},
      {"preferences_odd_texts", Start::kConnected, kReturns,
       [](T& t) {
         for (const std::string& text : {std::string(), std::string(" "), kFormat, kHuge})
           EXPECT_TRUE(t.table->KESTREL_ask_preference_values(text, text).empty());
       }},
      // The property named as a format is outside every policy: loaded on
      // its own, then warned of with its name as an argument.
      {"getter_force_load_odd_name", Start::kConnected, kReturns,
       [](T& t) {
         clear_log();
         EXPECT_EQ(t.table->KESTREL_get_object_property_string_by_uid("odd-probe", kFormat), kFormat);
         EXPECT_EQ(t.table->KESTREL_get_object_property_string_by_uid("odd-probe", ""), kHuge);
         EXPECT_EQ(log_lines().front(), "SOA Warning: force-load of property " + kFormat + " on object of type HX_Odd");
       }},
      {"related_odd_relation_names", Start::kConnected, kReturns,
       [](T& t) {
         for (const std::string& name : {std::string(), kFormat, kHuge})
           delete t.table->KESTREL_get_related_objects_cad(kRevision, name);
       }},
  };
  // UIDs no object has. The getters load by UID, and a load refuses no UID,
  // the malformed one included; the type name looks it up, which refuses it.
  std::vector<OddUid> uids = OddUids();
  uids.push_back({"uid_malformed", kMalformed});
  for (const OddUid& odd : uids) {
    if (odd.uid != kMalformed)
      cases.push_back({Name("type_name", odd.name), Start::kConnected, 940209,
                       [uid = odd.uid](T& t) { t.table->KESTREL_ask_type_name_of_uid(uid); }});
    for (const UidEntry& entry : UidEntries())
      cases.push_back({Name(entry.name, odd.name), Start::kConnected, 940209,
                       [call = entry.call, uid = odd.uid](T& t) { call(t, uid, "object_name"); }});
  }
  // A property name the object lacks: the second read after the load is
  // the framework's, unguarded.
  for (const UidEntry& entry : UidEntries()) {
    if (std::string(entry.name) == "related") continue;
    for (const OddUid& odd : {OddUid{"name_format", kFormat}, OddUid{"name_1mb", kHuge}})
      cases.push_back({Name(entry.name, odd.name), Start::kConnected, kFrameworkException,
                       [call = entry.call, name = odd.uid](T& t) { call(t, kRevision, name); }});
  }
  // Constructing is local: any UID gives an object (after the look-ups above).
  cases.push_back({"construct_odd_uids", Start::kConnected, kReturns, [](T& t) {
                     for (const OddUid& odd : OddUids())
                       EXPECT_NE(t.table->constructObject("ItemRevision", odd.uid), nullptr) << odd.name;
                     EXPECT_NE(t.table->constructObject(kFormat, kFormat), nullptr);
                     EXPECT_NE(t.table->constructObject(kHuge, kHuge), nullptr);
                   }});
  return cases;
}

// --- saved queries and search criteria (slots 5 to 10) -------------------------

std::vector<Case> QueryCases() {
  return {
      {"describe_null_entry", Start::kConnected, 940208,
       [](T& t) {
         t.table->KESTREL_describe_saved_queries({t.AQuery(), nullptr});
       }},
      {"describe_empty_orphan_and_many", Start::kConnected, kReturns,
       [](T& t) {
         t.table->KESTREL_describe_saved_queries({});
         VirelmgrQuery orphan(kFormat, nullptr);
         t.table->KESTREL_describe_saved_queries({&orphan, t.AQuery(), &orphan});
         t.table->KESTREL_describe_saved_queries(std::vector<VirelmgrQuery*>(1000, t.AQuery()));
       }},
      {"execute_null_query", Start::kConnected, 940208,
       [](T& t) { delete t.table->KESTREL_execute_saved_query(nullptr, {"Item ID"}, {"K-1000"}, 10); }},
      {"execute_odd_entries_and_limits", Start::kConnected, kReturns,
       [](T& t) {
         VirelmgrQuery* query = t.AQuery();
         for (int limit : {INT_MIN, -1, 0, INT_MAX}) {
           delete t.table->KESTREL_execute_saved_query(query, {}, {}, limit);
           delete t.table->KESTREL_execute_saved_query(query, {kFormat, kHuge, ""}, {kFormat}, limit);
           delete t.table->KESTREL_execute_saved_query(query, {"Item ID"}, {kHuge, kFormat, ""}, limit);
         }
       }},
      {"execute_twice_in_a_row", Start::kConnected, kReturns,
       [](T& t) {
         VirelmgrQuery* query = t.AQuery();
         std::unique_ptr<std::vector<VirelmgrModelObject*>> first(
             t.table->KESTREL_execute_saved_query(query, {"Item ID"}, {"K-1000"}, 10));
         std::unique_ptr<std::vector<VirelmgrModelObject*>> second(
             t.table->KESTREL_execute_saved_query(query, {"Item ID"}, {"K-1000"}, 10));
         EXPECT_EQ(*first, *second);
       }},
      {"criteria_odd_texts_twice", Start::kConnected, kReturns,
       [](T& t) {
         const std::vector<SearchCriteria> criteria = {{kFormat, kHuge, {"", kFormat}, {kHuge}}, {"", "", {}, {}}};
         for (int i = 0; i < 2; ++i) {
           t.table->KESTREL_save_search_criteria({});
           t.table->KESTREL_save_search_criteria(criteria);
           delete t.table->KESTREL_retrieve_search_criteria({});
           delete t.table->KESTREL_retrieve_search_criteria({kFormat, kHuge, ""});
           t.table->KESTREL_delete_search_criteria({});
           t.table->KESTREL_delete_search_criteria({kFormat, kHuge, "", kFormat});
         }
       }},
      {"criteria_many", Start::kConnected, kReturns,
       [](T& t) {
         std::vector<SearchCriteria> criteria;
         for (const std::string& id : ManyIds(1000)) criteria.push_back({id, id, {id}, {id}});
         t.table->KESTREL_save_search_criteria(criteria);
         delete t.table->KESTREL_retrieve_search_criteria(ManyIds(1000));
         t.table->KESTREL_delete_search_criteria(ManyIds(1000));
       }},
  };
}

// --- BOM windows and lines (slots 11 to 14) ------------------------------------

std::vector<Case> BomCases() {
  std::vector<Case> cases = {
      {"close_window_null", Start::kConnected, 940208, [](T& t) { t.table->KESTREL_close_bom_window(nullptr); }},
      {"top_line_null", Start::kConnected, 940208, [](T& t) { t.table->KESTREL_ask_bom_top_line(nullptr); }},
      {"expand_null", Start::kConnected, 940208, [](T& t) { Free(t.table->KESTREL_expand_bom_line(nullptr)); }},
      {"top_line_orphan", Start::kConnected, 940209,
       [](T& t) {
         VirelmgrBomWindow orphan(kFormat, nullptr);
         t.table->KESTREL_ask_bom_top_line(&orphan);
       }},
      // A host object without a server object has nothing to send.
      {"close_window_orphan", Start::kConnected, 940209,
       [](T& t) {
         VirelmgrBomWindow orphan(kFormat, nullptr);
         t.table->KESTREL_close_bom_window(&orphan);
       }},
      {"expand_orphan", Start::kConnected, 940209,
       [](T& t) {
         VirelmgrBomLine orphan(kFormat, nullptr);
         Free(t.table->KESTREL_expand_bom_line(&orphan));
       }},
      {"execute_orphan", Start::kConnected, 940209,
       [](T& t) {
         VirelmgrQuery orphan(kFormat, nullptr);
         delete t.table->KESTREL_execute_saved_query(&orphan, {"Item ID"}, {"K-1000"}, 10);
       }},
      {"create_window_malformed_uid", Start::kConnected, kFrameworkException,
       [](T& t) { HostDelete()(t.table->KESTREL_create_bom_window(kMalformed)); }},
      {"window_lines_twice_in_a_row", Start::kConnected, kReturns,
       [](T& t) {
         HostOwned<VirelmgrBomWindow> window = t.Window();
         VirelmgrBomLine* top = t.table->KESTREL_ask_bom_top_line(window.get());
         EXPECT_EQ(t.table->KESTREL_ask_bom_top_line(window.get()), top);
         Free(t.table->KESTREL_expand_bom_line(top));
         Free(t.table->KESTREL_expand_bom_line(top));
         t.table->KESTREL_close_bom_window(window.get());
         t.table->KESTREL_close_bom_window(window.get());
       }},
  };
  for (const OddUid& odd : OddUids())
    cases.push_back({Name("create_window", odd.name), Start::kConnected, 940209,
                     [uid = odd.uid](T& t) { HostDelete()(t.table->KESTREL_create_bom_window(uid)); }});
  return cases;
}

// --- classification (slots 15 to 28) -------------------------------------------

std::vector<std::string> OddIds() {
  return {"", " ", "CL-BOLT ", "CL BOLT", kFormat, kHuge, kMalformed, "CL-BOLT", "CL-BOLT"};
}

std::vector<Case> ClassificationCases() {
  return {
      {"write_classification_null_entry", Start::kConnected, 940208,
       [](T& t) {
         t.table->KESTREL_write_classification_objects({t.Loaded("ico-bolt-m8"), nullptr});
       }},
      {"write_classification_2_null_entry", Start::kConnected, 940208,
       [](T& t) {
         t.table->KESTREL_write_classification_objects_2({nullptr, t.Loaded("ico-bolt-m8")});
       }},
      {"write_classification_odd_objects_twice", Start::kConnected, kReturns,
       [](T& t) {
         t.table->KESTREL_write_classification_objects({});
         t.table->KESTREL_write_classification_objects_2({});
         VirelmgrClassificationObject* bolt = t.Loaded("ico-bolt-m8");
         ASSERT_NE(bolt, nullptr);
         bolt->text1 = kFormat;
         bolt->text2 = kHuge;
         bolt->code = INT_MIN;
         bolt->values = {{INT_MIN, {{kFormat, kHuge}, {"", ""}}}, {INT_MAX, {}}};
         VirelmgrClassificationObject* stranger = VirelmgrClassificationObject::ConstructObjectFromUid(kFormat);
         ASSERT_NE(stranger, nullptr);
         for (int i = 0; i < 2; ++i) {
           t.table->KESTREL_write_classification_objects({bolt, stranger, bolt});
           t.table->KESTREL_write_classification_objects_2({stranger, bolt, stranger});
         }
       }},
      {"classification_odd_ids", Start::kConnected, kReturns,
       [](T& t) {
         for (const auto& ids : {std::vector<std::string>{}, OddIds(), ManyIds(1000)}) {
           t.table->KESTREL_send_classification_object_uids(ids);
           FreeClasses(t.table->KESTREL_ask_classification_classes(ids));
           FreeClasses(t.table->KESTREL_ask_class_descriptions(ids));
           delete t.table->KESTREL_ask_classification_table(ids);
           delete t.table->KESTREL_ask_objects_of_classification_ids(ids);
           delete t.table->KESTREL_ask_class_attributes(ids);
           delete t.table->KESTREL_ask_classification_pom_objects(ids);
           delete t.table->KESTREL_ask_classifications_of_objects(ids);
           delete t.table->KESTREL_load_classification_objects(ids);
           delete t.table->KESTREL_ask_classification_value_tables(ids);
         }
       }},
      {"classification_odd_searches", Start::kConnected, kReturns,
       [](T& t) {
         Free(t.table->KESTREL_find_classes({}));
         Free(t.table->KESTREL_find_classes({{INT_MIN, kFormat, INT_MAX}, {0, kHuge, -1}, {1, "", 8}}));
         delete t.table->KESTREL_find_classification_objects({});
         delete t.table->KESTREL_find_classification_objects(
             {{{"", kFormat, kHuge}, {{INT_MIN, kFormat}, {INT_MAX, kHuge}}, INT_MIN}, {{}, {}, INT_MAX}});
         std::vector<ClassQuery> many;
         for (const std::string& id : ManyIds(1000)) many.push_back({1, id, 2});
         Free(t.table->KESTREL_find_classes(many));
       }},
  };
}

std::vector<Case> Cases() {
  std::vector<Case> cases = NoSessionCases();
  for (auto block : {ObjectCases, QueryCases, BomCases, ClassificationCases}) {
    std::vector<Case> more = block();
    cases.insert(cases.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  }
  return cases;
}

TEST_F(LegacyBadInputTest, EndInAClearErrorOrTheDefinedResult) {
  LegacyBadInputTest& fixture = *this;
  EXPECT_EQ(bad_inputs::Run(fixture, Cases(), "legacy bad inputs", false), 0);
}

}  // namespace
}  // namespace kestrel::test
