#include "halden/server/world/ConnectionWorld.h"

namespace Halden::Soa::Server {

std::string ConnectionWorld::getOption(int option) {
  auto it = options_.find(option);
  return it == options_.end() ? std::string() : it->second;
}

}  // namespace Halden::Soa::Server
