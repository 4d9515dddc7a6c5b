// The main road of a session (connect, log in, load objects, read properties
// with forced loading, open a BOM window, expand two levels, save a child
// into an assembly through the update batch and take it out again through
// the delete batch, log out) with a failure injected at each server request
// in turn, of each kind the framework can raise, both as the request arrives
// and after the server acted on it with its reply lost: every injection must
// end in the error the library maps it to (or pass as documented), and
// afterwards a fresh session must walk the whole road again. A second road
// does the same for validation results (created with report files, whose
// tickets, upload and commit are then injected too, and read back with their
// files) and for attribute write-back (definitions, resolution, new values).
//
// A new step of a road is one row of its list of steps and, where its
// failures map otherwise, one rule in Expected().
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel/kestrel_attr_types.h"
#include "objmodel/AttrMapping.h"
#include "objmodel/ModelObject.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::Component;
using Obj = Orvane::PdmSoa::ModelObject;
using Texts = std::map<std::string, std::string>;
using Components = std::map<std::string, Component*>;

const double kMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};

constexpr const char* kUnreachable =
    "Unable to connect to the Halden Server. Most likely the Web tier is down. Contact your system administrator "
    "to restore the Web tier and try again later\n";

// How a request fails.
struct Kind {
  const char* name;
  std::function<void()> raise;
  int dialog_answer;  // for connection failures: what the disconnect dialog answers
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {"runtime", [] { throw Halden::Soa::Client::RuntimeException("injected"); }, 0},
      {"not_loaded", [] { throw Halden::Soa::Client::NotLoadedException("injected"); }, 0},
      {"soa", [] { throw Halden::Soa::Common::Exceptions::SoaException("injected"); }, 0},
      // The user gives up at the dialog: the request fails as unreachable.
      {"connection_given_up", [] { throw Halden::Soa::Client::ConnectionException("injected"); }, 1},
      // The user asks to try again: the framework sends the request again.
      {"connection_retried", [] { throw Halden::Soa::Client::ConnectionException("injected"); }, 2},
  };
  return kinds;
}

// Where a request fails: as it arrives, or after the server acted on it and
// its reply was lost.
enum class When { kOnArrival, kReplyLost };

// What an injection must end in: the step raises code with text, the
// framework's exception reaches the host as it was raised (kPassedOn, its
// text), or the road goes on (code 0).
struct Outcome {
  int code;
  std::string text;
};
constexpr int kPassedOn = -1;

// The requests of a step that are sent without catch clauses: the
// framework's exception reaches the host unchanged. Object loads by UID, the
// per-input session request, the write and read ticket requests of report
// files, and the descriptor request of a resolution.
const std::map<std::string, std::set<std::string>>& Unconverted() {
  static const std::map<std::string, std::set<std::string>> requests = {
      {"validation_create", {"loadObjects", "getSessionInfo", "getDatasetWriteTickets"}},
      {"validation_read", {"loadObjects", "getFileReadTickets"}},
      {"attr_resolve", {"getAttachedPropDescs"}},
  };
  return requests;
}

// Conversion of the request styles; the session steps that swallow or
// convert otherwise are named.
Outcome Expected(const std::string& step, const std::string& request, const Kind& kind) {
  const std::string name = kind.name;
  if (name == "connection_retried") return {0, ""};
  if (step == "logout") return {0, ""};  // logged and the session ends anyway
  if (name == "connection_given_up") return {940235, kUnreachable};
  auto unconverted = Unconverted().find(step);
  if (unconverted != Unconverted().end() && unconverted->second.count(request)) return {kPassedOn, "injected"};
  if (name == "runtime") return {940222, "KRAL SOA: SOA runtime exception: injected"};
  if (name == "not_loaded") return {940223, "KRAL SOA: SOA not loaded exception: injected"};
  return {940222, "KRAL SOA: SOA exception: injected"};
}

class FaultSweepTest : public SessionTest {
 protected:
  struct Step {
    const char* name;
    std::function<void()> run;
  };

  FaultSweepTest() {
    // The assembly the road saves into, outside the structure it expands.
    world.add_item("K-2000", "Service trolley");
    world.add_item_revision("K-2000", "A", false);
    // The data object the validation road files its results under.
    world.add_object("valdata-road", {"ValidationData", "WorkspaceObject", "POM_object"});
  }
  ~FaultSweepTest() override { FreeLines(); }

