// Every built entry that takes pointers, lists, UIDs, dates or texts, given
// what a careless or hostile host might pass: each case ends in a clear
// raised error or in the entry's defined result, never in a crash. Caller
// texts reach the logs and messages only as arguments, so '%s%n' is harmless.
//
// One table for the whole library: an area that builds an entry adds its
// rows to kCases (or a block of rows of its own, appended in Cases()).
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/Classification.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"
#include "support/bad_input_table.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::BomWindow;
using Orvane::PdmSoa::ItemRevision;
using Obj = Orvane::PdmSoa::ModelObject;

using bad_inputs::kAnyError;
using bad_inputs::kFormat;
using bad_inputs::kFrameworkException;
using bad_inputs::kHuge;
using bad_inputs::kReturns;
// Cases without a session run twice: before the first connect and after a
// logout.
using bad_inputs::Start;

class BadInputTest;
using Case = bad_inputs::Case<BadInputTest>;

class BadInputTest : public SessionTest {
 public:
  using SessionTest::ClearRequests;
  using SessionTest::Connect;
  using SessionTest::Requests;
  using SessionTest::table;
  // What the cases work on, fetched in the session the case runs in.
  ItemRevision* Revision() { return table->KESTREL_get_item_revision_by_id("K-1000", "B", 0); }
  BomWindow* Window() { return table->KESTREL_create_bom_window(Revision()->GetUid().utf8()); }
  BomLine* TopLine() { return table->KESTREL_ask_bom_top_line(Window()); }
  Orvane::PdmSoa::Item* Item() {
    std::unique_ptr<std::vector<Orvane::PdmSoa::Item*>> items(table->KESTREL_get_items_by_id({{"K-1000", {}}}, 0));
    return items->empty() ? nullptr : items->front();
  }
  // Frees what an expansion handed to the host.
  static void Free(std::vector<BomLine*>* lines) {
    if (!lines) return;
    for (BomLine* line : *lines) delete line;
    delete lines;
  }
  static void Free(std::vector<std::vector<BomLine*>*>* lists) {
    if (!lists) return;
    for (auto* list : *lists) Free(list);
    delete lists;
  }
  // A host object loaded by UID, or null.
  Obj* Load(const std::string& uid) {
    std::vector<Obj*> out;
    table->KESTREL_load_objects({UString(uid)}, &out);
    return out.empty() ? nullptr : out.front();
  }
  Orvane::PdmSoa::Query* AQuery() {
    std::unique_ptr<std::vector<Orvane::PdmSoa::Query*>> queries(table->KESTREL_list_saved_queries());
    return queries->front();
  }
  // Debug lines of every flag on (texts then reach them as arguments).
  static void Debug(bool on) {
    MACH__checking_level = on ? 1 : 0;
    for (const char* flag : {"TOVMGR_debug_soa", "TOVMGR_soa_save_assy", "CHECK_REQ"})
      corerun::testing::set_debug_flag(flag, on);
  }
  void Enter(Start start) {
    if (table->KESTREL_ask_connection()) table->KESTREL_logout(false);
    Debug(false);
    Halden::Soa::Client::testing::reset();
    if (start == Start::kConnected) Connect();
    if (start == Start::kLoggedIn) ConnectAndLogin();
    ClearRequests();
  }
};

// 1 MB and ordinary strings as host texts.
std::vector<UString> Uids(std::vector<std::string> texts) {
  std::vector<UString> out;
  for (auto& t : texts) out.emplace_back(t);
  return out;
}

std::vector<UString> ManyUids(int count) {
  std::vector<UString> out;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out.emplace_back("uid-" + std::to_string(i));
  return out;
}

// --- relative-structure batches (slots 21 to 28) -----------------------------

using Texts = std::map<std::string, std::string>;
using Components = std::map<std::string, Orvane::PdmSoa::Component*>;

// Commits the update batch and frees what the host is handed.
void CommitUpdate(BadInputTest& t) {
  Components* components = nullptr;
  std::unique_ptr<Texts> handles(t.table->KESTREL_RelativeStructureUpdateCommit(true, &components));
  delete components;
}

// An update batch with one parent (AssyId 1) open on the cart's revision.
void OpenUpdate(BadInputTest& t) {
  t.table->KESTREL_RelativeStructureUpdateStart();
  t.table->KESTREL_RelativeStructureUpdateStartAssy(1, t.Revision(), false, nullptr);
}
void OpenDelete(BadInputTest& t) {
  t.table->KESTREL_RelativeStructureDeleteStart();
  t.table->KESTREL_RelativeStructureDeleteStartAssy(1, t.Revision(), nullptr);
}

std::vector<Case> BatchCases() {
  using T = BadInputTest;
  const double matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1e308, -1e308, 0, 1};
  return {
      // Nothing to send needs no server.
      {"batch_commit_empty", Start::kNoSession, kReturns,
       [](T& t) {
         t.table->KESTREL_RelativeStructureUpdateStart();
         CommitUpdate(t);
         t.table->KESTREL_RelativeStructureDeleteStart();
         t.table->KESTREL_RelativeStructureDeleteCommit();
       }},
      {"batch_commit_twice", Start::kNoSession, kReturns,
       [](T& t) {
         CommitUpdate(t);
         CommitUpdate(t);
         t.table->KESTREL_RelativeStructureDeleteCommit();
         t.table->KESTREL_RelativeStructureDeleteCommit();
       }},
      {"batch_add_child_unstarted", Start::kNoSession, 940208,
       [](T& t) {
         CommitUpdate(t);
         t.table->KESTREL_RelativeStructureAddChild(1, 1, nullptr, "", nullptr, false, nullptr, nullptr);
       }},
      {"batch_delete_child_unstarted", Start::kNoSession, 940208,
       [](T& t) {
         t.table->KESTREL_RelativeStructureDeleteCommit();
         t.table->KESTREL_RelativeStructureDeleteChild(1, "thread-1");
       }},
      {"batch_start_assy_unstarted", Start::kLoggedIn, 940208,
       [](T& t) {
         CommitUpdate(t);
         t.table->KESTREL_RelativeStructureUpdateStartAssy(1, t.Revision(), false, nullptr);
       }},
      {"batch_null_parent", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_RelativeStructureUpdateStart();
         t.table->KESTREL_RelativeStructureUpdateStartAssy(1, nullptr, false, nullptr);
       }},
      {"batch_delete_null_parent", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_RelativeStructureDeleteStart();
         t.table->KESTREL_RelativeStructureDeleteStartAssy(1, nullptr, nullptr);
       }},
      {"batch_orphan_parent", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_RelativeStructureUpdateStart();
         t.table->KESTREL_RelativeStructureUpdateStartAssy(1, &orphan, false, nullptr);
       }},
      {"batch_unknown_assy_id", Start::kLoggedIn, 940208,
       [](T& t) {
         OpenUpdate(t);
         t.table->KESTREL_RelativeStructureAddChild(INT_MIN, 1, t.Revision(), "cad", nullptr, false, nullptr, nullptr);
       }},
      {"batch_delete_unknown_assy_id", Start::kLoggedIn, 940208,
       [](T& t) {
         OpenDelete(t);
         t.table->KESTREL_RelativeStructureDeleteChild(INT_MAX, "thread-1");
       }},
      {"batch_invalid_date", Start::kLoggedIn, 940208,
       [](T& t) {
         date_s date{2024, 12, 40, 25, 61, 61};
         t.table->KESTREL_RelativeStructureUpdateStart();
         t.table->KESTREL_RelativeStructureUpdateStartAssy(1, t.Revision(), false, &date);
       }},
      {"batch_delete_invalid_date", Start::kLoggedIn, 940208,
       [](T& t) {
         date_s date{65535, 255, 255, 255, 255, 255};
         t.table->KESTREL_RelativeStructureDeleteStart();
         t.table->KESTREL_RelativeStructureDeleteStartAssy(1, t.Revision(), &date);
       }},
      // A date the BOM view never had: the server refuses the parent.
      {"batch_extreme_dates", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (date_s date : {date_s{1900, 0, 1, 0, 0, 0}, date_s{9999, 11, 31, 23, 59, 59}, null_date}) {
           t.table->KESTREL_RelativeStructureUpdateStart();
           t.table->KESTREL_RelativeStructureUpdateStartAssy(1, t.Revision(), true, &date);
           t.table->KESTREL_RelativeStructureAddChild(1, 1, t.Load("rev-K-9001-A"), "", nullptr, false, nullptr,
                                                      nullptr);
           CommitUpdate(t);
         }
       }},
      // Odd texts and ids go to the server as given, and to the debug lines
      // only as arguments.
      {"batch_odd_texts", Start::kLoggedIn, kReturns,
       [matrix](T& t) {
         T::Debug(true);
         const Texts texts = {{kFormat, kFormat}, {"", ""}, {kHuge, kHuge}};
         OpenUpdate(t);
         t.table->KESTREL_RelativeStructureAddChild(1, INT_MIN, nullptr, kFormat, matrix, true, &texts, &texts);
         t.table->KESTREL_RelativeStructureAddChild(1, INT_MAX, t.Load("rev-K-9001-A"), kHuge, matrix, false, &texts,
                                                    &texts);
         t.table->KESTREL_RelativeStructureAddChild(1, INT_MAX, nullptr, "", nullptr, false, nullptr, nullptr);
         CommitUpdate(t);
         OpenDelete(t);
         for (const std::string& uid : {std::string(""), std::string(" "), std::string("a b"), kFormat, kHuge})
           t.table->KESTREL_RelativeStructureDeleteChild(1, uid);
         t.table->KESTREL_RelativeStructureDeleteCommit();
       }},
      {"batch_10k_children", Start::kLoggedIn, kReturns,
       [](T& t) {
         OpenUpdate(t);
         Obj* bolt = t.Load("rev-K-9001-A");
         for (int i = 0; i < 10000; ++i)
           t.table->KESTREL_RelativeStructureAddChild(1, i, bolt, "cad-" + std::to_string(i), nullptr, false, nullptr,
                                                      nullptr);
         CommitUpdate(t);
       }},
      {"batch_null_components", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_RelativeStructureUpdateCommit(true, nullptr); }},
      // A batch kept over a logout meets no connection at its commit.
      {"batch_commit_after_logout", Start::kLoggedIn, 940209,
       [](T& t) {
         OpenUpdate(t);
         t.table->KESTREL_RelativeStructureAddChild(1, 1, t.Load("rev-K-9001-A"), "", nullptr, false, nullptr, nullptr);
         t.table->KESTREL_logout(true);
         CommitUpdate(t);
       }},
      {"batch_delete_commit_after_logout", Start::kLoggedIn, 940209,
       [](T& t) {
         OpenDelete(t);
         t.table->KESTREL_RelativeStructureDeleteChild(1, "thread-1");
         t.table->KESTREL_logout(true);
         t.table->KESTREL_RelativeStructureDeleteCommit();
       }},
  };
}

