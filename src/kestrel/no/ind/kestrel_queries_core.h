// What the saved-query entries of both builds share: the field-type and
// list-of-values mappings and the search-criteria copies. Free of host
// classes and of property policies; errors report the caller's site.
#pragma once

#include <vector>

#include "halden/services/query/SavedqueryService.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_types.h"
#include "kestrel_call.h"

namespace kestrel::queries {

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

std::vector<Halden::Services::Query::SearchCriteriaInput> search_criteria_request(
    const std::vector<SearchCriteria>& criteria);
// A new list the caller owns.
std::vector<SearchCriteria>* search_criteria_of(const Halden::Services::Query::RetrieveSearchCriteriaResponse& reply);

}  // namespace kestrel::queries
