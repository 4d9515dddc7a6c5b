#pragma once

#include <gmock/gmock.h>

#include "halden/server/SavedQueryStub.h"

namespace Halden::Soa::Server {

class MockSavedQueryStub : public SavedQueryStub {
 public:
  using Stub = SavedQueryStub;
  explicit MockSavedQueryStub(SavedQueryStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getSavedQueries).WillByDefault(Invoke(&answers, &Stub::getSavedQueries));
    ON_CALL(*this, describeSavedQueries).WillByDefault(Invoke(&answers, &Stub::describeSavedQueries));
    ON_CALL(*this, executeSavedQuery).WillByDefault(Invoke(&answers, &Stub::executeSavedQuery));
    ON_CALL(*this, executeSavedQueries).WillByDefault(Invoke(&answers, &Stub::executeSavedQueries));
    ON_CALL(*this, saveSearchCriteria).WillByDefault(Invoke(&answers, &Stub::saveSearchCriteria));
    ON_CALL(*this, deleteSearchCriteria).WillByDefault(Invoke(&answers, &Stub::deleteSearchCriteria));
    ON_CALL(*this, retrieveSearchCriteria).WillByDefault(Invoke(&answers, &Stub::retrieveSearchCriteria));
  }
  MOCK_METHOD(SavedQueriesReply, getSavedQueries, (), (override));
  MOCK_METHOD(DescribeQueriesReply, describeSavedQueries, (const std::vector<std::string>& query_uids), (override));
  MOCK_METHOD(ExecuteQueryReply, executeSavedQuery,
              (const std::string& query_uid, const std::vector<std::string>& entries,
               const std::vector<std::string>& values, int max_results),
              (override));
  MOCK_METHOD(ExecuteQueriesReply, executeSavedQueries, (const std::vector<SavedQueryInput>& inputs), (override));
  MOCK_METHOD(WireServiceData, saveSearchCriteria, (const std::vector<SearchCriteriaRecord>& criteria), (override));
  MOCK_METHOD(WireServiceData, deleteSearchCriteria, (const std::vector<std::string>& names), (override));
  MOCK_METHOD(SearchCriteriaReply, retrieveSearchCriteria, (const std::vector<std::string>& names), (override));
};

}  // namespace Halden::Soa::Server
