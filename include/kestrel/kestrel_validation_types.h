// Records of the validation slots (80 to 85). Field order and types are the
// interface with the host; the host builds the input lists and keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "kestrel/kestrel_types.h"

// One parameter of a check; op is its comparison operator as text.
struct ValidationParameter {
  std::string name;
  std::string value;
  std::string op;
};

// A local file of a report, uploaded under a named reference of the report
// dataset; text_flag 1 marks a text file, anything else a binary one.
struct ValidationReportFile {
  std::string path;
  std::string reference_name;
  std::int32_t text_flag = 0;
};

// The report of a check: a dataset of the given name and type that holds
// its files. report_text is the host's and not read by the library.
struct ValidationReport {
  bool report_flag = false;
  std::string report_text;
  std::string name;
  std::string dataset_type;
  std::vector<ValidationReportFile> files;
};

// The outcome of one check, to record as a validation result. An input
// carries at most one report. extra_text and extra_value are the host's and
// not read by the library.
struct ValidationResultInput {
  std::string extra_text;
  std::string result_uid;  // an existing result, or empty
  std::string item_revision_uid;
  std::string target_uid;
  std::string data_object_uid;
  std::string validation_id;
  bool result = false;
  std::int32_t status = 0;
  std::string comments;
  date_s date{};
  std::int64_t extra_value = 0;
  bool is_adhoc = false;
  std::vector<ValidationParameter> parameters;
  std::vector<ValidationReport> reports;
  bool service_flag = false;
  std::string check_name;
  std::string requirement_uid;  // empty for none
};

// A report file on the server, with a read ticket for downloading it.
struct ValidationReportFileInfo {
  std::string original_file_name;
  std::string reference_name;
  std::int32_t text_flag = 0;
  std::string ticket;
};

// One validation result created or updated.
struct ValidationResultInfo {
  std::string result_uid;
  std::string report_dataset_uid;  // empty when the result has no report
  std::vector<ValidationReportFileInfo> report_files;
  std::vector<PartialErrorInfo> errors;
};

// What creating, saving or updating validation results answers: the results
// in the server's order and the partial errors of the request that made them.
struct ValidationResultList {
  std::vector<ValidationResultInfo> results;
  std::vector<PartialErrorInfo> errors;
};

// Validation data of a check, sent through slot 80: the five texts and the
// flag go to the server as they are; extra_text is the host's.
struct ValidationDataInput {
  std::string object_uid;  // an existing object, or empty
  std::string first_text;
  std::string second_text;
  std::string third_text;
  std::string fourth_text;
  std::string fifth_text;
  std::vector<ValidationParameter> parameters;
  std::string extra_text;
  std::string related_uid;  // a related object, or empty
  bool flag = false;
};

// The objects the server answers for validation data, in its order ("" for
// an entry without one), and the partial errors of the request.
struct ValidationObjectList {
  std::vector<std::string> uids;
  std::vector<PartialErrorInfo> errors;
};

// The validation results of the objects; only those whose data object is
// one of data_object_uids when that is not empty; with their report files
// unless skip_reports.
struct ValidationDataRequest {
  std::vector<std::string> object_uids;
  std::vector<std::string> data_object_uids;
  bool skip_reports = false;
};

// The report dataset of a result and its files.
struct ValidationReportData {
  std::string report_dataset_uid;  // empty when the result has no report
  std::vector<ValidationReportFileInfo> files;
};

// Results in the server's order; reports line up with result_uids, or stay
// empty when they were skipped.
struct ValidationDataList {
  std::vector<std::string> result_uids;
  std::vector<ValidationReportData> reports;
  std::vector<PartialErrorInfo> errors;
};

// A query for validation results: the texts and the flag go to the server
// as they are.
struct ValidationResultQuery {
  std::string object_uid;  // may be empty
  std::string first_text;
  std::string second_text;
  std::string third_text;
  std::string fourth_text;
  std::string fifth_text;
  std::vector<std::string> texts;
  bool flag = false;
};

// One entry of a query's answer: an object and its results ("" for none).
struct ValidationQueryResult {
  std::string object_uid;
  std::vector<std::string> result_uids;
};

struct ValidationQueryResultList {
  std::vector<ValidationQueryResult> results;
  std::vector<PartialErrorInfo> errors;
};
