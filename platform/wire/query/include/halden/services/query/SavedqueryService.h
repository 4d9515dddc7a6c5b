// The saved-query service: saved queries and saved search criteria.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Query {

struct SavedQueryObject {
  Soa::Client::ModelObject* query = nullptr;
  std::string name;
  std::string description;
};

struct GetSavedQueriesResponse {
  std::vector<SavedQueryObject> queries;
  Soa::Client::ServiceData serviceData;
};

struct SavedQueryFieldObject {
  std::string attributeName;
  std::string entryName;
  std::string logicalOperation;
  std::string mathOperation;
  std::string value;
  Soa::Client::ModelObject* lov = nullptr;
  int attributeType = 0;
};

struct SavedQueryFieldListObject {
  std::vector<SavedQueryFieldObject> fields;
};

struct DescribeSavedQueriesResponse {
  std::vector<SavedQueryFieldListObject> fieldLists;  // one per query, in the order asked
  Soa::Client::ServiceData serviceData;
};

struct ExecuteSavedQueryResponse {
  int nFound = 0;
  std::vector<Soa::Client::ModelObject*> objects;
  Soa::Client::ServiceData serviceData;
};

struct SavedQueryInput {
  Soa::Client::ModelObject* query = nullptr;
  std::vector<std::string> entries;
  std::vector<std::string> values;
  int maxNumToReturn = 0;
  int resultsType = 0;
};

struct SavedQueryResults {
  std::vector<Soa::Client::ModelObject*> objects;
  std::vector<std::string> objectUIDS;
};

struct SavedQueriesResponse {
  std::vector<SavedQueryResults> arrayOfResults;  // one per input without a partial error
  Soa::Client::ServiceData serviceData;
};

struct SearchCriteriaInput {
  std::string text1;
  std::string text2;
  std::vector<std::string> list1;
  std::vector<std::string> list2;
};

struct RetrieveSearchCriteriaResponse {
  std::vector<SearchCriteriaInput> criteria;
  Soa::Client::ServiceData serviceData;
};

class SavedqueryService {
 public:
  static SavedqueryService* getService(Soa::Client::Connection* connection);
  explicit SavedqueryService(Soa::Client::Connection* connection) : connection_(connection) {}

  GetSavedQueriesResponse getSavedQueries();
  DescribeSavedQueriesResponse describeSavedQueries(const std::vector<Soa::Client::ModelObject*>& queries);
  ExecuteSavedQueryResponse executeSavedQuery(Soa::Client::ModelObject* query, const std::vector<std::string>& entries,
                                              const std::vector<std::string>& values, int limit);
  SavedQueriesResponse executeSavedQueries(const std::vector<SavedQueryInput>& input);

  Soa::Client::ServiceData saveSearchCriteria(const std::vector<SearchCriteriaInput>& criteria);
  Soa::Client::ServiceData deleteSearchCriteria(const std::vector<std::string>& names);
  RetrieveSearchCriteriaResponse retrieveSearchCriteria(const std::vector<std::string>& names);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Query
