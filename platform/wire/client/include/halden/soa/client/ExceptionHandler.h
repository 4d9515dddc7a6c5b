#pragma once

#include "halden/soa/client/Exceptions.h"

namespace Halden::Soa::Client {

// Called by the framework from inside a failed request. Returning from
// handleInternalServerException asks the framework to try the request again.
class ExceptionHandler {
 public:
  virtual ~ExceptionHandler() = default;
  virtual void handleCanceledOperation(const CanceledOperationException& e) = 0;
  virtual void handleInternalServerException(const InternalServerException& e) = 0;
  virtual void handleSuccess() {}
};

}  // namespace Halden::Soa::Client
