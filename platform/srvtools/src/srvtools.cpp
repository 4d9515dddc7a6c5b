#include <string>
#include <utility>
#include <vector>

#include "corerun/memory.h"
#include "srvtools/hxutils.h"
#include "srvtools/testing.h"

namespace {
struct State {
  std::string user = "sso-user", password = "sso-token";
  int status = 0;
  int requests = 0;
  std::vector<std::string> cookie = {"", "", "", "", ""};
  std::vector<std::string> cookie_keys;
};
State& state() {
  static State s;
  return s;
}
}  // namespace

int HXUTILS_get_SSO_credentials(char** user, char** password) {
  ++state().requests;
  if (user) *user = nullptr;
  if (password) *password = nullptr;
  if (state().status != 0 || !user || !password) return state().status ? state().status : 1;
  *user = SM_string_copy(state().user.c_str());
  *password = SM_string_copy(state().password.c_str());
  return 0;
}

void HXUTILS_GetCookieInfo(const char* key, std::string& first, std::string& second, std::string& third,
                           std::string& fourth, std::string& fifth) {
  state().cookie_keys.emplace_back(key ? key : "(null)");
  const auto& parts = state().cookie;
  first = parts[0];
  second = parts[1];
  third = parts[2];
  fourth = parts[3];
  fifth = parts[4];
}

namespace srvtools::testing {
void set_cookie_info(std::vector<std::string> parts) {
  parts.resize(5);
  state().cookie = std::move(parts);
}
const std::vector<std::string>& cookie_keys() { return state().cookie_keys; }
void set_sso_credentials(const std::string& user, const std::string& password, int status) {
  state().user = user;
  state().password = password;
  state().status = status;
}
int sso_requests() { return state().requests; }
void reset() { state() = State{}; }
}  // namespace srvtools::testing