  std::vector<Step> Steps() {
    return {
        {"connect", [this] { Connect(); }},
        {"login", [this] { table->KESTREL_login("engineer", "secret", true); }},
        {"load",
         [this] {
           loaded_.clear();
           table->KESTREL_load_objects({UString("rev-K-1000-B"), UString("item-K-1000")}, &loaded_);
           if (loaded_.size() != 2) ADD_FAILURE() << "loaded " << loaded_.size();
         }},
        {"forced_reads",
         [this] {
           for (Obj* object : loaded_) {
             table->KESTREL_get_object_property_string(object, "item_id", true);
             table->KESTREL_get_object_property_string(object, "object_name", true);
           }
           if (!loaded_.empty()) table->KESTREL_get_object_property_string(loaded_[0], "release_status", true);
         }},
        {"window",
         [this] {
           auto* revision = table->KESTREL_get_item_revision_by_id("K-1000", "B", 0);
           if (!revision) throw std::runtime_error("no revision");
           top_ = table->KESTREL_ask_bom_top_line(table->KESTREL_create_bom_window(revision->GetUid().utf8()));
         }},
        {"expand_1", [this] { level1_ = Keep(table->KESTREL_expand_bom_lines({top_}, 0)); }},
        {"expand_2", [this] { Keep(table->KESTREL_expand_bom_lines(level1_, 0)); }},
        {"commit",
         [this] {
           // A fresh CAD occurrence id each time: a road cut short leaves its
           // occurrence behind, and this one must be created anew.
           const std::string cad_occ_id = "cad-" + std::to_string(++saves_);
           const Texts notes = {{"UG NAME", "%s%n" + cad_occ_id}};
           parent_ = table->KESTREL_get_item_revision_by_id("K-2000", "A", 0);
           if (!parent_ || loaded_.empty()) throw std::runtime_error("no parent or child");
           table->KESTREL_RelativeStructureUpdateStart();
           table->KESTREL_RelativeStructureUpdateStartAssy(1, parent_, false, nullptr);
           table->KESTREL_RelativeStructureAddChild(1, 1, loaded_[0], cad_occ_id, kMatrix, true, &notes, nullptr);
           Components* components_out = nullptr;
           std::unique_ptr<Texts> handles(table->KESTREL_RelativeStructureUpdateCommit(true, &components_out));
           std::unique_ptr<Components> components(components_out);
           thread_.clear();
           if (!handles || handles->size() != 1 || !handles->count("1_1")) {
             ADD_FAILURE() << "no handle of the saved child";
             return;
           }
           const std::string& handle = handles->at("1_1");
           thread_ = handle.substr(handle.rfind(' ') + 1);
           EXPECT_EQ(handle, "rev-K-2000-A bvr-K-2000-A " + thread_);
           if (!components || components->size() != 1 || !components->count("1_1"))
             ADD_FAILURE() << "no component of the saved child";
           else
             EXPECT_EQ(components->at("1_1")->GetComponentHandle().utf8(), handle);
           auto saved = world.saved_occurrence(thread_);
           if (!saved || saved->cad_occ_id != cad_occ_id || saved->child_item_id != "K-1000")
             ADD_FAILURE() << "the server holds no occurrence " << cad_occ_id << " of K-1000";
         }},
        {"delete",
         [this] {
           table->KESTREL_RelativeStructureDeleteStart();
           table->KESTREL_RelativeStructureDeleteStartAssy(1, parent_, nullptr);
           table->KESTREL_RelativeStructureDeleteChild(1, thread_);
           table->KESTREL_RelativeStructureDeleteCommit();
           if (world.saved_occurrence(thread_)) ADD_FAILURE() << "occurrence " << thread_ << " is still saved";
         }},
        {"logout",
         [this] {
           if (table->KESTREL_logout(true) != 0) ADD_FAILURE() << "logout failed";
         }},
    };
  }

