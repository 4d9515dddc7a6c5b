// The internal validation service: validation results of CAD checks, with
// their parameters and report datasets.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/common/DateTime.h"

namespace Halden::Services::Internal::Validation {

struct ParameterInfo {
  std::string name;
  std::string value;
  std::string op;
};

struct ReportInfo {
  bool flag = false;
  Soa::Client::ModelObject* object = nullptr;
  std::string text;
  std::string name;
  std::string datasetType;
  std::vector<std::string> files;
};

struct ResultInput {
  Soa::Client::ModelObject* existingResult = nullptr;
  std::string text;
  Soa::Client::ModelObject* itemRevision = nullptr;
  Soa::Client::ModelObject* target = nullptr;
  Soa::Client::ModelObject* dataObject = nullptr;
  std::string validationId;
  bool result = false;
  int status = 0;
  std::string comments;
  Soa::Common::DateTime date;
  Soa::Client::ModelObject* user = nullptr;
  bool isAdhoc = false;
  std::vector<ParameterInfo> parameters;
  std::vector<ReportInfo> reports;
  bool flag = false;
};

struct ReportOutput {
  Soa::Client::ModelObject* dataset = nullptr;
};

struct ResultOutput {
  Soa::Client::ModelObject* result = nullptr;
  std::vector<ReportOutput> reports;
};

struct CreateResultsResponse {
  std::vector<ResultOutput> output;  // one per result made or updated, in the server's order
  Soa::Client::ServiceData serviceData;
};

// Validation data: one record per input; the reply names one object per
// record. The meaning of the texts and flags is the service's.
struct DataInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  bool flag1 = false;
  Soa::Client::ModelObject* object2 = nullptr;
  std::string text6;
  std::vector<std::string> texts;
  std::vector<ParameterInfo> parameters;
  ReportInfo report;
  Soa::Client::ModelObject* relatedObject = nullptr;
  bool flag2 = false;
};

struct DataOutput {
  Soa::Client::ModelObject* object = nullptr;
};

struct DataResponse {
  std::vector<DataOutput> output;  // in the server's order
  Soa::Client::ServiceData serviceData;
};

struct ResultsOfObjectsResponse {
  std::vector<Soa::Client::ModelObject*> results;  // in the server's order
  Soa::Client::ServiceData serviceData;
};

// A query for validation results; the texts and flags are the service's.
struct ResultQueryInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  bool flag1 = false;
  Soa::Client::ModelObject* object2 = nullptr;
  std::string text6;
  std::vector<std::string> texts;
  bool flag2 = false;
};

struct ResultQueryOutput {
  Soa::Client::ModelObject* object = nullptr;
  std::vector<Soa::Client::ModelObject*> objects;
};

struct QueryResultsResponse {
  std::vector<ResultQueryOutput> output;  // in the server's order
  Soa::Client::ServiceData serviceData;
};

class ValidationService {
 public:
  static ValidationService* getService(Soa::Client::Connection* connection);
  explicit ValidationService(Soa::Client::Connection* connection) : connection_(connection) {}

  CreateResultsResponse createValidationResults(const std::vector<ResultInput>& inputs);
  DataResponse sendValidationData(const std::vector<DataInput>& inputs);
  ResultsOfObjectsResponse getValidationResults(const std::vector<Soa::Client::ModelObject*>& objects);
  QueryResultsResponse queryValidationResults(const std::vector<ResultQueryInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Internal::Validation
