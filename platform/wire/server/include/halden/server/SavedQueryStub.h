// Saved queries and saved search criteria.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct SavedQueryEntry {
  std::string query_uid;
  std::string name, description;
};

struct SavedQueriesReply {
  std::vector<SavedQueryEntry> queries;
  WireServiceData data;
};

// One field a query takes.
struct QueryField {
  std::string attribute_name, entry_name, logical_operation, math_operation, value;
  std::string lov_uid;  // "" for none
  int attribute_type = 0;
};

struct QueryDescription {
  std::vector<QueryField> fields;
};

struct DescribeQueriesReply {
  std::vector<QueryDescription> descriptions;  // one per query asked, in order
  WireServiceData data;
};

struct ExecuteQueryReply {
  int found = 0;                         // may exceed what the list holds
  std::vector<std::string> object_uids;  // "" for a null object
  WireServiceData data;
};

struct SavedQueryInput {
  std::string query_uid;
  std::vector<std::string> entries, values;
  int max_results = 0;
  int results_type = 0;
};

struct SavedQueryResults {
  std::vector<std::string> object_uids;
  std::vector<std::string> uids;  // the found objects' UIDs as texts
};

struct ExecuteQueriesReply {
  // One per input without a partial error, in input order; the errors
  // carry their input's client index.
  std::vector<SavedQueryResults> results;
  WireServiceData data;
};

struct SearchCriteriaRecord {
  std::string text1, text2;
  std::vector<std::string> list1, list2;
};

struct SearchCriteriaReply {
  std::vector<SearchCriteriaRecord> criteria;
  WireServiceData data;
};

class SavedQueryStub {
 public:
  virtual ~SavedQueryStub() = default;
  virtual SavedQueriesReply getSavedQueries() = 0;
  virtual DescribeQueriesReply describeSavedQueries(const std::vector<std::string>& query_uids) = 0;
  // max_results 0 or less: no limit.
  virtual ExecuteQueryReply executeSavedQuery(const std::string& query_uid, const std::vector<std::string>& entries,
                                              const std::vector<std::string>& values, int max_results) = 0;
  virtual ExecuteQueriesReply executeSavedQueries(const std::vector<SavedQueryInput>& inputs) = 0;
  // The session user's criteria, named by their first text.
  virtual WireServiceData saveSearchCriteria(const std::vector<SearchCriteriaRecord>& criteria) = 0;
  virtual WireServiceData deleteSearchCriteria(const std::vector<std::string>& names) = 0;
  // No names: all of them.
  virtual SearchCriteriaReply retrieveSearchCriteria(const std::vector<std::string>& names) = 0;
};

}  // namespace Halden::Soa::Server