  // Connecting, validation results created with a report of two files and
  // read back with them, attribute definitions, resolution and write-back of
  // a new value, logging out. Each walk validates a target of its own: the
  // results of earlier walks stay on the server.
  std::vector<Step> ValidationSteps() {
    return {
        {"connect", [this] { Connect(); }},
        {"login", [this] { table->KESTREL_login("engineer", "secret", true); }},
        {"validation_create",
         [this] {
           target_ = "ds-road-" + std::to_string(++targets_);
           world.add_object(target_, {"Dataset", "WorkspaceObject", "POM_object"});
           ValidationResultInput input;
           input.item_revision_uid = "rev-K-1000-B";
           input.target_uid = target_;
           input.data_object_uid = "valdata-road";
           input.validation_id = "%s%n";
           input.check_name = "Clearance";
           input.reports = {{true,
                             "",
                             "clearance",
                             "HTML",
                             {{"C:\\checks\\gap.html", "HTML_Report", 1}, {"D:/run/trace.bin", "Trace", 0}}}};
           const ValidationResultList made = table->KESTREL_create_validation_results({input});
           result_.clear();
           if (made.results.size() != 1 || made.results[0].report_dataset_uid.empty()) {
             ADD_FAILURE() << "no result with a report dataset";
             return;
           }
           result_ = made.results[0].result_uid;
         }},
        {"validation_read",
         [this] {
           const ValidationDataList read = table->KESTREL_get_validation_data({{target_}, {"valdata-road"}, false});
           if (read.result_uids != std::vector<std::string>{result_} || read.reports.size() != 1) {
             ADD_FAILURE() << "the result of " << target_ << " was not read back";
             return;
           }
           const auto& files = read.reports[0].files;
           if (files.size() != 2 || files[0].original_file_name != "gap.html" || files[0].ticket.empty() ||
               files[1].original_file_name != "trace.bin" || files[1].text_flag != 0 || files[1].ticket.empty())
             ADD_FAILURE() << "the report files of " << result_ << " were not read back";
         }},
        {"attr_definitions",
         [this] {
           // Every road resolves afresh.
           table->KESTREL_clear_attr_mapping_cache();
           AttrMappingContext context{"Item", "TOVMASTER"};
           std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(
               table->KESTREL_get_attr_mapping_definitions({&context}));
           definitions_.clear();
           if (!records || records->size() != 1) throw std::runtime_error("no definitions");
           definitions_ = records->front()->definitions;
           for (auto* record : *records) delete record;
           if (definitions_.size() < 2) throw std::runtime_error("too few definitions");
           // The host keeps them for the parts of that context.
           cadlink::testing::set_attr_map_defs("TOVMASTER", "Item", definitions_);
         }},
        {"attr_resolve",
         [this] {
           std::vector<Obj*> held;
           table->KESTREL_load_objects({UString("item-K-1000"), UString("rev-K-1000-B"), UString("ds-K-1000-B-master")},
                                       &held);
           if (held.size() != 3) throw std::runtime_error("the part's objects were not loaded");
           AttrMappingPart part{held[2]->AskPdiTag(), held[1]->AskPdiTag(), &definitions_};
           std::unique_ptr<std::vector<AttrMappingPartResult*>> results(table->KESTREL_resolve_attr_mappings({&part}));
           description_ = nullptr;
           if (!results || results->size() != 1 || results->front()->attributes.size() != definitions_.size()) {
             ADD_FAILURE() << "the part was not resolved";
           } else {
             description_ = results->front()->attributes[1];
           }
           for (auto* result : *results) delete result;
         }},
        {"attr_write_back",
         [this] {
           const std::string value = "Cart %s%n " + std::to_string(targets_);
           std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> written = {definitions_.at(1)};
           const char* values[] = {value.c_str()};
           AttrValueUpdate update{"item-K-1000", "rev-K-1000-B", "ds-K-1000-B-master", "", &written, values};
           table->KESTREL_update_attr_values({&update});
           // The record the host holds shows what the server holds now.
           if (!description_ || !description_->text || description_->text != value)
             ADD_FAILURE() << "the written value was not read back";
         }},
        {"logout",
         [this] {
           if (table->KESTREL_logout(true) != 0) ADD_FAILURE() << "logout failed";
         }},
    };
  }

