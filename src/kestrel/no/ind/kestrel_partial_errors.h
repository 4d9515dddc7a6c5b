// The partial errors of a reply as the host's PartialErrorInfo records.
// Shared by every operation that returns them in its result (delete,
// classification, validation); free of host classes.
#pragma once

#include <vector>

#include "halden/soa/client/ServiceData.h"
#include "kestrel/kestrel_types.h"

namespace kestrel {

// One {code, message} per error value: the reply's stacks in order, each
// stack's values by index. Levels and associated objects are not kept;
// nothing is filtered or merged.
std::vector<PartialErrorInfo> partial_error_infos(const Halden::Soa::Client::ServiceData& reply);

}  // namespace kestrel
