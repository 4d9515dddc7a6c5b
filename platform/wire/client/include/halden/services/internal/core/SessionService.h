#pragma once

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Internal::Core {

class SessionService {
 public:
  static SessionService* getService(Soa::Client::Connection* connection);
  explicit SessionService(Soa::Client::Connection* connection) : connection_(connection) {}

  Soa::Client::ServiceData refreshPOMCachePerRequest(bool refresh);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Internal::Core
