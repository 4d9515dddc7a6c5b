// What the saved-query entries of both builds share: the field-type and
// list-of-values mappings, the describing of queries and the search-criteria
// copies. Free of host classes and of property policies: where a build's
// host classes differ, the work is a template over that build's host (see
// add_field); errors report the caller's site.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "halden/services/query/SavedqueryService.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_types.h"
#include "kestrel_call.h"

namespace kestrel::queries {

// Listing saved queries on a server that has none.
constexpr const char* kNoQueries = "No queries returned from database";

// A field's attribute type code as a host field data type (2001 to 2011);
// 940209 for a code outside the table.
int map_query_field_type(Site site, int code);
// A list of values' "lov_value_type" (1 to 11) as a host field data type;
// 940209 for a value outside the table.
int map_lov_value_type(Site site, int value_type);

// The kind of values a list of values of a host field data type holds.
enum class LovKind { Char, Date, Double, Integer, String, Reference };
// type is a host field data type (2001 to 2011).
LovKind lov_kind_of(int type);
// Whether the server object is the framework's list-of-values class of the kind.
bool is_lov_of_kind(const Halden::Soa::Client::ModelObject* lov, LovKind kind);

// Whether the server object is a list of values at all.
bool is_lov(const Halden::Soa::Client::ModelObject* object);
// Whether the server object is a saved query.
bool is_saved_query(const Halden::Soa::Client::ModelObject* object);

// The host queries a describe request is for, and their server queries in
// the same order.
template <class Query>
struct DescribeRequest {
  std::vector<Query*> described;
  std::vector<Halden::Soa::Client::ModelObject*> queries;
};

// A host query whose UID names no saved query the model manager holds is
// left out and gets no fields. The queries are not null.
template <class Host>
DescribeRequest<typename Host::Query> describe_request(Halden::Soa::Client::ModelManager& models,
                                                       const std::vector<typename Host::Query*>& queries) {
  DescribeRequest<typename Host::Query> request;
  request.described.reserve(queries.size());
  request.queries.reserve(queries.size());
  for (auto* query : queries) {
    Halden::Soa::Client::ModelObject* object = models.findObject(Host::uid_of(*query));
    if (!is_saved_query(object)) continue;
    request.described.push_back(query);
    request.queries.push_back(object);
  }
  return request;
}

// Hands the list of values' "lov_values", read in the form its kind asks,
// to the kind's setter.
template <class Host>
void set_lov_values(typename Host::Lov& lov, LovKind kind) {
  const std::string name = "lov_values";
  switch (kind) {
    case LovKind::Char:
      lov.SetCharValues(Host::char_values(lov, name));
      return;
    case LovKind::Date:
      lov.SetDateValues(Host::date_values(lov, name));
      return;
    case LovKind::Double:
      lov.SetDoubleValues(Host::double_values(lov, name));
      return;
    case LovKind::Integer:
      lov.SetIntValues(Host::int_values(lov, name));
      return;
    case LovKind::String:
      lov.SetStringValues(Host::string_values(lov, name));
      return;
    case LovKind::Reference:
      lov.SetReferenceValues(Host::reference_values(lov, name));
      return;
  }
}

// Adds one described field to its host query. Host is the build's host:
//   Query, Lov, FieldType   its query, list-of-values and field data type
//   text(s)                 a field text as AddFieldDescription takes it
//   uid_of(query)           a host query's UID
//   lov_of(object)          the host list of values of a server one, or null
//   int_value(lov, name) and char_values ... reference_values(lov, name),
//                           the list's properties through the host object
// The host is given (type, T2, T1, T5, T3, T4): the record's second text
// first, and T2 names the field in the errors.
template <class Host>
void add_field(Site site, typename Host::Query& query, const Halden::Services::Query::SavedQueryFieldObject& field) {
  using FieldType = typename Host::FieldType;
  const int type = map_query_field_type(site, field.attributeType);
  const char* name = field.entryName.c_str();
  if (!field.lov) {
    query.AddFieldDescription(static_cast<FieldType>(type), Host::text(field.entryName),
                              Host::text(field.attributeName), Host::text(field.value),
                              Host::text(field.logicalOperation), Host::text(field.mathOperation), nullptr);
    return;
  }
  // A list of values the host cannot take as one is as unusable as one that
  // is none on the server.
  auto* lov = is_lov(field.lov) ? Host::lov_of(field.lov) : nullptr;
  if (!lov) ERROR_raise(site.file, site.line, 940205, "SOA: invalid LOV object for query field %s\n", name);
  const int lov_type = map_lov_value_type(site, Host::int_value(*lov, "lov_value_type"));
  const LovKind kind = lov_kind_of(lov_type);
  if (!is_lov_of_kind(field.lov, kind))
    ERROR_raise(site.file, site.line, 940205, "SOA: LOV type mismatch for query field %s\n", name);
  set_lov_values<Host>(*lov, kind);
  // The host gets the list's type, not the field's own.
  query.AddFieldDescription(static_cast<FieldType>(lov_type), Host::text(field.entryName),
                            Host::text(field.attributeName), Host::text(field.value),
                            Host::text(field.logicalOperation), Host::text(field.mathOperation), lov);
}

// Reply entry i describes the i-th query sent; entries beyond the queries
// sent, or queries beyond the entries, are left alone. Fields added before
// a failure stay on their queries.
template <class Host>
void add_fields(Site site, const std::vector<typename Host::Query*>& described,
                const Halden::Services::Query::DescribeSavedQueriesResponse& reply) {
  const std::size_t n = std::min(reply.fieldLists.size(), described.size());
  for (std::size_t i = 0; i < n; ++i)
    for (const auto& field : reply.fieldLists[i].fields) add_field<Host>(site, *described[i], field);
}

std::vector<Halden::Services::Query::SearchCriteriaInput> search_criteria_request(
    const std::vector<SearchCriteria>& criteria);
// A new list the caller owns.
std::vector<SearchCriteria>* search_criteria_of(const Halden::Services::Query::RetrieveSearchCriteriaResponse& reply);

}  // namespace kestrel::queries
