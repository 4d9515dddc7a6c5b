// Controls of the document-services stand-in for tests.
#pragma once

#include <vector>

#include "halden/soa/client/ServiceData.h"

namespace docsvc::testing {

// What each CheckServiceData call was given since the last reset: the
// number of partial errors of its reply, and whether it had output lists.
struct Check {
  std::size_t partial_errors;
  bool had_error_record;
  bool had_output_lists;
};
const std::vector<Check>& checks();
void reset();

}  // namespace docsvc::testing