  // Walks the road; the name of the step that raised, or "" when all passed.
  std::string Walk(const std::vector<Step>& road, Outcome* raised) {
    for (const Step& step : road) {
      step_ = step.name;
      try {
        step.run();
      } catch (const Orvane::Error::Severe& e) {
        *raised = {e.Code(), e.Message()};
        return step.name;
      } catch (const Halden::Soa::Client::RuntimeException& e) {
        *raised = {kPassedOn, e.what()};
        return step.name;
      } catch (const Halden::Soa::Client::NotLoadedException& e) {
        *raised = {kPassedOn, e.what()};
        return step.name;
      } catch (const Halden::Soa::Common::Exceptions::SoaException& e) {
        *raised = {kPassedOn, e.what()};
        return step.name;
      }
    }
    *raised = {0, ""};
    return "";
  }
  std::string Walk(Outcome* raised) { return Walk(Steps(), raised); }
  void Sweep(const std::vector<Step>& road, int* injections, int* handled);

  // Back to no session, child lines freed, the resolved records released.
  void Leave() {
    if (table->KESTREL_ask_connection()) table->KESTREL_logout(false);
    server.on_request = nullptr;
    server.on_reply = nullptr;
    cadlink::testing::set_dialog_answer(1);
    Halden::Soa::Client::testing::set_upload_failure("");
    FreeLines();
    table->KESTREL_clear_attr_mapping_cache();
    description_ = nullptr;
  }

  // After a commit whose reply was lost: the server saved the child, and the
  // batch the library kept sends it again, so that the server changes that
  // same occurrence instead of saving a second one.
  void RetryKeptCommit() {
    const std::string cad_occ_id = "cad-" + std::to_string(saves_);
    server.on_reply = nullptr;
    Components* components_out = nullptr;
    std::unique_ptr<Texts> handles(table->KESTREL_RelativeStructureUpdateCommit(true, &components_out));
    std::unique_ptr<Components> components(components_out);
    ASSERT_TRUE(handles && handles->count("1_1")) << "the kept batch was not sent again";
    const std::string& handle = handles->at("1_1");
    auto saved = world.saved_occurrence(handle.substr(handle.rfind(' ') + 1));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->cad_occ_id, cad_occ_id);
    int copies = 0;
    for (const auto& occurrence : world.catalog.revisions().at("rev-K-2000-A").occurrences)
      copies += occurrence.cad_occ_id == cad_occ_id;
    EXPECT_EQ(copies, 1);
    // Changed, not created: no component.
    EXPECT_TRUE(components && components->empty());
  }

  std::vector<BomLine*> Keep(std::vector<std::vector<BomLine*>*>* lists) {
    std::unique_ptr<std::vector<std::vector<BomLine*>*>> outer(lists);
    std::vector<BomLine*> all;
    for (auto* list : *outer) {
      std::unique_ptr<std::vector<BomLine*>> inner(list);
      for (BomLine* line : *inner) {
        owned_.push_back(line);
        all.push_back(line);
      }
    }
    return all;
  }
  void FreeLines() {
    for (BomLine* line : owned_) delete line;
    owned_.clear();
    level1_.clear();
    top_ = nullptr;
  }

  std::vector<Obj*> loaded_;
  BomLine* top_ = nullptr;
  std::vector<BomLine*> level1_;
  std::vector<BomLine*> owned_;
  Orvane::PdmSoa::ItemRevision* parent_ = nullptr;
  std::string thread_;
  int saves_ = 0;
  std::string step_;
  std::string target_, result_;
  int targets_ = 0;
  std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> definitions_;
  ResolvedAttr* description_ = nullptr;
};

