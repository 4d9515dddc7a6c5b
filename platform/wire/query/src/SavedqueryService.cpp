#include "halden/services/query/SavedqueryService.h"

#include "halden/server/SavedQueryStub.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Query {

using Soa::Client::ModelObject;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::objectsOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Query-2006-03-SavedQuery";
constexpr const char* kBatchService = "Query-2007-09-SavedQuery";
constexpr const char* kCriteriaService = "Query-2010-04-SearchCriteria";

Wire::SearchCriteriaRecord wire_of(const SearchCriteriaInput& in) { return {in.text1, in.text2, in.list1, in.list2}; }
}  // namespace

SavedqueryService* SavedqueryService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<SavedqueryService>(connection, kService);
}

GetSavedQueriesResponse SavedqueryService::getSavedQueries() {
  auto reply = invoke(*connection_, kService, "getSavedQueries", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kService).getSavedQueries();
  });
  GetSavedQueriesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.queries.reserve(reply.queries.size());
  for (const auto& q : reply.queries) out.queries.push_back({objectOf(models, q.query_uid), q.name, q.description});
  return out;
}

DescribeSavedQueriesResponse SavedqueryService::describeSavedQueries(const std::vector<ModelObject*>& queries) {
  const auto uids = Soa::Client::Internal::uidsOf(queries);
  auto reply = invoke(*connection_, kService, "describeSavedQueries", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kService).describeSavedQueries(uids);
  });
  DescribeSavedQueriesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.fieldLists.reserve(reply.descriptions.size());
  for (const auto& d : reply.descriptions) {
    SavedQueryFieldListObject list;
    list.fields.reserve(d.fields.size());
    for (const auto& f : d.fields)
      list.fields.push_back({f.attribute_name, f.entry_name, f.logical_operation, f.math_operation, f.value,
                             objectOf(models, f.lov_uid), f.attribute_type});
    out.fieldLists.push_back(std::move(list));
  }
  return out;
}

ExecuteSavedQueryResponse SavedqueryService::executeSavedQuery(ModelObject* query,
                                                               const std::vector<std::string>& entries,
                                                               const std::vector<std::string>& values, int limit) {
  const std::string uid = uidOf(query);
  auto reply = invoke(*connection_, kService, "executeSavedQuery", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kService).executeSavedQuery(uid, entries, values, limit);
  });
  ExecuteSavedQueryResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.nFound = reply.found;
  out.objects = objectsOf(*connection_->getModelManager(), reply.object_uids);
  return out;
}

SavedQueriesResponse SavedqueryService::executeSavedQueries(const std::vector<SavedQueryInput>& input) {
  std::vector<Wire::SavedQueryInput> inputs;
  inputs.reserve(input.size());
  for (const auto& in : input)
    inputs.push_back({uidOf(in.query), in.entries, in.values, in.maxNumToReturn, in.resultsType});
  auto reply = invoke(*connection_, kBatchService, "executeSavedQueries", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kBatchService).executeSavedQueries(inputs);
  });
  SavedQueriesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.arrayOfResults.reserve(reply.results.size());
  for (const auto& r : reply.results) out.arrayOfResults.push_back({objectsOf(models, r.object_uids), r.uids});
  return out;
}

Soa::Client::ServiceData SavedqueryService::saveSearchCriteria(const std::vector<SearchCriteriaInput>& criteria) {
  std::vector<Wire::SearchCriteriaRecord> records;
  records.reserve(criteria.size());
  for (const auto& c : criteria) records.push_back(wire_of(c));
  auto reply = invoke(*connection_, kCriteriaService, "saveSearchCriteria", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kCriteriaService).saveSearchCriteria(records);
  });
  return absorb(*connection_, reply);
}

Soa::Client::ServiceData SavedqueryService::deleteSearchCriteria(const std::vector<std::string>& names) {
  auto reply = invoke(*connection_, kCriteriaService, "deleteSearchCriteria", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kCriteriaService).deleteSearchCriteria(names);
  });
  return absorb(*connection_, reply);
}

RetrieveSearchCriteriaResponse SavedqueryService::retrieveSearchCriteria(const std::vector<std::string>& names) {
  auto reply = invoke(*connection_, kCriteriaService, "retrieveSearchCriteria", [&](Wire::Server& server) {
    return require<Wire::SavedQueryStub>(server, kCriteriaService).retrieveSearchCriteria(names);
  });
  RetrieveSearchCriteriaResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.criteria.reserve(reply.criteria.size());
  for (auto& c : reply.criteria) out.criteria.push_back({c.text1, c.text2, c.list1, c.list2});
  return out;
}

}  // namespace Halden::Services::Query
