#include "halden/server/SampleWorld.h"

namespace Halden::Soa::Server {

SampleWorld::SampleWorld() {
  using namespace props;
  add_user("engineer", "secret", "Engineering", "Designer");
  add_object("folder-home", {"Folder", "WorkspaceObject", "POM_object"},
             {str("object_name", "Home"), str("object_type", "Folder")});
  set_property("user-engineer", ref("home_folder", "folder-home"));
  set_policy("WorkspaceObject", {"object_name", "object_type"});
  set_policy("User", {"user_id", "user_name", "home_folder"});
  set_preference("user", "HX_config_rule_name", {"Latest Working"});
  set_preference("site", "OSTRA_TOV_allow_attrsync_master_with_item", {"true"});
  set_available_services({"Core-2006-03-DataManagement", "Core-2006-03-Session", "Internal-Core-2007-05-Session",
                          "Core-2007-06-PropDescriptor.getAttachedPropDescs",
                          "Query-2007-09-SavedQuery.executeSavedQueries"});
  set_option(7, "hxserver-pool");

  // Revision rules: working, released with and without a date, by unit, precise.
  const std::vector<std::string> entry = {"CFMRuleEntry", "POM_object"};
  auto add_entry = [&](const std::string& uid, const std::string& type, std::vector<WireProperty> properties = {}) {
    std::vector<std::string> types = {type};
    types.insert(types.end(), entry.begin(), entry.end());
    add_object(uid, std::move(types), std::move(properties));
  };
  add_entry("entry-working", "CFMWorkingEntry");
  add_entry("entry-released", "CFMStatusEntry", {integer("date_type", 2)});
  add_entry("entry-released-effective", "CFMStatusEntry", {integer("date_type", 0)});
  add_entry("entry-released-by-date", "CFMStatusEntry", {integer("date_type", 1)});
  add_entry("entry-unit", "CFMUnitNoEntry");
  add_entry("entry-precise", "CFMPreciseEntry");
  set_policy("RevisionRule", {"object_name", "entry_list"});
  // What the rule cache reads of each status entry comes with it.
  set_policy("CFMStatusEntry", {"date_type"});
  add_revision_rule("rule-latest-working", "Latest Working", {"entry-working"});
  add_revision_rule("rule-latest-released", "Latest Released", {"entry-released", "entry-working"});
  add_revision_rule("rule-released-effective", "Released Effective Date", {"entry-released-effective"});
  add_revision_rule("rule-released-by-date", "Released by Date", {"entry-working", "entry-released-by-date"});
  add_revision_rule("rule-unit-effectivity", "Unit Effectivity", {"entry-released", "entry-unit"});
  add_revision_rule("rule-precise", "Precise; Working", {"entry-precise", "entry-working"});

  set_policy("BOMWindow", {"top_line"});
  set_policy("BOMLine", {"bl_parent", "bl_item_item_id", "bl_rev_item_revision_id", "bl_item_object_name",
                         "bl_quantity", "bl_sequence_no", "bl_line_name", "bl_has_children"});

  // A utility cart: its newest revision differs from the released one, and
  // the two rules "Latest Working" and "Latest Released" configure different
  // revisions of the frame, the wheel assembly and the axle.
  struct Part {
    const char* id;
    const char* name;
    std::vector<std::pair<const char*, bool>> revisions;  // oldest first; released?
  };
  const Part parts[] = {
      {"K-1000", "Utility cart", {{"A", true}, {"B", false}}},
      {"K-1100", "Chassis", {{"A", true}}},
      {"K-1110", "Frame weldment", {{"A", true}, {"B", true}, {"C", false}}},
      {"K-1120", "Caster bracket", {{"A", true}}},
      {"K-1200", "Wheel assembly", {{"A", true}, {"B", false}}},
      {"K-1210", "Wheel rim", {{"A", true}}},
      {"K-1220", "Tyre 250x50", {{"A", true}}},
      {"K-1230", "Axle", {{"A", true}, {"B", false}}},
      {"K-1300", "Push handle", {{"A", true}}},
      {"K-9001", "Hex bolt M8x20", {{"A", true}}},
      {"K-9002", "Lock nut M8", {{"A", true}}},
  };
  for (const auto& part : parts) {
    add_item(part.id, part.name);
    for (const auto& [revision, released] : part.revisions) {
      add_item_revision(part.id, revision, released);
      const std::string stem = std::string("ds-") + part.id + "-" + revision;
      add_dataset(stem + "-master", part.id, revision, "OSTRA_specification", "TOVMASTER",
                  std::string(part.id) + "/" + revision + " master model");
    }
  }

  add_occurrence("K-1000", "A", "K-1100");
  add_occurrence("K-1000", "A", "K-1200", 2);
  add_occurrence("K-1000", "A", "K-9001", 8);
  add_occurrence("K-1000", "B", "K-1100");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-left");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-right");
  add_occurrence("K-1000", "B", "K-1300");
  add_occurrence("K-1000", "B", "K-9001", 12);
  add_occurrence("K-1000", "B", "K-9002", 12);
  add_occurrence("K-1100", "A", "K-1110");
  add_occurrence("K-1100", "A", "K-1120", 4);
  for (const char* revision : {"A", "B"}) {
    add_occurrence("K-1200", revision, "K-1210");
    add_occurrence("K-1200", revision, "K-1220");
    add_occurrence("K-1200", revision, "K-1230");
  }
  add_occurrence("K-1200", "B", "K-9002");

  add_dataset("ds-K-1000-A-drawing", "K-1000", "A", "OSTRA_manifestation", "PDF", "K-1000/A drawing");
  add_dataset("ds-K-1000-B-drawing", "K-1000", "B", "OSTRA_manifestation", "PDF", "K-1000/B drawing");
  add_dataset("ds-K-1000-B-jt", "K-1000", "B", "OSTRA_Rendering", "DirectModel", "K-1000/B visualisation");
  add_dataset("ds-K-1000-B-notes", "K-1000", "B", "IMAN_reference", "MSWord", "K-1000/B assembly notes");
  add_dataset("ds-K-1100-A-jt", "K-1100", "A", "OSTRA_Rendering", "DirectModel", "K-1100/A visualisation");
  add_dataset("ds-K-1110-B-drawing", "K-1110", "B", "OSTRA_manifestation", "PDF", "K-1110/B drawing");
  add_dataset("ds-K-1110-C-spec", "K-1110", "C", "OSTRA_specification", "Text", "K-1110/C welding procedure");
  add_dataset("ds-K-1110-C-altrep", "K-1110", "C", "OSTRA_TOV_altrep", "TOVALTREP", "K-1110/C simplified");
  add_dataset("ds-K-1110-C-fea", "K-1110", "C", "OSTRA_Simulation", "CAEAnalysis", "K-1110/C load case");
  add_dataset("ds-K-1200-B-jt", "K-1200", "B", "OSTRA_Rendering", "DirectModel", "K-1200/B visualisation");
}

}  // namespace Halden::Soa::Server
