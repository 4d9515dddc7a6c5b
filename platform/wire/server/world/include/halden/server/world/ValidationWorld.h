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
  ValidationDataReply sendValidationData(const std::vector<ValidationDataRecord>& records) override;
  ValidationResultsReply getValidationResults(const std::vector<std::string>& object_uids) override;
  ValidationQueryReply queryValidationResults(const std::vector<ValidationQueryRecord>& records) override;

  // The type chains of what this family stores.
  static const std::vector<std::string>& result_types();
  static const std::vector<std::string>& parameter_types();
  static const std::vector<std::string>& dataset_types(const std::string& type);
  static const std::vector<std::string>& data_types();

 private:
  WorldStore& store_;
  // Adds the stored results that name the object as target, item revision
  // or data object (or the object itself when it is a result).
  void add_results_of(const std::string& object_uid, UidList& results) const;
};

}  // namespace Halden::Soa::Server
