#include "datasvc/OperationError.h"

namespace Orvane::DataManagement {

void OperationError::Add(int code, std::string message) { entries_.push_back({code, std::move(message)}); }

}  // namespace Orvane::DataManagement
