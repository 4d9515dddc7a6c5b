#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ErrorStack.h"

namespace Halden::Soa::Client {

class ModelObject;

// The object part of every reply.
class ServiceData {
 public:
  const std::vector<ModelObject*>& getCreatedObjects() const { return created; }
  const std::vector<ModelObject*>& getUpdatedObjects() const { return updated; }
  const std::vector<ModelObject*>& getPlainObjects() const { return plain; }
  const std::vector<std::string>& getDeletedObjects() const { return deleted; }
  const std::vector<ErrorStack>& getPartialErrors() const { return errors; }
  std::size_t sizeOfPartialErrors() const { return errors.size(); }

  std::vector<ModelObject*> created, updated, plain;
  std::vector<std::string> deleted;
  std::vector<ErrorStack> errors;
};

}  // namespace Halden::Soa::Client
