#pragma once

#include <string>
#include <vector>

namespace srvtools::testing {

// What the next SSO requests answer; status other than 0 yields nothing.
void set_sso_credentials(const std::string& user, const std::string& password, int status = 0);
int sso_requests();

// HXUTILS_GetCookieInfo writes these five texts, in its argument order, and
// records the keys it was asked for (a null key as "(null)").
void set_cookie_info(std::vector<std::string> parts);
const std::vector<std::string>& cookie_keys();
void reset();

}  // namespace srvtools::testing
