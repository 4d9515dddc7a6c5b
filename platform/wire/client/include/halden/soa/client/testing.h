// Controls of the client framework stand-in for tests.
#pragma once

#include <string>
#include <vector>

namespace Halden::Soa::Client {
class Connection;
}

namespace Halden::Soa::Client::testing {

// UIDs the model manager rejects as malformed: looking one up or constructing
// it throws RuntimeException, as the framework does for a bad UID.
void set_malformed_uids(std::vector<std::string> uids);

// UIDs for which constructTypedObject answers null, as the framework does for
// an object it cannot build.
void set_unconstructible_uids(std::vector<std::string> uids);

// Property names whose read throws RuntimeException, as the framework does for
// a value it cannot decode.
void set_unreadable_properties(std::vector<std::string> names);

// Whether removing a delete listener throws RuntimeException.
void set_listener_removal_failure(bool fail);

// The connection whose getOption is under way (for a stub answering it), or null.
const Connection* option_connection();

// None of the above.
void reset();

}  // namespace Halden::Soa::Client::testing
