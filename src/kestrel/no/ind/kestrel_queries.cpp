#include "kestrel_queries.h"

#include <memory>

#include "halden/services/query/SavedqueryService.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_object.h"
#include "kestrel_queries_core.h"
#include "kestrel_request.h"

using Halden::Services::Query::SavedqueryService;
using Halden::Soa::Client::ModelObject;
using Orvane::PdmSoa::ListOfValues;
using Orvane::PdmSoa::PomObject;
using Orvane::PdmSoa::Query;
using Orvane::PdmSoa::SoaManager;
namespace queries = kestrel::queries;

namespace {

constexpr const char* kBatchOperation = "Query-2007-09-SavedQuery.executeSavedQueries";
constexpr const char* kNoServerObject = "KRAL SOA: Error getting SOA object from KRAL object";

// The saved-query work of the core over this build's host classes.
struct Host {
  using Query = Orvane::PdmSoa::Query;
  using Lov = ListOfValues;
  using FieldType = virelmgrFieldDataType_e;

  static UString text(const std::string& text) { return StringToUString(text); }
  static std::string uid_of(const Query& query) { return UStringToString(query.GetUid()); }
  // Null when the host holds the object as another class.
  static Lov* lov_of(ModelObject* object) { return kestrel::wrap_as<ListOfValues>(object); }

  static int int_value(Lov& lov, const std::string& name) { return KESTREL_get_object_property_int(&lov, name, true); }
  static const std::vector<char>& char_values(Lov& lov, const std::string& name) {
    return KESTREL_get_object_property_char_array(&lov, name, true);
  }
  static std::vector<date_s> date_values(Lov& lov, const std::string& name) {
    std::unique_ptr<std::vector<date_s>> values(KESTREL_get_object_property_date_array(&lov, name, true));
    return values ? std::move(*values) : std::vector<date_s>();
  }
  static const std::vector<double>& double_values(Lov& lov, const std::string& name) {
    return KESTREL_get_object_property_double_array(&lov, name, true);
  }
  static const std::vector<int>& int_values(Lov& lov, const std::string& name) {
    return KESTREL_get_object_property_int_array(&lov, name, true);
  }
  static const std::vector<std::string>& string_values(Lov& lov, const std::string& name) {
    return KESTREL_get_object_property_string_array(&lov, name, true);
  }
  static std::vector<Orvane::PdmSoa::ModelObject*> reference_values(Lov& lov, const std::string& name) {
    std::unique_ptr<std::vector<Orvane::PdmSoa::ModelObject*>> values(
        KESTREL_get_object_property_object_array(&lov, name, true));
    return values ? std::move(*values) : std::vector<Orvane::PdmSoa::ModelObject*>();
  }
};

KESTREL_uid_list uid_list(const std::vector<ModelObject*>& objects) {
  KESTREL_uid_list uids;
  uids.reserve(objects.size());
  for (const ModelObject* object : objects)
    if (object) uids.push_back(StringToUString(object->getUid()));
  return uids;
}

KESTREL_uid_list uid_list(const std::vector<std::string>& texts) {
  KESTREL_uid_list uids;
  uids.reserve(texts.size());
  for (const auto& text : texts) uids.push_back(StringToUString(text));
  return uids;
}

void check_batch_input(const std::vector<Query*>& queries, std::size_t entries, std::size_t values,
                       std::size_t max_results, const KESTREL_uid_lists* results) {
  if (!results) KESTREL_RAISE(940208, "KRAL SOA: Null result list in KESTREL_execute_saved_queries");
  for (const Query* query : queries)
    if (!query) KESTREL_RAISE(940208, "KRAL SOA: Null query in KESTREL_execute_saved_queries");
  const std::size_t n = queries.size();
  const char* short_list = entries < n ? "entries" : values < n ? "values" : max_results < n ? "max results" : nullptr;
  if (short_list)
    KESTREL_RAISE(940208, "KRAL SOA: Bad Input for KESTREL_execute_saved_queries: %s array size < queries array size\n",
                  short_list);
  // A query the server cannot be sent is refused before the first request.
  for (const Query* query : queries)
    if (!query->GetObjectPtr()) KESTREL_RAISE(940209, "%s", kNoServerObject);
}

}  // namespace

std::vector<Query*>* KESTREL_list_saved_queries() {
  auto reply =
      kestrel::soa_request<SavedqueryService>(KESTREL_HERE, [](SavedqueryService& sq) { return sq.getSavedQueries(); });
  if (reply.queries.empty()) KESTREL_RAISE(940205, "%s", kestrel::queries::kNoQueries);
  auto queries = std::make_unique<std::vector<Query*>>();
  queries->reserve(reply.queries.size());
  for (const auto& entry : reply.queries) {
    if (!entry.query) continue;
    if (auto* query = kestrel::wrap_as<Query>(entry.query)) queries->push_back(query);
  }
  return queries.release();
}

