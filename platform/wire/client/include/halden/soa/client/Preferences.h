#pragma once

#include <map>
#include <string>
#include <vector>

namespace Halden::Soa::Client {

class Preferences {
 public:
  // Values of one preference; empty when the reply did not name it.
  const std::vector<std::string>& getPreference(const std::string& name) const;
  const std::map<std::string, std::vector<std::string>>& getPreferences() const { return values; }

  std::map<std::string, std::vector<std::string>> values;
};

}  // namespace Halden::Soa::Client
