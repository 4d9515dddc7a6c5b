#include <stdexcept>

#include "cadlink/testing.h"
#include "cadlink/tovmgr.h"

namespace cadlink::testing {
void clear_save_settings();
}

namespace {

struct Root : TOVMGR_AdvancedSearchRoot {
  void Invalidate() override { ++invalidations; }
  int invalidations = 0;
};

struct State {
  bool advanced_search = false;
  Root root;
  int resets = 0;
  int answer = 0;
  cadlink::testing::DialogFailure failure = cadlink::testing::DialogFailure::None;
  int shows = 0;
  std::function<void()> action;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

bool TOVMGR_ask_enable_AdvancedSearch() { return state().advanced_search; }
TOVMGR_AdvancedSearchRoot* TOVMGR__ask_advsearch_root() { return &state().root; }
void TOVMGR_reset_advsearch_valid() { ++state().resets; }

int TOVMGR_display_webtier_disconnect_dialog() {
  ++state().shows;
  if (state().action) state().action();
  switch (state().failure) {
    case cadlink::testing::DialogFailure::None:
      return state().answer;
    case cadlink::testing::DialogFailure::StdException:
      throw std::runtime_error("dialog could not be shown");
    case cadlink::testing::DialogFailure::Foreign:
      throw cadlink::testing::ForeignFailure{};
  }
  return state().answer;
}

namespace cadlink::testing {
void set_advanced_search(bool enabled) { state().advanced_search = enabled; }
int advsearch_invalidations() { return state().root.invalidations; }
int advsearch_resets() { return state().resets; }
void set_dialog_answer(int answer) { state().answer = answer; }
void set_dialog_failure(DialogFailure failure) { state().failure = failure; }
void set_dialog_action(std::function<void()> action) { state().action = std::move(action); }
int dialog_shows() { return state().shows; }
void reset() {
  state().advanced_search = false;
  state().root.invalidations = 0;
  state().resets = 0;
  state().answer = 0;
  state().failure = DialogFailure::None;
  state().shows = 0;
  clear_hx_prefs();
  clear_bvr_lookups();
  set_bvr_lookup(nullptr);
  clear_save_settings();
  clear_attr_mapping();
  state().action = nullptr;
  reset_instances();
}
}  // namespace cadlink::testing
