// Controls of the host object-model stand-in for tests and the demo.
#pragma once

#include <string>

namespace objmodel::testing {

void set_default_iiop_string(const std::string& address);
void set_http(bool http);
void set_start_hxserver(bool started);
// Forgets the services list, host objects and reports; keeps the table.
void reset();

}  // namespace objmodel::testing
