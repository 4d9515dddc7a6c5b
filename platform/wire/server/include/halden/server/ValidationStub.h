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
// - sendValidationData: per record, in order, one object: the record's
//   object when it names a stored one (updated); without one, a new
//   "ValidationData" "valdata-<n>" named by text1 (created); an unknown
//   object a level-3 error (client index its position) and "".
// - getValidationResults: per stored object, in order, the stored
//   "ValReqResult"s whose "validation_target", "validation_item_rev_tag" or
//   "validation_data_obj" names it, each result once; an unknown UID a
//   level-3 error.
// - queryValidationResults: per record, in order, its object and what
//   getValidationResults answers for it; no object, or an unknown one (a
//   level-3 error), "" and no results.
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

// Validation data sent for checks; one object answered per record.
struct ValidationDataRecord {
  std::string object_uid;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  bool flag1 = false;
  std::string object2_uid;
  std::string text6;
  std::vector<std::string> texts;
  std::vector<ValidationParameterRecord> parameters;
  ValidationReportRecord report;
  std::string related_uid;
  bool flag2 = false;
};

struct ValidationDataReply {
  std::vector<std::string> object_uids;  // one per record answered, "" for none
  WireServiceData data;
};

struct ValidationResultsReply {
  std::vector<std::string> result_uids;  // "" for none
  WireServiceData data;
};

struct ValidationQueryRecord {
  std::string object_uid;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  bool flag1 = false;
  std::string object2_uid;
  std::string text6;
  std::vector<std::string> texts;
  bool flag2 = false;
};

struct ValidationQueryOutputRecord {
  std::string object_uid;                // "" for none
  std::vector<std::string> result_uids;  // "" for none
};

struct ValidationQueryReply {
  std::vector<ValidationQueryOutputRecord> outputs;
  WireServiceData data;
};

class ValidationStub {
 public:
  virtual ~ValidationStub() = default;
  virtual CreateValidationResultsReply createValidationResults(const std::vector<ValidationResultRecord>& records) = 0;
  virtual ValidationDataReply sendValidationData(const std::vector<ValidationDataRecord>& records) = 0;
  virtual ValidationResultsReply getValidationResults(const std::vector<std::string>& object_uids) = 0;
  virtual ValidationQueryReply queryValidationResults(const std::vector<ValidationQueryRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