// --- object operations (slots 35, 73 to 79, 86, 92 to 94, 101) -----------------

std::vector<Case> ObjectOperationCases() {
  using T = BadInputTest;
  constexpr const char* kObjectSource = "kestrel_object.cpp";
  using Objects = std::vector<Obj*>;
  return {
      {"refresh_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_refresh_objects({}); },
       kObjectSource},
      {"delete_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_delete_objects({}); },
       kObjectSource},
      {"checkout_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_checkout_objects({}, "", ""); },
       kObjectSource},
      {"checkin_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_checkin_objects({}); },
       kObjectSource},
      {"cancel_checkout_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_cancel_checkout({}); },
       kObjectSource},
      {"refresh_null", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_refresh_objects({t.Revision(), nullptr});
       }},
      {"refresh_orphan", Start::kLoggedIn, 940205,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_refresh_objects({&orphan});
       }},
      {"refresh_1000_times_one", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_refresh_objects(Objects(1000, t.Revision())); }},
      {"delete_null", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_delete_objects({nullptr}); }},
      {"delete_orphan", Start::kLoggedIn, 940205,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_delete_objects({&orphan});
       }},
      {"delete_empty_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_delete_objects({});
         t.table->KESTREL_delete_objects({});
       }},
      {"checkout_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_checkout_objects({nullptr}, kFormat, kFormat); }},
      {"checkin_null", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_checkin_objects({nullptr}); }},
      {"cancel_checkout_orphan", Start::kLoggedIn, 940205,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_cancel_checkout({&orphan});
       }},
      {"checkout_odd_texts_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_checkout_objects({t.Revision()}, kFormat, kHuge);
         t.table->KESTREL_checkout_objects({t.Revision()}, kHuge, kFormat);
         t.table->KESTREL_checkin_objects({t.Revision()});
         t.table->KESTREL_cancel_checkout({t.Revision()});
       }},
      {"type_descriptions_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_ask_type_descriptions({});
         delete t.table->KESTREL_ask_type_descriptions({{"", {}}, {kFormat, {kFormat, kHuge}}, {kHuge, {""}}});
       }},
      {"related_cad_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_get_related_objects_cad(nullptr, "OSTRA_specification"); }},
      {"related_cad_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         delete t.table->KESTREL_get_related_objects_cad(&orphan, "OSTRA_specification");
       }},
      {"related_cad_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (const std::string& name : {std::string(""), kFormat, kHuge})
           delete t.table->KESTREL_get_related_objects_cad(t.Revision(), name);
       }},
      {"related_core_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_get_related_objects_core({nullptr}, {"OSTRA_specification"}); }},
      {"related_core_2_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_get_related_objects_core_2({&orphan}, {});
       }},
      {"related_core_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (auto* result : {t.table->KESTREL_get_related_objects_core({}, {}),
                              t.table->KESTREL_get_related_objects_core({t.Revision()}, {"", kFormat, kHuge}),
                              t.table->KESTREL_get_related_objects_core_2({t.Revision()}, {kFormat})}) {
           for (auto& record : *result)
             for (RelatedGroup* group : record.groups) delete group;
           delete result;
         }
       }},
      {"set_properties_null", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_set_properties({nullptr}, {{"object_desc", {UString("x")}}});
       }},
      {"set_properties_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_set_properties({&orphan}, {});
       }},
      {"set_properties_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_set_properties({}, {});
         t.table->KESTREL_set_properties(
             {t.Revision()}, {{"", {}}, {kFormat, {UString(kFormat)}}, {"object_desc", {UString(kHuge), UString("")}}});
       }},
      {"items_with_revisions_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_get_items_with_revisions({nullptr}, {}, true, 0); }},
      {"items_with_revisions_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_get_items_with_revisions({}, {}, false, INT_MIN);
         delete t.table->KESTREL_get_items_with_revisions({t.Item(), t.Item()}, {"", kFormat, kHuge}, true, INT_MAX);
       }},
      {"type_hierarchy_null", Start::kNoSession, kReturns, [](T& t) { t.table->KESTREL_ask_type_hierarchy(nullptr); }},
      {"dataset_references_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_ask_dataset_references({nullptr}); }},
      {"dataset_references_empty", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_ask_dataset_references({}); }},
  };
}

// --- saved queries and search criteria (slots 8 to 14) ------------------------

