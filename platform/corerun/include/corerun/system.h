// Base library: process services.
#pragma once

#include <string>

void POSIX_sleep(int seconds);

namespace Orvane::System {

// A named environment switch; read when asked, so a change is seen.
class EnvironmentVariable {
 public:
  explicit EnvironmentVariable(std::string name);
  const std::string& Name() const { return name_; }
  bool IsSet() const;
  std::string Value() const;
  // Set to one of "0", "false", "no", "off" or "disabled", in any case.
  bool IsDisabled() const;

 private:
  std::string name_;
};

}  // namespace Orvane::System
