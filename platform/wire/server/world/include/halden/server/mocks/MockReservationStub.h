// GoogleMock stub of reservation; by default it answers as the given
// implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/ReservationStub.h"

namespace Halden::Soa::Server {

class MockReservationStub : public ReservationStub {
 public:
  using Stub = ReservationStub;
  explicit MockReservationStub(ReservationStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, checkout).WillByDefault(Invoke(&answers, &ReservationStub::checkout));
    ON_CALL(*this, checkin).WillByDefault(Invoke(&answers, &ReservationStub::checkin));
    ON_CALL(*this, cancelCheckout).WillByDefault(Invoke(&answers, &ReservationStub::cancelCheckout));
  }
  MOCK_METHOD(WireServiceData, checkout,
              (const std::vector<std::string>& uids, const std::string& comment, const std::string& change_id),
              (override));
  MOCK_METHOD(WireServiceData, checkin, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(WireServiceData, cancelCheckout, (const std::vector<std::string>& uids), (override));
};

}  // namespace Halden::Soa::Server
