// The endpoint's transport options in the sample world.
#pragma once

#include <map>
#include <string>

#include "halden/server/ConnectionStub.h"

namespace Halden::Soa::Server {

class ConnectionWorld : public ConnectionStub {
 public:
  void set_option(int option, std::string value) { options_[option] = std::move(value); }
  // "" for an option not set.
  std::string getOption(int option) override;

 private:
  std::map<int, std::string> options_;
};

}  // namespace Halden::Soa::Server
