// The sample world's saved queries and search criteria. Saved queries run
// against the store: "Item ID" finds items by "item_id", "Item Name" by
// "object_name" and "object_type"; values may hold the wildcards "*" (any
// text) and "?" (one character), and match without regard to case. Search
// criteria are kept per session user, named by their first text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/SavedQueryStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/SessionWorld.h"

namespace Halden::Soa::Server {

class SavedQueryWorld : public SavedQueryStub {
 public:
  // Criteria belong to the user the session has logged in.
  SavedQueryWorld(WorldStore& store, const SessionWorld& session);

  // A saved query over the objects of a type; each field names the property
  // its entry matches. Listed after the queries added before it.
  void add_query(const std::string& uid, const std::string& name, const std::string& searched_type,
                 std::vector<QueryField> fields);
  // A list of values of the class ("ListOfValuesString", ...) with its
  // "lov_value_type" and values.
  void add_lov(const std::string& uid, const std::string& lov_class, int value_type, WireProperty values);

  SavedQueriesReply getSavedQueries() override;
  DescribeQueriesReply describeSavedQueries(const std::vector<std::string>& query_uids) override;
  ExecuteQueryReply executeSavedQuery(const std::string& query_uid, const std::vector<std::string>& entries,
                                      const std::vector<std::string>& values, int max_results) override;
  ExecuteQueriesReply executeSavedQueries(const std::vector<SavedQueryInput>& inputs) override;
  WireServiceData saveSearchCriteria(const std::vector<SearchCriteriaRecord>& criteria) override;
  WireServiceData deleteSearchCriteria(const std::vector<std::string>& names) override;
  SearchCriteriaReply retrieveSearchCriteria(const std::vector<std::string>& names) override;

 private:
  struct SavedQuery {
    std::string name, searched_type;
    std::vector<QueryField> fields;
  };
  struct Run {
    int found = 0;
    std::vector<std::string> uids;
    bool failed = false;
    WireErrorStack error;
  };
  Run run(const std::string& query_uid, const std::vector<std::string>& entries,
          const std::vector<std::string>& values, int max_results) const;

  WorldStore& store_;
  const SessionWorld& session_;
  std::vector<std::string> order_;
  std::map<std::string, SavedQuery> queries_;
  std::map<std::string, std::vector<SearchCriteriaRecord>> criteria_;  // by user
};

}  // namespace Halden::Soa::Server
