// Reservation: check-out, check-in and cancelling a check-out.
//
// What the sample world answers: each object keeps its reservation state. A
// check-out marks it "checked_out" "Y" with "checked_out_user" the session
// user and keeps the comment ("checkout_comment") and change id
// ("checkout_change_id"); check-in and cancel clear all four. Every changed
// object comes back as updated. Checking out an object already checked out
// (32009), checking in or cancelling one that is not (32010), or an unknown
// UID gives a level-3 error associated with that object, and the object is
// left as it was.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

class ReservationStub {
 public:
  virtual ~ReservationStub() = default;
  virtual WireServiceData checkout(const std::vector<std::string>& uids, const std::string& comment,
                                   const std::string& change_id) = 0;
  virtual WireServiceData checkin(const std::vector<std::string>& uids) = 0;
  virtual WireServiceData cancelCheckout(const std::vector<std::string>& uids) = 0;
};

}  // namespace Halden::Soa::Server
