// Saved queries (listed, described with their fields and lists of values,
// run singly or in a batch) and saved search criteria.
#pragma once

#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"

// The server's saved queries as host queries; 940205 when it has none.
std::vector<Orvane::PdmSoa::Query*>* KESTREL_list_saved_queries();
// Adds its fields to each query that has a server saved query behind it.
void KESTREL_describe_saved_queries(const std::vector<Orvane::PdmSoa::Query*>& queries);
std::vector<Orvane::PdmSoa::PomObject*>* KESTREL_execute_saved_query(Orvane::PdmSoa::Query* query,
                                                                     const std::vector<std::string>& entries,
                                                                     const std::vector<std::string>& values,
                                                                     int max_results);
// Appends one list of found UIDs per query; entries, values and maxima are
// taken by the query's position and must be at least as many as the queries.
// A query that failed on the server gets an empty list.
void KESTREL_execute_saved_queries(const std::vector<Orvane::PdmSoa::Query*>& queries,
                                   const std::vector<std::vector<std::string>>& entries,
                                   const std::vector<std::vector<std::string>>& values,
                                   const std::vector<int>& max_results, KESTREL_uid_lists* results);

void KESTREL_save_search_criteria(const std::vector<SearchCriteria>& criteria);
// Framework exceptions reach the caller unchanged.
void KESTREL_delete_search_criteria(const std::vector<std::string>& names);
std::vector<SearchCriteria>* KESTREL_retrieve_search_criteria(const std::vector<std::string>& names);
