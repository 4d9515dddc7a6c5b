#include "kestrel_partial_errors.h"

namespace kestrel {

std::vector<PartialErrorInfo> partial_error_infos(const Halden::Soa::Client::ServiceData& reply) {
  const auto& stacks = reply.getPartialErrors();
  std::size_t count = 0;
  for (const auto& stack : stacks) count += stack.getErrorValues().size();
  std::vector<PartialErrorInfo> infos;
  infos.reserve(count);
  for (const auto& stack : stacks)
    for (const auto& value : stack.getErrorValues()) infos.push_back({value.getCode(), value.getMessage()});
  return infos;
}

}  // namespace kestrel
