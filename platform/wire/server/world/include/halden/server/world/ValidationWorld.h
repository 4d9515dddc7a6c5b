// Validation results in the sample world: "ValReqResult" objects with their
// parameters and report datasets, kept in the store so that every family
// (core reads, file management, queries) sees them.
#pragma once

#include <string>
#include <vector>

#include "halden/server/ValidationStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class ValidationWorld : public ValidationStub {
 public:
  explicit ValidationWorld(WorldStore& store) : store_(store) {}

  CreateValidationResultsReply createValidationResults(const std::vector<ValidationResultRecord>& records) override;

  // The type chains of what this family stores.
  static const std::vector<std::string>& result_types();
  static const std::vector<std::string>& parameter_types();
  static const std::vector<std::string>& dataset_types(const std::string& type);

 private:
  WorldStore& store_;
};

}  // namespace Halden::Soa::Server