std::vector<Case> SavedQueryCases() {
  using T = BadInputTest;
  using Orvane::PdmSoa::Query;
  using Lists = std::vector<std::vector<std::string>>;
  return {
      {"list_queries_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_list_saved_queries(); }},
      {"describe_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_describe_saved_queries({}); }},
      {"save_criteria_no_session", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_save_search_criteria({}); }},
      {"delete_criteria_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_delete_search_criteria({}); }},
      {"describe_null", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_describe_saved_queries({t.AQuery(), nullptr});
       }},
      {"describe_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         Query orphan(nullptr);
         t.table->KESTREL_describe_saved_queries({});
         t.table->KESTREL_describe_saved_queries({&orphan, t.AQuery(), t.AQuery()});
       }},
      {"execute_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_execute_saved_query(nullptr, {}, {}, 0); }},
      {"execute_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Query orphan(nullptr);
         delete t.table->KESTREL_execute_saved_query(&orphan, {"Item ID"}, {"K-1000"}, 10);
       }},
      {"execute_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         Query* query = t.AQuery();
         delete t.table->KESTREL_execute_saved_query(query, {"Item ID", kFormat}, {kHuge}, INT_MIN);
         delete t.table->KESTREL_execute_saved_query(query, {}, {kFormat, "", kHuge}, INT_MAX);
         delete t.table->KESTREL_execute_saved_query(query, std::vector<std::string>(10000, "Item ID"),
                                                     std::vector<std::string>(10000, "*"), -1);
       }},
      {"execute_batch_null_results", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_execute_saved_queries({}, {}, {}, {}, nullptr); }},
      {"execute_batch_null_query", Start::kLoggedIn, 940208,
       [](T& t) {
         KESTREL_uid_lists results;
         t.table->KESTREL_execute_saved_queries({nullptr}, {{}}, {{}}, {0}, &results);
       }},
      {"execute_batch_short_lists", Start::kLoggedIn, 940208,
       [](T& t) {
         KESTREL_uid_lists results;
         t.table->KESTREL_execute_saved_queries({t.AQuery(), t.AQuery()}, {{}, {}}, {{}}, {0, 0}, &results);
       }},
      {"execute_batch_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Query orphan(nullptr);
         KESTREL_uid_lists results;
         t.table->KESTREL_execute_saved_queries({t.AQuery(), &orphan}, {{}, {}}, {{}, {}}, {1, 1}, &results);
       }},
      {"execute_batch_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         KESTREL_uid_lists results;
         t.table->KESTREL_execute_saved_queries({}, {}, {}, {}, &results);
         t.table->KESTREL_execute_saved_queries({t.AQuery()}, Lists{{kFormat, "Item ID"}, {"x"}}, Lists{{kHuge}},
                                                {INT_MIN, 5}, &results);
       }},
      {"criteria_odd_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         const std::vector<SearchCriteria> criteria = {{"", "", {}, {}}, {kFormat, kHuge, {kFormat, ""}, {kHuge}}};
         for (int i = 0; i < 2; ++i) {
           t.table->KESTREL_save_search_criteria(criteria);
           delete t.table->KESTREL_retrieve_search_criteria({kFormat, "", kHuge});
           t.table->KESTREL_delete_search_criteria({kFormat, "", kHuge});
         }
         t.table->KESTREL_save_search_criteria({});
         delete t.table->KESTREL_retrieve_search_criteria({});
       }},
  };
}

// --- projects (slots 109 to 122) ------------------------------------------------

void Free(std::vector<std::string>* list) { delete list; }
void Free(KESTREL_host_object_list* list) { delete list; }

std::vector<Case> ProjectCases() {
  using T = BadInputTest;
  return {
      {"project_names_no_session", Start::kNoSession, 940209,
       [](T& t) { Free(t.table->KESTREL_list_project_names()); }},
      {"user_projects_no_session", Start::kNoSession, 940209,
       [](T& t) { Free(t.table->KESTREL_get_user_projects(true)); }},
      {"project_objects_no_session", Start::kNoSession, 940209,
       [](T& t) { Free(t.table->KESTREL_get_project_objects("K100")); }},
      {"assign_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_assign_objects_to_projects({"K200"}, {}); }},
      {"project_lists_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (int i = 0; i < 2; ++i) {
           Free(t.table->KESTREL_list_project_names());
           Free(t.table->KESTREL_list_project_ids());
           Free(t.table->KESTREL_get_user_projects(false));
           Free(t.table->KESTREL_get_privileged_projects());
         }
       }},
      {"project_information_null_labels", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<KESTREL_host_object_list*> lists;
         t.table->KESTREL_get_all_project_information(true, nullptr, &lists);
       }},
      {"project_information_null_lists", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<std::string> labels;
         t.table->KESTREL_get_all_project_information(false, &labels, nullptr);
       }},
      {"project_entries_null", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_list_project_entries(nullptr); }},
      {"project_teams_null_out", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_ask_project_teams({}, nullptr); }},
      {"project_teams_null_project", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<ProjectTeamRecord*> teams;
         t.table->KESTREL_ask_project_teams({t.Load("project-K100")->GetObjectPtr(), nullptr}, &teams);
         for (auto* team : teams) {
           for (auto* member : *team->members) delete member;
           delete team->members;
           delete team;
         }
       }},
      {"project_objects_odd_ids", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (const std::string& id : {std::string(""), std::string(" "), kFormat, kHuge}) {
           Free(t.table->KESTREL_get_project_objects(id));
           Free(t.table->KESTREL_ask_project_objects(id));
         }
       }},
      {"assign_null", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_assign_objects_to_projects({"K200"}, {t.Revision(), nullptr});
       }},
      {"remove_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_remove_objects_from_projects({"K200"}, {nullptr}); }},
      {"assign_and_remove_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_assign_and_remove_projects({nullptr}); }},
      {"assign_odd_labels_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         const std::vector<std::string> labels = {"", "K200", "K200", kFormat, kHuge, "k200 "};
         for (int i = 0; i < 2; ++i) {
           t.table->KESTREL_assign_objects_to_projects(labels, {t.Revision()});
           t.table->KESTREL_remove_objects_from_projects(labels, {t.Revision()});
         }
         t.table->KESTREL_assign_objects_to_projects({}, {});
       }},
      {"assign_and_remove_odd_labels", Start::kLoggedIn, kReturns,
       [](T& t) {
         Obj* revision = t.Revision();
         for (const std::string& label : {std::string(""), std::string("K200"), kFormat, kHuge}) {
           revision->AddAssignedProject(UString(label));
           revision->AddRemovedProject(UString(label));
         }
         t.table->KESTREL_assign_and_remove_projects({revision, revision});
         revision->ClearProjectData();
         t.table->KESTREL_assign_and_remove_projects({});
       }},
      {"projects_list_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         Free(t.table->KESTREL_ask_projects_list(nullptr));
         Obj orphan(nullptr);
         Free(t.table->KESTREL_ask_projects_list(&orphan));
       }},
      {"project_datasets_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (auto* lists :
              {t.table->KESTREL_get_project_datasets("", ""), t.table->KESTREL_get_project_datasets(kFormat, kHuge)}) {
           for (auto* list : *lists) delete list;
           delete lists;
         }
       }},
  };
}

// --- classification (slots 36 to 51) and trace links (102 to 107) --------------

template <class Map>
void FreeClassMap(Map* map) {
  for (auto& entry : *map) {
    if constexpr (std::is_pointer_v<typename Map::mapped_type>) {
      delete entry.second;
    } else {
      for (auto* c : entry.second) delete c;
    }
  }
  delete map;
}

