// Controls of the client framework stand-in for tests.
#pragma once

#include <string>
#include <vector>

namespace Halden::Soa::Client::testing {

// UIDs the model manager rejects as malformed: looking one up or constructing
// it throws RuntimeException, as the framework does for a bad UID.
void set_malformed_uids(std::vector<std::string> uids);

}  // namespace Halden::Soa::Client::testing
