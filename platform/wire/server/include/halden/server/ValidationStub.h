// The internal validation family: validation results of CAD checks, with
// their parameters and report datasets. Objects are UIDs, "" for none.
//
// What the sample world answers:
// - createValidationResults: per record, in order, a record without an item
//   revision gets a level-3 error (client index and id its position) and
//   creates nothing. Otherwise the record's existing result, when it names a
//   stored "ValReqResult", is updated; else a new "ValReqResult"
//   "valresult-<n>" is made. Either way the result gets "validation_id",
//   "validation_result", "validation_status", "validation_comments",
//   "validation_date", "validation_is_adhoc", "validation_item_rev_tag",
//   "validation_target", "validation_data_obj", "validation_user" (a new
//   result also "object_name", the validation id, and an empty
//   "validation_requirement") and a new
//   "ValidationParams" under "validation_parameters" ("names", "ops",
//   "values"). Per report record, the result's first report dataset is kept
//   when it has one, else a new dataset "valreport-<n>" of the report's type
//   and name is made and listed on "validation_report". The output names the
//   result and its report datasets; new objects are created, kept ones
//   updated.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ValidationParameterRecord {
  std::string name;
  std::string value;
  std::string op;
};

struct ValidationReportRecord {
  bool flag = false;
  std::string object_uid;
  std::string text;
  std::string name;
  std::string dataset_type;
  std::vector<std::string> files;
};

struct ValidationResultRecord {
  std::string existing_uid;
  std::string text;
  std::string item_revision_uid;
  std::string target_uid;
  std::string data_uid;
  std::string validation_id;
  bool result = false;
  int status = 0;
  std::string comments;
  Common::DateTime date;
  std::string user_uid;
  bool is_adhoc = false;
  std::vector<ValidationParameterRecord> parameters;
  std::vector<ValidationReportRecord> reports;
  bool flag = false;
};

struct ValidationResultOutputRecord {
  std::string result_uid;                // "" for none
  std::vector<std::string> report_uids;  // the result's report datasets
};

struct CreateValidationResultsReply {
  std::vector<ValidationResultOutputRecord> outputs;  // one per result made or updated, in record order
  WireServiceData data;
};

class ValidationStub {
 public:
  virtual ~ValidationStub() = default;
  virtual CreateValidationResultsReply createValidationResults(const std::vector<ValidationResultRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