std::vector<Case> ClassificationCases() {
  using T = BadInputTest;
  using Orvane::PdmSoa::ClassificationObject;
  using Ids = std::vector<std::string>;
  const Ids odd = {"", " ", "a b", kFormat, kHuge, kFormat};
  return {
      {"classes_no_session", Start::kNoSession, 940209,
       [](T& t) { FreeClassMap(t.table->KESTREL_ask_classification_classes({"x"})); }},
      {"load_classification_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_load_classification_objects({"x"}); }},
      {"write_classification_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_write_classification_objects({nullptr}); }},
      {"write_classification_2_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_write_classification_objects_2({nullptr}); }},
      {"classification_odd_ids", Start::kLoggedIn, kReturns,
       [odd](T& t) {
         FreeClassMap(t.table->KESTREL_ask_classification_classes(odd));
         FreeClassMap(t.table->KESTREL_ask_class_descriptions(odd));
         delete t.table->KESTREL_ask_classification_table(odd);
         delete t.table->KESTREL_ask_objects_of_classification_ids(odd);
         delete t.table->KESTREL_ask_class_attributes(odd);
         delete t.table->KESTREL_ask_classification_objects_by_key(odd);
         delete t.table->KESTREL_ask_classification_value_tables(odd);
         FreeClassMap(t.table->KESTREL_ask_classification_classes(Ids(10000, "x")));
       }},
      {"classification_searches_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         auto* classes = t.table->KESTREL_find_classes({{INT_MIN, kFormat, INT_MAX}, {0, kHuge, 9}, {1, "", -1}});
         for (auto* c : *classes) delete c;
         delete classes;
         delete t.table->KESTREL_find_classification_objects(
             {{{kFormat, kHuge, ""}, {{INT_MIN, kFormat}, {0, kHuge}}, INT_MAX}, {{}, {}, 0}});
       }},
      {"classification_uids_odd", Start::kLoggedIn, kReturns,
       [odd](T& t) {
         delete t.table->KESTREL_load_classification_objects(odd);
         delete t.table->KESTREL_ask_classification_pom_objects(odd);
         delete t.table->KESTREL_ask_classifications_of_objects(odd);
         t.table->KESTREL_send_classification_object_uids(odd);
       }},
      {"refresh_classification_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_refresh_classification_objects({});
         t.table->KESTREL_refresh_classification_objects({{"", nullptr}, {kFormat, nullptr}});
       }},
      // UIDs the framework holds malformed are loaded one at a time like any
      // other; the server answers null for them.
      {"classification_malformed_uids", Start::kLoggedIn, kReturns,
       [](T& t) {
         const Ids malformed = {"bad%s%n", "ico-bolt-m8", "bad%s%n"};
         Halden::Soa::Client::testing::set_malformed_uids({"bad%s%n"});
         delete t.table->KESTREL_load_classification_objects(malformed);
         delete t.table->KESTREL_ask_classification_pom_objects(malformed);
         FreeClassMap(t.table->KESTREL_ask_classifications_of_objects(malformed));
         t.table->KESTREL_send_classification_object_uids(malformed);
         std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
             t.table->KESTREL_load_classification_objects({"ico-bolt-m8"}));
         t.table->KESTREL_refresh_classification_objects({{"bad%s%n", loaded->at("ico-bolt-m8")}});
       }},
      // The workspace object of a written classification object is looked
      // up locally; the framework refuses a malformed UID and, as every
      // failure of the classification entries, that reaches the host as is.
      {"write_classification_malformed_workspace", Start::kLoggedIn, kFrameworkException,
       [](T& t) {
         Halden::Soa::Client::testing::set_malformed_uids({"bad%s%n"});
         std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
             t.table->KESTREL_load_classification_objects({"ico-bolt-m8"}));
         ClassificationObject* bolt = loaded->at("ico-bolt-m8");
         static Halden::Soa::Client::Type type("Item", nullptr);
         static Halden::Soa::Client::ModelObject server_object("bad%s%n", &type);
         Orvane::PdmSoa::WorkspaceObject workspace(&server_object);
         Orvane::PdmSoa::WorkspaceObject* kept = bolt->workspace_object;
         bolt->workspace_object = &workspace;
         struct Restore {
           ClassificationObject* object;
           Orvane::PdmSoa::WorkspaceObject* kept;
           ~Restore() { object->workspace_object = kept; }
         } restore{bolt, kept};
         t.table->KESTREL_write_classification_objects({bolt});
       }},
  };
}

std::vector<Case> TraceLinkCases() {
  using T = BadInputTest;
  using Objects = std::vector<Obj*>;
  return {
      {"create_links_no_session", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_create_trace_links("", "", {}, {}); }},
      {"fulltext_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_export_fulltext_to_word({"rev-K-1000-B"}); }},
      {"defining_tree_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_ask_defining_tree(nullptr); }},
      {"defining_objects_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_ask_defining_objects(nullptr); }},
      {"complying_objects_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         delete t.table->KESTREL_ask_complying_objects(&orphan);
       }},
      {"trace_reports_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         T::Debug(true);
         for (int i = 0; i < 2; ++i) {
           delete t.table->KESTREL_ask_defining_tree(t.Revision());
           delete t.table->KESTREL_ask_defining_objects(t.Revision());
           delete t.table->KESTREL_ask_complying_objects(t.Revision());
         }
       }},
      {"create_links_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_create_trace_links("", "", {t.Revision()}, {nullptr}); }},
      {"create_links_orphan", Start::kLoggedIn, 940205,
       [](T& t) {
         Obj orphan(nullptr);
         delete t.table->KESTREL_create_trace_links("", "", {&orphan}, {t.Revision()});
       }},
      {"create_links_odd_texts", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_create_trace_links(kFormat, kHuge, {}, {});
         delete t.table->KESTREL_create_trace_links(kHuge, kFormat, {t.Revision()}, {t.Item()});
       }},
      {"create_links_1000", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_create_trace_links("", "", Objects(1000, t.Revision()), Objects(1000, t.Item()));
       }},
      {"modify_link_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_modify_trace_link(nullptr, {}, {}, {}, {}); }},
      {"modify_link_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_modify_trace_link(&orphan, {}, {}, {}, {});
       }},
      // The sample server is a newer one: the four lists are not read there,
      // nulls and all, and the link is removed.
      {"modify_link_null_in_lists", Start::kLoggedIn, kReturns,
       [](T& t) {
         const Objects none, one_null = {t.Revision(), nullptr};
         const Objects* lists[4][4] = {{&one_null, &none, &none, &none},
                                       {&none, &one_null, &none, &none},
                                       {&none, &none, &one_null, &none},
                                       {&none, &none, &none, &one_null}};
         for (const auto& l : lists) {
           std::unique_ptr<Objects> links(t.table->KESTREL_create_trace_links("", "", {t.Revision()}, {t.Item()}));
           if (!links || links->size() != 1) throw std::runtime_error("no link to modify");
           t.ClearRequests();
           t.table->KESTREL_modify_trace_link(links->front(), *l[0], *l[1], *l[2], *l[3]);
           const auto sent = t.Requests();
           EXPECT_TRUE(std::find(sent.begin(), sent.end(), "deleteObjects") != sent.end()) << "the link stayed";
         }
       }},
      {"fulltext_unknown_uids", Start::kLoggedIn, 940205,
       [](T& t) { t.table->KESTREL_export_fulltext_to_word({kFormat}); }},
      {"fulltext_huge_uid", Start::kLoggedIn, 940205,
       [](T& t) {
         t.table->KESTREL_export_fulltext_to_word({"rev-K-1000-B", kHuge});
       }},
      {"fulltext_empty_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_export_fulltext_to_word({});
         t.table->KESTREL_export_fulltext_to_word({});
       }},
  };
}

// --- CAD creation and dataset files (slots 95 to 100) -------------------------

