// Controls of the PDM manager stand-in for tests and the demo.
#pragma once

namespace cadlink::testing {

enum class DialogFailure { None, StdException, Foreign };

void set_advanced_search(bool enabled);
int advsearch_invalidations();
int advsearch_resets();

void set_dialog_answer(int answer);
void set_dialog_failure(DialogFailure failure);
int dialog_shows();

// Thrown by the dialog for DialogFailure::Foreign: no standard exception.
struct ForeignFailure {};

void reset();

}  // namespace cadlink::testing
