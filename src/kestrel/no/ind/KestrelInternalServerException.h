#pragma once

#include "halden/soa/client/ExceptionHandler.h"

namespace Orvane::PdmSoa {

// Decides, inside a failed request, whether the request fails into the host
// or the framework goes on; on a lost web tier it lets the user choose.
class KestrelInternalServerException : public Halden::Soa::Client::ExceptionHandler {
 public:
  void handleCanceledOperation(const Halden::Soa::Client::CanceledOperationException& e) override;
  void handleInternalServerException(const Halden::Soa::Client::InternalServerException& e) override;
};

}  // namespace Orvane::PdmSoa