void KESTREL_describe_saved_queries(const std::vector<Query*>& queries) {
  for (const Query* query : queries)
    if (!query) KESTREL_RAISE(940208, "KRAL SOA: Null query in KESTREL_describe_saved_queries");
  const auto request = kestrel::queries::describe_request<Host>(*kestrel::get_model_manager(KESTREL_HERE), queries);
  auto reply = kestrel::soa_request<SavedqueryService>(
      KESTREL_HERE, [&](SavedqueryService& sq) { return sq.describeSavedQueries(request.queries); });
  kestrel::queries::add_fields<Host>(KESTREL_HERE, request.described, reply);
}

std::vector<PomObject*>* KESTREL_execute_saved_query(Query* query, const std::vector<std::string>& entries,
                                                     const std::vector<std::string>& values, int max_results) {
  if (!query) KESTREL_RAISE(940208, "KRAL SOA: Null query in KESTREL_execute_saved_query");
  ModelObject* server_query = kestrel::server_object_of(KESTREL_HERE, query, 940209, kNoServerObject);
  auto reply = kestrel::soa_request<SavedqueryService>(KESTREL_HERE, [&](SavedqueryService& sq) {
    return sq.executeSavedQuery(server_query, entries, values, max_results);
  });
  auto found = std::make_unique<std::vector<PomObject*>>();
  // The list's own size: the found count may be negative or far larger.
  found->reserve(reply.objects.size());
  kestrel::AsHostClass<PomObject> as_pom_object;
  for (ModelObject* object : reply.objects) {
    if (!object) continue;
    if (auto* pom = as_pom_object(kestrel::host_object_of(object))) found->push_back(pom);
  }
  return found.release();
}

void KESTREL_execute_saved_queries(const std::vector<Query*>& queries,
                                   const std::vector<std::vector<std::string>>& entries,
                                   const std::vector<std::vector<std::string>>& values,
                                   const std::vector<int>& max_results, KESTREL_uid_lists* results) {
  check_batch_input(queries, entries.size(), values.size(), max_results.size(), results);
  kestrel::service_of<SavedqueryService>(kestrel::require_connection(KESTREL_HERE));
  const std::size_t n = queries.size();

  if (!SoaManager::IsServiceAvailable(kBatchOperation)) {
    for (std::size_t i = 0; i < n; ++i) {
      auto reply = kestrel::soa_request<SavedqueryService>(KESTREL_HERE, [&](SavedqueryService& sq) {
        return sq.executeSavedQuery(queries[i]->GetObjectPtr(), entries[i], values[i], max_results[i]);
      });
      results->push_back(uid_list(reply.objects));
    }
    return;
  }

  std::vector<Halden::Services::Query::SavedQueryInput> inputs;
  inputs.reserve(n);
  for (std::size_t i = 0; i < n; ++i)
    inputs.push_back({queries[i]->GetObjectPtr(), entries[i], values[i], max_results[i], 0});
  auto reply = kestrel::soa_request_without_policy<SavedqueryService>(
      KESTREL_HERE, [&](SavedqueryService& sq) { return sq.executeSavedQueries(inputs); });

  // The outputs belong, in order, to the queries without a partial error.
  std::vector<bool> failed(n, false);
  for (const auto& stack : reply.serviceData.getPartialErrors()) {
    const int index = stack.getClientIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < n) failed[index] = true;
  }
  const auto& outputs = reply.arrayOfResults;
  results->reserve(results->size() + n);
  std::size_t next = 0;
  for (std::size_t i = 0; i < n; ++i) {
    // Fewer outputs than error-free queries leave the rest empty.
    if (failed[i] || next >= outputs.size()) {
      results->emplace_back();
      continue;
    }
    results->push_back(uid_list(outputs[next++].objectUIDS));
  }
}

void KESTREL_save_search_criteria(const std::vector<SearchCriteria>& criteria) {
  const auto request = queries::search_criteria_request(criteria);
  kestrel::soa_request_without_policy<SavedqueryService>(
      KESTREL_HERE, [&](SavedqueryService& sq) { return sq.saveSearchCriteria(request); });
}

void KESTREL_delete_search_criteria(const std::vector<std::string>& names) {
  kestrel::soa_request_unconverted<SavedqueryService>(
      KESTREL_HERE, [&](SavedqueryService& sq) { return sq.deleteSearchCriteria(names); });
}

std::vector<SearchCriteria>* KESTREL_retrieve_search_criteria(const std::vector<std::string>& names) {
  auto reply = kestrel::soa_request<SavedqueryService>(
      KESTREL_HERE, [&](SavedqueryService& sq) { return sq.retrieveSearchCriteria(names); });
  return queries::search_criteria_of(reply);
}
