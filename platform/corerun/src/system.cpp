#include "corerun/system.h"

#include <cstdlib>
#include <vector>

#include "corerun/testing.h"
#include "corerun/ustring.h"

namespace {
std::vector<int>& sleep_log() {
  static std::vector<int> log;
  return log;
}
}  // namespace

void POSIX_sleep(int seconds) { sleep_log().push_back(seconds); }

namespace Orvane::System {

EnvironmentVariable::EnvironmentVariable(std::string name) : name_(std::move(name)) {}

bool EnvironmentVariable::IsSet() const { return std::getenv(name_.c_str()) != nullptr; }

std::string EnvironmentVariable::Value() const {
  const char* v = std::getenv(name_.c_str());
  return v ? v : "";
}

bool EnvironmentVariable::IsDisabled() const {
  const char* v = std::getenv(name_.c_str());
  if (!v) return false;
  for (const char* off : {"0", "false", "no", "off", "disabled"})
    if (STR_compare_i(v, off) == 0) return true;
  return false;
}

}  // namespace Orvane::System

namespace corerun::testing {
const std::vector<int>& sleeps() { return sleep_log(); }
void clear_sleeps() { sleep_log().clear(); }
}  // namespace corerun::testing