// Every failure at every request of one road; adds to the counts.
void FaultSweepTest::Sweep(const std::vector<Step>& road, int* injections, int* handled) {
  Outcome raised;
  // The first walk builds the process's caches (revision rules, available
  // services); later walks send the same requests each time.
  ASSERT_EQ(Walk(road, &raised), "") << raised.text;
  Leave();

  std::vector<std::string> steps_of_requests;
  ClearRequests();
  server.on_request = [&](const auto&) { steps_of_requests.push_back(step_); };
  ASSERT_EQ(Walk(road, &raised), "") << raised.text;
  const std::vector<std::string> baseline = Requests();
  Leave();
  ASSERT_EQ(steps_of_requests.size(), baseline.size());
  const long blocks = corerun::testing::cpp_live_blocks();
  const long sm_blocks = corerun::testing::sm_live_blocks();

  for (std::size_t k = 0; k < baseline.size(); ++k) {
    for (const When when : {When::kOnArrival, When::kReplyLost}) {
      for (const Kind& kind : Kinds()) {
        // A request tried again after its reply was lost is done twice by the
        // server: what that does is the server's, not the library's.
        if (when == When::kReplyLost && kind.dialog_answer == 2) continue;
        SCOPED_TRACE("request " + std::to_string(k) + " (" + baseline[k] + " in " + steps_of_requests[k] + "), " +
                     kind.name + (when == When::kReplyLost ? ", reply lost" : ""));
        ++*injections;
        const int failures_before =
            ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
        cadlink::testing::set_dialog_answer(kind.dialog_answer);
        std::size_t arrived = 0;
        bool injected = false;
        auto inject = [&](const auto&) {
          if (arrived++ != k || injected) return;
          injected = true;
          kind.raise();
        };
        if (when == When::kOnArrival)
          server.on_request = inject;
        else
          server.on_reply = inject;
        ClearRequests();
        const std::string failed_at = Walk(road, &raised);
        EXPECT_TRUE(injected);
        const Outcome expected = Expected(steps_of_requests[k], baseline[k], kind);
        if (expected.code == 0) {
          EXPECT_EQ(failed_at, "") << raised.code << " " << raised.text;
        } else {
          EXPECT_EQ(failed_at, steps_of_requests[k]);
          EXPECT_EQ(raised.code, expected.code);
          EXPECT_EQ(raised.text, expected.text);
        }
        if (when == When::kReplyLost && failed_at == "commit" && baseline[k] == "createOrUpdateRelativeStructure")
          RetryKeptCommit();
        Leave();
        EXPECT_EQ(corerun::testing::cpp_live_blocks(), blocks) << "host objects leaked";
        EXPECT_EQ(corerun::testing::sm_live_blocks(), sm_blocks) << "base library blocks leaked";

        // A fresh session walks the whole road with the same requests.
        ClearRequests();
        EXPECT_EQ(Walk(road, &raised), "") << raised.code << " " << raised.text;
        EXPECT_EQ(Requests(), baseline);
        Leave();
        if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == failures_before)
          ++*handled;
      }
    }
  }
}

TEST_F(FaultSweepTest, EveryInjectionIsHandledAndTheRoadWorksAfterwards) {
  int injections = 0, handled = 0;
  Sweep(Steps(), &injections, &handled);
  Sweep(ValidationSteps(), &injections, &handled);

  Outcome raised;
  // A logout whose listener cannot be removed still ends the session.
  int failures_before = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
  Connect();
  table->KESTREL_login("engineer", "secret", true);
  Halden::Soa::Client::testing::set_listener_removal_failure(true);
  clear_log();
  EXPECT_EQ(table->KESTREL_logout(true), 0);
  EXPECT_THAT(log_text(),
              ::testing::HasSubstr("KRAL SOA: SOA runtime exception on exit: the delete listener cannot be removed\n"));
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  Halden::Soa::Client::testing::set_listener_removal_failure(false);
  ++injections;
  EXPECT_EQ(Walk(&raised), "") << raised.text;
  Leave();
  if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == failures_before)
    ++handled;

  // A file transfer that breaks: the file client's exception reaches the
  // host unchanged from the step that uploads, and the road works after.
  failures_before = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
  Halden::Soa::Client::testing::set_upload_failure("transfer broke");
  ++injections;
  EXPECT_EQ(Walk(ValidationSteps(), &raised), "validation_create");
  EXPECT_EQ(raised.code, kPassedOn);
  EXPECT_EQ(raised.text, "transfer broke");
  Leave();
  EXPECT_EQ(Walk(ValidationSteps(), &raised), "") << raised.code << " " << raised.text;
  Leave();
  if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == failures_before)
    ++handled;

  std::printf("fault sweep: %d injections, %d handled\n", injections, handled);
  EXPECT_EQ(handled, injections);
}

}  // namespace
}  // namespace kestrel::test
