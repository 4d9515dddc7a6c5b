// Every built entry that takes pointers, lists, UIDs, dates or texts, given
// what a careless or hostile host might pass: each case ends in a clear
// raised error or in the entry's defined result, never in a crash. Caller
// texts reach the logs and messages only as arguments, so '%s%n' is harmless.
//
// One table for the whole library: an area that builds an entry adds its
// rows to kCases (or a block of rows of its own, appended in Cases()).
#include <climits>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/memory.h"
#include "halden/soa/client/testing.h"
#include "objmodel/ModelObject.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::BomWindow;
using Orvane::PdmSoa::ItemRevision;
using Obj = Orvane::PdmSoa::ModelObject;

const std::string kHuge(1 << 20, 'x');   // a 1 MB text
const std::string kFormat = "%s%n%s%n";  // would write through a pointer if used as a format

// The state a case starts from. Cases without a session run twice: before
// the first connect and after a logout.
enum class Start { kNoSession, kConnected, kLoggedIn };

// What must come of a case: 0 the entry returns; a code, it raises that code
// (a base-library error); kAnyError, it raises some base-library error.
constexpr int kReturns = 0;
constexpr int kAnyError = -1;

class BadInputTest;
struct Case {
  const char* name;
  Start start;
  int outcome;
  std::function<void(BadInputTest&)> call;
};

class BadInputTest : public SessionTest {
 public:
  using SessionTest::Connect;
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
  void Enter(Start start) {
    if (table->KESTREL_ask_connection()) table->KESTREL_logout(false);
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
  for (auto& c : ValidationCases()) cases.push_back(std::move(c));
  return cases;
}

const char* StartName(Start start) {
  switch (start) {
    case Start::kNoSession:
      return "no session";
    case Start::kConnected:
      return "connected";
    default:
      return "logged in";
  }
}

TEST_F(BadInputTest, EndInAClearErrorOrTheDefinedResult) {
  BadInputTest& fixture = *this;
  const std::vector<Case> cases = Cases();
  // Cases without a session first, before anything connected; then the rest;
  // then those without a session again, after a logout.
  std::vector<const Case*> order;
  for (const Case& c : cases)
    if (c.start == Start::kNoSession) order.push_back(&c);
  for (const Case& c : cases)
    if (c.start != Start::kNoSession) order.push_back(&c);
  for (const Case& c : cases)
    if (c.start == Start::kNoSession) order.push_back(&c);

  int tried = 0, crashed = 0;
  for (const Case* c : order) {
    SCOPED_TRACE(std::string(c->name) + " (" + StartName(c->start) + ")");
    fixture.Enter(c->start);
    ++tried;
    int raised = kReturns;
    std::string message;
    try {
      c->call(fixture);
    } catch (const Orvane::Error::Severe& e) {
      raised = e.Code();
      message = e.Message().substr(0, 200);
    } catch (const std::exception& e) {
      ++crashed;
      ADD_FAILURE() << "foreign exception: " << e.what();
      continue;
    } catch (...) {
      ++crashed;
      ADD_FAILURE() << "foreign throw";
      continue;
    }
    if (c->outcome == kAnyError)
      EXPECT_NE(raised, kReturns) << "returned";
    else
      EXPECT_EQ(raised, c->outcome) << message;
  }
  std::printf("bad inputs: %d tried, %d crashed\n", tried, crashed);
  EXPECT_EQ(crashed, 0);
  fixture.Enter(Start::kNoSession);
}

}  // namespace
}  // namespace kestrel::test
