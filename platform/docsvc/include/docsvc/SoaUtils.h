// The document services' checks of framework replies.
#pragma once

#include <vector>

#include "datasvc/OperationError.h"
#include "halden/soa/client/ServiceData.h"
#include "objmodel/ModelObject.h"

namespace Orvane::PDM::Services {

class SoaUtils {
 public:
  using HostObjects = std::vector<Orvane::PdmSoa::ModelObject*>;

  // Copies every error value of the reply into error and the reply's
  // created and updated objects, as host objects, into the lists given (a
  // null list is skipped). True when the reply holds no partial error.
  static bool CheckServiceData(const Halden::Soa::Client::ServiceData& data,
                               Orvane::DataManagement::OperationError* error, HostObjects* created = nullptr,
                               HostObjects* updated = nullptr);
};

}  // namespace Orvane::PDM::Services