std::vector<Case> CadCases() {
  using T = BadInputTest;
  using Objects = std::vector<Obj*>;
  return {
      {"read_tickets_no_session", Start::kNoSession, 940209,
       [](T& t) {
         DatasetFileTickets tickets;
         t.table->KESTREL_get_dataset_file_read_tickets({}, nullptr, &tickets);
       }},
      {"create_datasets_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_create_datasets({}, nullptr, nullptr, nullptr, nullptr); }},
      {"read_tickets_null_out", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_get_dataset_file_read_tickets({}, nullptr, nullptr); }},
      {"read_tickets_null_dataset", Start::kLoggedIn, 940208,
       [](T& t) {
         DatasetFileTickets tickets;
         t.table->KESTREL_get_dataset_file_read_tickets({nullptr}, nullptr, &tickets);
       }},
      {"read_tickets_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         DatasetFileTickets tickets;
         const auto datasets = t.table->KESTREL_get_datasets_by_id("K-1300", "A", 0);
         const std::vector<UString> names = {UString(""), UString(kFormat), UString(kHuge)};
         t.table->KESTREL_get_dataset_file_read_tickets(datasets, &names, &tickets);
         const std::vector<UString> none;
         t.table->KESTREL_get_dataset_file_read_tickets(datasets, &none, &tickets);
         t.table->KESTREL_get_dataset_file_read_tickets({}, nullptr, &tickets);
       }},
      {"write_tickets_null_out", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_get_dataset_write_tickets({}, nullptr); }},
      {"write_tickets_null_request", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<WriteTicketResult*> results;
         t.table->KESTREL_get_dataset_write_tickets({nullptr}, &results);
       }},
      {"write_tickets_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         WriteTicketInput empty;
         WriteTicketInput odd{t.Revision(), true, {{UString(kFormat), UString(kHuge), UString(""), true, false}}};
         std::vector<WriteTicketResult*> results;
         t.table->KESTREL_get_dataset_write_tickets({&empty, &odd, &odd}, &results);
         for (auto* result : results) delete result;
       }},
      {"commit_files_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_commit_dataset_files({nullptr}, nullptr, nullptr, nullptr, nullptr); }},
      {"commit_files_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         CommitInput odd{
             nullptr, true, {{UString(kFormat), UString(kHuge), UString(""), true, true, UString(kFormat)}}};
         Objects created, updated, plain, errors;
         t.table->KESTREL_commit_dataset_files({&odd}, &created, &updated, &plain, &errors);
         t.table->KESTREL_commit_dataset_files({}, nullptr, nullptr, nullptr, nullptr);
       }},
      {"create_parts_null_out", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_create_parts({}, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"create_parts_null_part", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<PartResult*> results;
         t.table->KESTREL_create_parts({nullptr}, &results, nullptr, nullptr, nullptr, nullptr);
       }},
      {"create_parts_null_dataset", Start::kLoggedIn, 940208,
       [](T& t) {
         PartCreateInput part;
         part.datasets = {nullptr};
         std::vector<PartResult*> results;
         t.table->KESTREL_create_parts({&part}, &results, nullptr, nullptr, nullptr, nullptr);
       }},
      {"create_parts_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         PartDatasetInput dataset;
         dataset.text1 = UString(kFormat);
         dataset.text8 = UString(kHuge);
         dataset.file_infos = {{UString(kFormat), UString(kHuge), UString(""), false, true}};
         PartCreateInput part;
         part.text = UString(kFormat);
         part.item.text1 = UString(kHuge);
         part.item.name_values = {{UString(kFormat), UString(kHuge)}, {UString(""), UString("")}};
         part.datasets = {&dataset};
         PartCreateInput empty;
         std::vector<PartResult*> results;
         Objects created, updated, plain, errors;
         t.table->KESTREL_create_parts({&part, &empty}, &results, &created, &updated, &plain, &errors);
         for (auto* result : results) delete result;
       }},
      {"create_datasets_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_create_datasets({nullptr}, nullptr, nullptr, nullptr, nullptr); }},
      {"create_datasets_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         DatasetCreateInput odd{UString(kFormat), nullptr,        UString(kHuge), UString(""),
                                UString(kFormat), UString(kHuge), t.Revision()};
         Objects created;
         t.table->KESTREL_create_datasets({&odd, &odd}, &created, nullptr, nullptr, nullptr);
       }},
      {"create_items_null", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_create_items({{nullptr, nullptr}}, nullptr, nullptr, nullptr, nullptr);
       }},
      {"create_items_orphan_key", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         ItemCreateInput item;
         t.table->KESTREL_create_items({{&orphan, &item}}, nullptr, nullptr, nullptr, nullptr);
       }},
      {"create_items_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         ItemCreateInput odd{UString(kFormat), UString(kHuge), UString(""), {{UString(kFormat), UString(kHuge)}}};
         Objects created;
         t.table->KESTREL_create_items({{nullptr, &odd}, {t.Revision(), &odd}}, &created, nullptr, nullptr, nullptr);
         t.table->KESTREL_create_items({}, nullptr, nullptr, nullptr, nullptr);
       }},
  };
}

// --- AI structure generation (slot 108) and attribute mapping (123 to 127) ----

std::vector<Case> AiAndAttrMappingCases() {
  using T = BadInputTest;
  using Texts = std::vector<std::string>;
  return {
      {"generate_no_session", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_generate_structure({"l"}, {"v"}, 0, "", 0); }},
      {"generate_empty_lists", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_generate_structure({}, {}, 0, kFormat, 0); }},
      {"generate_unequal_lists", Start::kLoggedIn, 940208,
       [](T& t) {
         t.table->KESTREL_generate_structure({"l", "m"}, {"v"}, 0, kFormat, 0);
       }},
      // Pairs of empty UIDs send nothing to generate from: the empty answer.
      {"generate_only_empty_uids", Start::kLoggedIn, 940209,
       [](T& t) {
         t.table->KESTREL_generate_structure({"", ""}, {"", ""}, 0, "", 0);
       }},
      {"generate_odd_texts_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (int i = 0; i < 2; ++i)
           t.table->KESTREL_generate_structure({kFormat, "", kHuge}, {"", kFormat, " "}, INT64_MIN, kHuge, INT_MIN);
         t.table->KESTREL_generate_structure(Texts(10000, "l"), Texts(10000, ""), INT64_MAX, kFormat, INT_MAX);
       }},
      {"attr_definitions_no_session", Start::kNoSession, 940209,
       [](T& t) {
         AttrMappingContext context{"UGMASTER", "Item"};
         delete t.table->KESTREL_get_attr_mapping_definitions({&context});
       }},
      {"attr_definitions_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_get_attr_mapping_definitions({nullptr}); }},
      {"attr_definitions_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         AttrMappingContext nulls{nullptr, nullptr};
         AttrMappingContext odd{kFormat.c_str(), kHuge.c_str()};
         for (auto* result : {t.table->KESTREL_get_attr_mapping_definitions({}),
                              t.table->KESTREL_get_attr_mapping_definitions({&nulls, &odd, &odd})}) {
           if (!result) continue;
           for (auto* definitions : *result) delete definitions;
           delete result;
         }
       }},
      {"resolve_null", Start::kLoggedIn, 940208,
       [](T& t) { delete t.table->KESTREL_resolve_attr_mappings({nullptr}); }},
      {"resolve_odd_tags", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> nulls = {nullptr};
         AttrMappingPart none{0, 0, nullptr};
         AttrMappingPart unknown{0xFFFFFFFFu, 0xFFFFFFFEu, nullptr};
         AttrMappingPart null_definition{0xFFFFFFFFu, 0, &nulls};
         for (AttrMappingPart* part : {&none, &unknown, &null_definition}) {
           std::unique_ptr<std::vector<AttrMappingPartResult*>> results(t.table->KESTREL_resolve_attr_mappings({part}));
           if (results)
             for (auto* result : *results) delete result;
         }
         delete t.table->KESTREL_resolve_attr_mappings({});
       }},
      {"clear_attr_caches_twice", Start::kNoSession, kReturns,
       [](T& t) {
         AttrMappingPart unknown{0xFFFFFFFFu, 0, nullptr};
         for (int i = 0; i < 2; ++i) {
           t.table->KESTREL_clear_attr_mapping_cache();
           t.table->KESTREL_clear_attr_mapping_cache_for_parts({});
           t.table->KESTREL_clear_attr_mapping_cache_for_parts({&unknown});
         }
       }},
      {"clear_attr_cache_null", Start::kNoSession, 940208,
       [](T& t) { t.table->KESTREL_clear_attr_mapping_cache_for_parts({nullptr}); }},
  };
}

// Validation results (slots 81, 84, 85): inputs whose UIDs, texts, paths and
// dates are empty, odd, formats or huge.
std::vector<ValidationResultInput> OddValidationInputs() {
  ValidationResultInput odd;
  odd.result_uid = kFormat;
  odd.item_revision_uid = kHuge;
  odd.target_uid = " ";
  odd.data_object_uid = "a b";
  odd.validation_id = kFormat;
  odd.comments = kHuge;
  odd.date = date_s{65535, 200, 99, 99, 99, 99};
  odd.parameters = {{kFormat, kHuge, ""}};
  odd.reports = {{true, kFormat, kHuge, kFormat, {{kFormat, kFormat, -1}, {"", "", 1}, {"C:\\", kHuge, 1}}}};
  odd.check_name = kFormat;
  odd.requirement_uid = kFormat;
  ValidationResultInput empty;
  empty.reports = {{false, "", "", "", {}}, {false, "", "", "", {}}};
  return {odd, empty, ValidationResultInput()};
}

