#include "kestrel_login.h"

#include <cstring>

namespace kestrel {

Halden::Soa::Client::Protocol protocol_of(const char* protocol) {
  return protocol && std::strcmp(protocol, "HTTP") == 0 ? Halden::Soa::Client::HTTP : Halden::Soa::Client::IIOP;
}

}  // namespace kestrel
