// The main road of a session (connect, log in, load objects, read properties
// with forced loading, open a BOM window, expand two levels, log out) with a
// failure injected at each server request in turn, of each kind the
// framework can raise: every injection must end in the error the library
// maps it to (or pass as documented), and afterwards a fresh session must
// walk the whole road again.
//
// A new step of the road (the structure update batch, say) is one row of
// Steps() and, where its failures map otherwise, one rule in Expected().
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Orvane::PdmSoa::BomLine;
using Obj = Orvane::PdmSoa::ModelObject;

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

// What an injection must end in: the step raises code with text, or the
// road goes on (code 0).
struct Outcome {
  int code;
  std::string text;
};

// Conversion of the request styles; the session steps that swallow or
// convert otherwise are named.
Outcome Expected(const std::string& step, const Kind& kind) {
  const std::string name = kind.name;
  if (name == "connection_retried") return {0, ""};
  if (step == "logout") return {0, ""};  // logged and the session ends anyway
  if (name == "connection_given_up") return {940235, kUnreachable};
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
        // The structure update batch joins the road here once it is built.
        {"logout",
         [this] {
           if (table->KESTREL_logout(true) != 0) ADD_FAILURE() << "logout failed";
         }},
    };
  }

  // Walks the road; the name of the step that raised, or "" when all passed.
  std::string Walk(Outcome* raised) {
    for (const Step& step : Steps()) {
      step_ = step.name;
      try {
        step.run();
      } catch (const Orvane::Error::Severe& e) {
        *raised = {e.Code(), e.Message()};
        return step.name;
      }
    }
    *raised = {0, ""};
    return "";
  }

  // Back to no session, child lines freed.
  void Leave() {
    if (table->KESTREL_ask_connection()) table->KESTREL_logout(false);
    server.on_request = nullptr;
    cadlink::testing::set_dialog_answer(1);
    FreeLines();
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
  std::string step_;
};

TEST_F(FaultSweepTest, EveryInjectionIsHandledAndTheRoadWorksAfterwards) {
  Outcome raised;
  // The first road builds the process's revision-rule cache; later roads
  // send the same requests each time.
  ASSERT_EQ(Walk(&raised), "") << raised.text;
  Leave();

  std::vector<std::string> steps_of_requests;
  ClearRequests();
  server.on_request = [&](const auto&) { steps_of_requests.push_back(step_); };
  ASSERT_EQ(Walk(&raised), "") << raised.text;
  const std::vector<std::string> baseline = Requests();
  Leave();
  ASSERT_EQ(steps_of_requests.size(), baseline.size());
  const long blocks = corerun::testing::cpp_live_blocks();

  int injections = 0, handled = 0;
  for (std::size_t k = 0; k < baseline.size(); ++k) {
    for (const Kind& kind : Kinds()) {
      SCOPED_TRACE("request " + std::to_string(k) + " (" + baseline[k] + " in " + steps_of_requests[k] + "), " +
                   kind.name);
      ++injections;
      const int failures_before = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
      cadlink::testing::set_dialog_answer(kind.dialog_answer);
      std::size_t arrived = 0;
      bool injected = false;
      server.on_request = [&](const auto&) {
        if (arrived++ != k || injected) return;
        injected = true;
        kind.raise();
      };
      ClearRequests();
      const std::string failed_at = Walk(&raised);
      EXPECT_TRUE(injected);
      const Outcome expected = Expected(steps_of_requests[k], kind);
      if (expected.code == 0) {
        EXPECT_EQ(failed_at, "") << raised.code << " " << raised.text;
      } else {
        EXPECT_EQ(failed_at, steps_of_requests[k]);
        EXPECT_EQ(raised.code, expected.code);
        EXPECT_EQ(raised.text, expected.text);
      }
      Leave();
      EXPECT_EQ(corerun::testing::cpp_live_blocks(), blocks) << "child lines leaked";

      // A fresh session walks the whole road with the same requests.
      ClearRequests();
      EXPECT_EQ(Walk(&raised), "") << raised.code << " " << raised.text;
      EXPECT_EQ(Requests(), baseline);
      Leave();
      if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == failures_before)
        ++handled;
    }
  }

  // A logout whose listener cannot be removed still ends the session.
  const int failures_before = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
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

  std::printf("fault sweep: %d injections, %d handled\n", injections, handled);
  EXPECT_EQ(handled, injections);
}

}  // namespace
}  // namespace kestrel::test
