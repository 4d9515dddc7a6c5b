// Options a connection asks of its server endpoint, outside any service.
#pragma once

#include <string>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

class ConnectionStub {
 public:
  virtual ~ConnectionStub() = default;
  virtual std::string getOption(int option) = 0;
};

}  // namespace Halden::Soa::Server