std::vector<Case> ValidationCases() {
  using T = BadInputTest;
  return {
      {"create_validation", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_create_validation_results({}); }},
      {"save_validation", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_save_validation_results({}); }},
      {"update_validation", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_update_validation_results({}); }},
      {"create_validation_empty", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_create_validation_results({}); }},
      {"create_validation_odd", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_create_validation_results(OddValidationInputs()); }},
      {"save_validation_odd", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_save_validation_results(OddValidationInputs()); }},
      {"update_validation_odd", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_update_validation_results(OddValidationInputs()); }},
      {"save_validation_1000", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_save_validation_results(std::vector<ValidationResultInput>(1000)); }},
  };
}

std::vector<Case> Cases() {
  using T = BadInputTest;
  std::vector<Case> cases = {
      // --- no session -----------------------------------------------------------
      {"login", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_login("engineer", "secret", true); }},
      {"user_group_role", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_ask_user_group_role(); }},
      {"construct", Start::kNoSession, 940209, [](T& t) { t.table->constructObject("Folder", "f"); }},
      {"load", Start::kNoSession, 940209,
       [](T& t) {
         std::vector<Obj*> out;
         t.table->KESTREL_load_objects(Uids({"f"}), &out);
       }},
      {"get_properties", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_get_properties({}, {"x"}); }},
      {"bom_window", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_create_bom_window("rev-K-1000-B"); }},
      {"revision_by_id", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_get_item_revision_by_id("K-1000", "B", 0); }},
      {"items_by_id", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_get_items_by_id({{"K-1000", {}}}, 0); }},
      {"preference", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_ask_preference_values("user", "HX_config_rule_name"); }},
      {"preferences", Start::kNoSession, 940209,
       [](T& t) { delete t.table->KESTREL_ask_preferences("user", {"HX_config_rule_name"}); }},
      {"services", Start::kNoSession, 940209, [](T& t) { delete t.table->KESTREL_list_available_services(); }},
      {"home_folder", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_ask_home_folder(); }},
      {"configured_revision", Start::kNoSession, kReturns,
       [](T& t) { t.table->KESTREL_ask_configured_revision("K-1000", "Latest Working"); }},
      {"set_rule", Start::kNoSession, kReturns,
       [](T& t) { t.table->KESTREL_set_configuration_rule("Latest Working", false); }},
      {"list_rules", Start::kNoSession, kReturns,
       [](T& t) {
         int count = 0;
         char** names = nullptr;
         t.table->KESTREL_list_configuration_rules(&count, &names);
         for (int i = 0; i < count; ++i) SM_free(names[i]);
         SM_free(names);
       }},
      {"logout_twice", Start::kNoSession, kReturns,
       [](T& t) {
         t.table->KESTREL_logout(true);
         t.table->KESTREL_logout(false);
       }},
      {"texts_of_null", Start::kNoSession, kReturns,
       [](T& t) {
         std::map<UString, UString> texts;
         t.table->KESTREL_ask_object_property_texts(nullptr, &texts);
       }},

      // --- connecting -------------------------------------------------------------
      {"connect_null_texts", Start::kNoSession, 940207,
       [](T& t) { t.table->KESTREL_create_connection(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false); }},
      {"connect_huge_and_format_texts", Start::kNoSession, kReturns,
       [](T& t) {
         t.table->KESTREL_create_connection(kHost, kFormat.c_str(), kHuge.c_str(), kFormat.c_str(), kFormat.c_str(),
                                            kHuge.c_str(), kFormat.c_str(), false);
       }},
      {"connect_twice", Start::kConnected, kReturns, [](T& t) { t.Connect(); }},
      {"login_null_texts", Start::kConnected, kReturns, [](T& t) { t.table->KESTREL_login(nullptr, nullptr, true); }},
      {"login_huge_user", Start::kConnected, kReturns,
       [](T& t) { t.table->KESTREL_login(kHuge.c_str(), "secret", true); }},
      {"login_format_password", Start::kConnected, 940207,
       [](T& t) { t.table->KESTREL_login("engineer", kFormat.c_str(), true); }},
      {"login_twice", Start::kConnected, kReturns,
       [](T& t) {
         t.table->KESTREL_login("engineer", "secret", true);
         t.table->KESTREL_login("engineer", "secret", true);
       }},
      {"option_huge_texts", Start::kNoSession, kReturns,
       [](T& t) { t.table->KESTREL_ask_connection_option(-1, -1, kHuge, kFormat, kHuge); }},

      // --- objects by UID ---------------------------------------------------------
      {"construct_empty_type", Start::kLoggedIn, 940208, [](T& t) { t.table->constructObject("", "f"); }},
      {"construct_empty_uid", Start::kLoggedIn, kReturns, [](T& t) { t.table->constructObject("Folder", ""); }},
      {"construct_blank_uid", Start::kLoggedIn, kReturns, [](T& t) { t.table->constructObject("Folder", "   "); }},
      {"construct_prefixed_uid", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->constructObject("Folder", "a b c"); }},
      {"construct_huge_uid", Start::kLoggedIn, kReturns, [](T& t) { t.table->constructObject("Folder", kHuge); }},
      {"construct_format_uid", Start::kLoggedIn, kReturns, [](T& t) { t.table->constructObject(kFormat, kFormat); }},
      {"construct_malformed_uid", Start::kLoggedIn, 940205,
       [](T& t) {
         Halden::Soa::Client::testing::set_malformed_uids({"bad%s%n"});
         t.table->constructObject("Folder", "bad%s%n");
       }},
      {"load_null_out", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_load_objects(Uids({"f"}), nullptr); }},
      {"load_empty", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<Obj*> out;
         t.table->KESTREL_load_objects({}, &out);
       }},
      {"load_odd_uids", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<Obj*> out;
         t.table->KESTREL_load_objects(Uids({"", " ", "a b", kFormat, kHuge}), &out);
       }},
      {"load_100k_uids", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<Obj*> out;
         t.table->KESTREL_load_objects(ManyUids(100000), &out);
       }},
      {"get_properties_null_object", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_get_properties({t.Revision(), nullptr}, {"object_name"}); }},
      {"get_properties_empty", Start::kLoggedIn, kReturns, [](T& t) { t.table->KESTREL_get_properties({}, {}); }},
      {"get_properties_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_get_properties({t.Revision()}, {"", kFormat, kHuge}); }},

      // --- identity and typed getters ---------------------------------------------
      {"uid_of_null", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_ask_object_uid(nullptr); }},
      {"type_of_null", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_ask_object_type_name(nullptr); }},
      {"server_uid_of_null", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_ask_server_object_uid(nullptr); }},
      {"server_type_of_null", Start::kLoggedIn, 940209,
       [](T& t) { t.table->KESTREL_ask_server_object_type_name(nullptr); }},
      {"uid_of_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         Obj orphan(nullptr);
         t.table->KESTREL_ask_object_uid(&orphan);
       }},
      {"string_of_null", Start::kLoggedIn, 940209,
       [](T& t) { t.table->KESTREL_get_object_property_string(nullptr, "object_name", true); }},
      {"int_of_null", Start::kLoggedIn, 940209,
       [](T& t) { t.table->KESTREL_get_object_property_int(nullptr, "sequence_id", true); }},
      {"date_of_null", Start::kLoggedIn, 940209,
       [](T& t) { t.table->KESTREL_get_object_property_date(nullptr, "date_released", true, true); }},
      {"object_array_of_null", Start::kLoggedIn, 940209,
       [](T& t) { delete t.table->KESTREL_get_object_property_object_array(nullptr, "x", true); }},
      {"string_empty_name_unforced", Start::kLoggedIn, 940223,
       [](T& t) { t.table->KESTREL_get_object_property_string(t.Revision(), "", false); }},
      {"string_huge_name_forced", Start::kLoggedIn, kAnyError,
       [](T& t) { t.table->KESTREL_get_object_property_string(t.Revision(), kHuge, true); }},
      {"int_format_name_forced", Start::kLoggedIn, kAnyError,
       [](T& t) { t.table->KESTREL_get_object_property_int(t.Revision(), kFormat, true); }},
      {"int_of_a_text", Start::kLoggedIn, 940207,
       [](T& t) { t.table->KESTREL_get_object_property_int(t.Revision(), "object_name", true); }},
      {"date_of_a_text", Start::kLoggedIn, 940207,
       [](T& t) { t.table->KESTREL_get_object_property_date(t.Revision(), "object_name", true, false); }},
      {"date_array_of_a_text", Start::kLoggedIn, 940207,
       [](T& t) { delete t.table->KESTREL_get_object_property_date_array(t.Revision(), "object_name", true); }},
      {"texts_null_map", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_ask_object_property_texts(t.Revision(), nullptr); }},

      // --- BOM ----------------------------------------------------------------------
      {"window_empty_uid", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_create_bom_window(""); }},
      {"window_format_uid", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_create_bom_window(kFormat); }},
      {"window_huge_uid", Start::kLoggedIn, 940209, [](T& t) { t.table->KESTREL_create_bom_window(kHuge); }},
      {"close_null", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_close_bom_window(nullptr); }},
      {"close_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         BomWindow* window = t.Window();
         t.table->KESTREL_close_bom_window(window);
         t.table->KESTREL_close_bom_window(window);
       }},
      {"close_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         BomWindow orphan(nullptr);
         t.table->KESTREL_close_bom_window(&orphan);
       }},
      {"top_line_null", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_ask_bom_top_line(nullptr); }},
      {"top_line_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         BomWindow orphan(nullptr);
         t.table->KESTREL_ask_bom_top_line(&orphan);
       }},
      {"expand_null", Start::kLoggedIn, 940208, [](T& t) { T::Free(t.table->KESTREL_expand_bom_line(nullptr, 0)); }},
      {"expand_orphan", Start::kLoggedIn, 940209,
       [](T& t) {
         BomLine orphan(nullptr);
         T::Free(t.table->KESTREL_expand_bom_line(&orphan, 0));
       }},
      {"expand_odd_modes", Start::kLoggedIn, kReturns,
       [](T& t) {
         BomLine* top = t.TopLine();
         for (int mode : {-1, 4, INT_MAX, INT_MIN}) T::Free(t.table->KESTREL_expand_bom_line(top, mode));
       }},
      {"expand_lines_empty", Start::kLoggedIn, kReturns, [](T& t) { T::Free(t.table->KESTREL_expand_bom_lines({}, 0)); }},
      {"expand_lines_null", Start::kLoggedIn, 940208,
       [](T& t) { T::Free(t.table->KESTREL_expand_bom_lines({t.TopLine(), nullptr}, 0)); }},
      {"expand_lines_1000_times_the_top", Start::kLoggedIn, kReturns,
       [](T& t) { T::Free(t.table->KESTREL_expand_bom_lines(std::vector<BomLine*>(1000, t.TopLine()), 0)); }},
      {"paths_null_scope", Start::kLoggedIn, 940208,
       [](T& t) {
         std::vector<BomLine*> out;
         t.table->KESTREL_ask_bom_lines_by_path(nullptr, {{"K-1300"}}, &out);
       }},
      {"paths_null_out", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_ask_bom_lines_by_path(t.Window(), {{"K-1300"}}, nullptr); }},
      {"paths_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<BomLine*> out;
         t.table->KESTREL_ask_bom_lines_by_path(t.Window(), {{}, {""}, {kFormat}, {kHuge, kFormat}}, &out);
       }},
      {"paths_none", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<BomLine*> out;
         t.table->KESTREL_ask_bom_lines_by_path(t.Window(), {}, &out);
       }},
      {"paths_10k", Start::kLoggedIn, kReturns,
       [](T& t) {
         std::vector<BomLine*> out;
         t.table->KESTREL_ask_bom_lines_by_path(t.Window(), std::vector<std::vector<std::string>>(10000, {"K-1300"}),
                                                &out);
       }},

      // --- items and revisions by id ----------------------------------------------
      {"revisions_of_null_item", Start::kLoggedIn, kReturns,
       [](T& t) { delete t.table->KESTREL_get_item_revisions_by_id(nullptr, 1, {"A"}, 0); }},
      {"revisions_odd_ids", Start::kLoggedIn, kReturns,
       [](T& t) { delete t.table->KESTREL_get_item_revisions_by_id(t.Item(), -7, {"", kFormat, kHuge}, INT_MIN); }},
      {"revision_of_null_item", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_get_item_revision_of_item(nullptr, "A", 0); }},
      {"datasets_odd_ids", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_get_datasets_by_id("", "", 0);
         t.table->KESTREL_get_datasets_by_id(kFormat, kHuge, 99);
       }},
      {"revision_by_odd_id", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_get_item_revision_by_id(kHuge, "", 0);
         t.table->KESTREL_get_item_revision_by_id(kFormat, kFormat, -1);
         t.table->KESTREL_get_item_revision_by_id(" ", " ", 0);
       }},
      {"items_and_revisions_odd_counts", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_get_items_and_revisions_by_id("K-1000", -5, {}, 0);
         t.table->KESTREL_get_items_and_revisions_by_id("K-1000", INT_MAX, {kFormat}, 0);
       }},
      {"items_by_id_empty", Start::kLoggedIn, kReturns, [](T& t) { delete t.table->KESTREL_get_items_by_id({}, 0); }},
      {"items_by_id_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_get_items_by_id({{UString(""), {}}, {UString(kFormat), Uids({kHuge})}}, 2);
       }},
      {"items_by_id_10k", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_get_items_by_id(std::vector<ItemIdEntry>(10000, ItemIdEntry{UString("K-1000"), {}}), 0);
       }},
      {"configured_revision_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_ask_configured_revision("", nullptr);
         t.table->KESTREL_ask_configured_revision(kHuge, kFormat.c_str());
         t.table->KESTREL_ask_configured_revision("K-1000", kHuge.c_str());
       }},

      // --- preferences, dates, services -------------------------------------------
      {"preference_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_ask_preference_values("", "");
         t.table->KESTREL_ask_preference_values(kFormat, kHuge);
       }},
      {"preferences_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         delete t.table->KESTREL_ask_preferences("user", {});
         delete t.table->KESTREL_ask_preferences(kHuge, {kFormat, "", kHuge});
       }},
      {"datetime_null", Start::kLoggedIn, kReturns, [](T& t) { t.table->KESTREL_get_datetime_string(nullptr); }},
      {"datetime_extremes", Start::kLoggedIn, kReturns,
       [](T& t) {
         const date_s odd[] = {{0, 0, 0, 0, 0, 0}, {65535, 255, 255, 255, 255, 255}, {2024, 12, 32, 24, 60, 61},
                               {1969, 11, 31, 23, 59, 59}, {2038, 0, 19, 3, 14, 8}};
         for (const date_s& d : odd) t.table->KESTREL_get_datetime_string(&d);
       }},

      // --- revision rules -----------------------------------------------------------
      {"set_rule_null_persist", Start::kLoggedIn, kReturns,
       [](T& t) { t.table->KESTREL_set_configuration_rule(nullptr, true); }},
      {"set_rule_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_set_configuration_rule(kFormat.c_str(), false);
         t.table->KESTREL_set_configuration_rule(kHuge.c_str(), false);
         t.table->KESTREL_set_configuration_rule("", false);
       }},
      {"set_rule_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_set_configuration_rule("Latest Released", true);
         t.table->KESTREL_set_configuration_rule("Latest Released", true);
       }},
      {"rule_outputs_null", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_ask_config_rule_GUID(false, nullptr);
         t.table->KESTREL_ask_configuration_rule(true, nullptr);
         t.table->KESTREL_list_configuration_rules(nullptr, nullptr);
         t.table->KESTREL_ask_config_rule_has_precise(false, nullptr);
         t.table->KESTREL_ask_config_rule_status("Latest Working", false, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr);
       }},
      {"rule_status_odd_names", Start::kLoggedIn, kReturns,
       [](T& t) {
         bool a, b, c, d;
         int unit = 0;
         for (const char* name : {static_cast<const char*>(nullptr), "", kFormat.c_str(), kHuge.c_str()}) {
           char* date = nullptr;
           t.table->KESTREL_ask_config_rule_status(name, false, &a, &b, &c, &d, &date, &unit);
           SM_free(date);
         }
       }},
      {"rule_date_garbage", Start::kLoggedIn, 920029,
       [](T& t) { t.table->KESTREL_set_config_rule_all("Released by Date", "garbage", false, 0, false); }},
      {"rule_date_format", Start::kLoggedIn, 920029,
       [](T& t) { t.table->KESTREL_set_config_rule_all("Released by Date", kFormat.c_str(), false, 0, false); }},
      {"rule_date_huge", Start::kLoggedIn, 920029,
       [](T& t) { t.table->KESTREL_set_config_rule_all("Released by Date", kHuge.c_str(), false, 0, false); }},
      {"rule_date_year_999", Start::kLoggedIn, 920029,
       [](T& t) { t.table->KESTREL_set_config_rule_all("Released by Date", "0999-12-31", false, 0, false); }},
      {"rule_date_extremes", Start::kLoggedIn, kReturns,
       [](T& t) {
         for (const char* date : {"9999-12-31T23:59:59", "1000-01-01", "2038-01-19T03:14:08Z", "", "Today"})
           t.table->KESTREL_set_config_rule_all("Released by Date", date, true, INT_MIN, false);
         t.table->KESTREL_set_config_rule_all(nullptr, nullptr, false, 0, false);
         t.table->KESTREL_create_bom_window(t.Revision()->GetUid().utf8());
       }},
      {"home_folder_twice", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_ask_home_folder();
         t.table->KESTREL_ask_home_folder();
       }},
      // --- validation data and queries ---------------------------------------------
      {"validation_inputs", Start::kNoSession, 940209, [](T& t) { t.table->KESTREL_send_validation_inputs({{}}); }},
      {"validation_data", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_get_validation_data({{"part"}, {"data"}, false}); }},
      {"validation_queries", Start::kNoSession, 940209,
       [](T& t) { t.table->KESTREL_query_validation_results({{}}); }},
      {"validation_inputs_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         ValidationDataInput odd{kHuge, kFormat, kHuge, kFormat, "", kFormat, {{kFormat, kHuge, kFormat}}, kFormat,
                                 kFormat, true};
         ValidationDataInput blank{" ", "", "", "", "", "", {}, "", "a b c", false};
         t.table->KESTREL_send_validation_inputs({odd, blank, {}});
         t.table->KESTREL_send_validation_inputs(std::vector<ValidationDataInput>(1000));
       }},
      {"validation_data_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         t.table->KESTREL_get_validation_data({});
         t.table->KESTREL_get_validation_data({{"", kHuge, kFormat, " "}, {kFormat, "", kHuge}, false});
         t.table->KESTREL_get_validation_data({std::vector<std::string>(1000, "rev-K-1000-B"), {}, false});
       }},
      {"validation_queries_odd", Start::kLoggedIn, kReturns,
       [](T& t) {
         ValidationResultQuery odd{kHuge, kFormat, kHuge, "", kFormat, "", {kFormat, kHuge, ""}, true};
         t.table->KESTREL_query_validation_results({odd, {}, {"rev-K-1000-B", "", "", "", "", "", {}, false}});
         t.table->KESTREL_query_validation_results({});
       }},
  };
  // Blocks of the areas built after the rows above.
  for (auto block : {BatchCases, ObjectOperationCases, SavedQueryCases, ProjectCases, ClassificationCases,
                     TraceLinkCases, CadCases, AiAndAttrMappingCases, ValidationCases}) {
    auto rows = block();
    cases.insert(cases.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  }

  // --- attribute mapping: resolution, clearing and write-back beyond the block above ---
  // The host's definitions of the sample's master-model context.
  static const auto definitions = [](T& t) {
    AttrMappingContext context{"Item", "TOVMASTER"};
    std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
        t.table->KESTREL_get_attr_mapping_definitions({&context}));
    std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> out = records->front()->definitions;
    for (auto* r : *records) delete r;
    return out;
  };
  static const auto free_results = [](std::vector<AttrMappingPartResult*>* results) {
    if (!results) return;
    for (auto* r : *results) delete r;
    delete results;
  };
  const std::vector<Case> attr_mapping = {
      {"attr_resolve_unknown_tags", Start::kLoggedIn, kReturns,
       [](T& t) {
         auto defs = definitions(t);
         AttrMappingPart unknown{0xFFFFFFFFu, 12345, &defs}, no_revision{7, 0, &defs}, no_list{8, 9, nullptr};
         free_results(t.table->KESTREL_resolve_attr_mappings({&unknown, &no_revision, &no_list}));
         free_results(t.table->KESTREL_resolve_attr_mappings({}));
       }},
      {"attr_clear_no_session", Start::kNoSession, kReturns,
       [](T& t) {
         t.table->KESTREL_clear_attr_mapping_cache();
         t.table->KESTREL_clear_attr_mapping_cache_for_parts({});
       }},
      {"attr_clear_parts_null", Start::kLoggedIn, 940208,
       [](T& t) { t.table->KESTREL_clear_attr_mapping_cache_for_parts({nullptr}); }},
      {"attr_clear_parts_unknown_tags", Start::kLoggedIn, kReturns,
       [](T& t) {
         AttrMappingPart unknown{0xFFFFFFFFu, 12345, nullptr}, untagged{0, 0, nullptr};
         t.table->KESTREL_clear_attr_mapping_cache_for_parts({&unknown, &untagged});
       }},
      {"attr_update_no_session", Start::kNoSession, 940209,
       [](T& t) {
         AttrValueUpdate part{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", nullptr, nullptr};
         t.table->KESTREL_update_attr_values({&part});
       }},
      {"attr_update_null_part", Start::kLoggedIn, 940208, [](T& t) { t.table->KESTREL_update_attr_values({nullptr}); }},
      {"attr_update_null_values", Start::kLoggedIn, 940208,
       [](T& t) {
         auto defs = definitions(t);
         AttrValueUpdate part{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &defs, nullptr};
         t.table->KESTREL_update_attr_values({&part});
       }},
      {"attr_update_unknown_uids", Start::kLoggedIn, 940205,
       [](T& t) {
         auto defs = definitions(t);
         std::vector<const char*> values(defs.size(), "x");
         AttrValueUpdate part{kFormat, kHuge, "", kFormat, &defs, values.data()};
         t.table->KESTREL_update_attr_values({&part});
       }},
      {"attr_update_odd_values", Start::kLoggedIn, kReturns,
       [](T& t) {
         auto defs = definitions(t);
         std::vector<Obj*> held;
         t.table->KESTREL_load_objects(Uids({"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master"}), &held);
         std::vector<const char*> values = {kFormat.c_str(), kHuge.c_str(), "", kFormat.c_str(), kFormat.c_str()};
         values.resize(defs.size(), "");
         AttrValueUpdate part{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", kFormat, &defs, values.data()};
         t.table->KESTREL_update_attr_values({&part, &part});
         t.table->KESTREL_update_attr_values({});
       }},
  };
  cases.insert(cases.end(), attr_mapping.begin(), attr_mapping.end());
  return cases;
}

TEST_F(BadInputTest, EndInAClearErrorOrTheDefinedResult) {
  BadInputTest& fixture = *this;
  EXPECT_EQ(bad_inputs::Run(fixture, Cases(), "bad inputs", true), 0);
  fixture.Enter(Start::kNoSession);
}

}  // namespace
}  // namespace kestrel::test
