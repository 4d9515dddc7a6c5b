// Reservation in the sample world: per-object check-out state on the stored
// objects, as ReservationStub.h tells.
#pragma once

#include <string>
#include <vector>

#include "halden/server/ReservationStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/SessionWorld.h"

namespace Halden::Soa::Server {

class ReservationWorld : public ReservationStub {
 public:
  ReservationWorld(WorldStore& store, const SessionWorld& session) : store_(store), session_(session) {}

  WireServiceData checkout(const std::vector<std::string>& uids, const std::string& comment,
                           const std::string& change_id) override;
  WireServiceData checkin(const std::vector<std::string>& uids) override;
  WireServiceData cancelCheckout(const std::vector<std::string>& uids) override;

 private:
  WireServiceData release(const std::vector<std::string>& uids);
  WorldStore& store_;
  const SessionWorld& session_;
};

}  // namespace Halden::Soa::Server
