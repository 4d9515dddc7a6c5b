// Core reservation: checking objects out and in.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

class ReservationService {
 public:
  static ReservationService* getService(Soa::Client::Connection* connection);
  explicit ReservationService(Soa::Client::Connection* connection) : connection_(connection) {}

  Soa::Client::ServiceData checkout(const std::vector<Soa::Client::ModelObject*>& objects, const std::string& comment,
                                    const std::string& changeId);
  Soa::Client::ServiceData checkin(const std::vector<Soa::Client::ModelObject*>& objects);
  Soa::Client::ServiceData cancelCheckout(const std::vector<Soa::Client::ModelObject*>& objects);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
