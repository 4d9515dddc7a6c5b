#include "kestrel_queries_core.h"

#include "halden/soa/client/model/ModelClasses.h"

namespace kestrel::queries {

namespace Model = Halden::Soa::Client::Model;

int map_query_field_type(Site site, int code) {
  if (code >= 2001 && code <= 2010) return code;
  if (code == 2011 || code == 2016) return 2011;
  ERROR_raise(site.file, site.line, 940209, "Unknown data type %d received from SOA\n", code);
}

int map_lov_value_type(Site site, int value_type) {
  if (value_type >= 1 && value_type <= 11) return 2000 + value_type;
  ERROR_raise(site.file, site.line, 940209, "Unknown data type %d received from SOA\n", value_type);
}

LovKind lov_kind_of(int type) {
  switch (type) {
    case 2001:
      return LovKind::Char;
    case 2002:
      return LovKind::Date;
    case 2003:
    case 2004:
      return LovKind::Double;
    case 2005:
    case 2006:
    case 2007:
      return LovKind::Integer;
    case 2008:
      return LovKind::String;
    default:
      return LovKind::Reference;
  }
}

bool is_lov_of_kind(const Halden::Soa::Client::ModelObject* lov, LovKind kind) {
  switch (kind) {
    case LovKind::Char:
      return dynamic_cast<const Model::ListOfValuesChar*>(lov) != nullptr;
    case LovKind::Date:
      return dynamic_cast<const Model::ListOfValuesDate*>(lov) != nullptr;
    case LovKind::Double:
      return dynamic_cast<const Model::ListOfValuesDouble*>(lov) != nullptr;
    case LovKind::Integer:
      return dynamic_cast<const Model::ListOfValuesInteger*>(lov) != nullptr;
    case LovKind::String:
      return dynamic_cast<const Model::ListOfValuesString*>(lov) != nullptr;
    case LovKind::Reference:
      return dynamic_cast<const Model::ListOfValuesTag*>(lov) != nullptr;
  }
  return false;
}

bool is_lov(const Halden::Soa::Client::ModelObject* object) {
  return dynamic_cast<const Model::ListOfValues*>(object) != nullptr;
}

bool is_saved_query(const Halden::Soa::Client::ModelObject* object) {
  return dynamic_cast<const Model::OstraQuery*>(object) != nullptr;
}

std::vector<Halden::Services::Query::SearchCriteriaInput> search_criteria_request(
    const std::vector<SearchCriteria>& criteria) {
  std::vector<Halden::Services::Query::SearchCriteriaInput> request;
  request.reserve(criteria.size());
  for (const auto& c : criteria) request.push_back({c.text1, c.text2, c.list1, c.list2});
  return request;
}

std::vector<SearchCriteria>* search_criteria_of(const Halden::Services::Query::RetrieveSearchCriteriaResponse& reply) {
  auto* criteria = new std::vector<SearchCriteria>();
  criteria->reserve(reply.criteria.size());
  for (const auto& c : reply.criteria) criteria->push_back({c.text1, c.text2, c.list1, c.list2});
  return criteria;
}

}  // namespace kestrel::queries
