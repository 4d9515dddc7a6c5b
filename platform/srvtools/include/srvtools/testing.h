#pragma once

#include <string>

namespace srvtools::testing {

// What the next SSO requests answer; status other than 0 yields nothing.
void set_sso_credentials(const std::string& user, const std::string& password, int status = 0);
int sso_requests();
void reset();

}  // namespace srvtools::testing
