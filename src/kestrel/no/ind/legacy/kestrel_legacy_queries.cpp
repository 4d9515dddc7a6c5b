// Saved queries and saved search criteria of the legacy build.
#include <memory>
#include <string>
#include <vector>

#include "cadlink/virelmgr.h"
#include "halden/services/query/SavedqueryService.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "kestrel_call.h"
#include "kestrel_dates.h"
#include "kestrel_legacy.h"
#include "kestrel_queries_core.h"

using Halden::Services::Query::SavedqueryService;
using Halden::Soa::Client::ModelObject;
using Halden::Soa::Client::Property;
using Orvane::PdmSoa::VirelmgrListOfValues;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrQuery;
namespace Model = Halden::Soa::Client::Model;

namespace {

// The saved-query work of the shared core over the older host's classes.
struct Host {
  using Query = VirelmgrQuery;
  using Lov = VirelmgrListOfValues;
  using FieldType = virelmgrFieldDataType_e;

  static const std::string& text(const std::string& text) { return text; }
  static std::string uid_of(const Query& query) { return query.GetUid(); }
  // Null when the host refuses the object, or holds no server object for it.
  static Lov* lov_of(ModelObject* object) {
    Lov* lov = VirelmgrListOfValues::GetInstance(object->getUid(), object, 0);
    return lov && lov->GetObjectPtr() ? lov : nullptr;
  }

  static int int_value(Lov& lov, const std::string& name) { return property(lov, name).getIntValue(); }
  static const std::vector<char>& char_values(Lov& lov, const std::string& name) {
    return property(lov, name).getCharArrayValue();
  }
  static std::vector<date_s> date_values(Lov& lov, const std::string& name) {
    const auto& values = property(lov, name).getDateArrayValue();
    std::vector<date_s> dates;
    dates.reserve(values.size());
    for (const auto& when : values) dates.push_back(kestrel::date_from_time(when));
    return dates;
  }
  static const std::vector<double>& double_values(Lov& lov, const std::string& name) {
    return property(lov, name).getDoubleArrayValue();
  }
  static const std::vector<int>& int_values(Lov& lov, const std::string& name) {
    return property(lov, name).getIntArrayValue();
  }
  static const std::vector<std::string>& string_values(Lov& lov, const std::string& name) {
    return property(lov, name).getStringArrayValue();
  }
  // Null references name nothing the host could hold; they are left out.
  static std::vector<VirelmgrModelObject*> reference_values(Lov& lov, const std::string& name) {
    const auto& values = property(lov, name).getModelObjectArrayValue();
    std::vector<VirelmgrModelObject*> objects;
    objects.reserve(values.size());
    for (ModelObject* value : values)
      if (value) objects.push_back(VirelmgrModelObject::GetInstance(value->getUid(), value, 0));
    return objects;
  }

  // Read from the server object behind the host's list of values, as the
  // typed getters read.
  static Property& property(Lov& lov, const std::string& name) {
    return kestrel::legacy::required_property(*lov.GetObjectPtr(), name);
  }
};

// The host's answer of Class when the object is of the framework class, else
// null.
template <class Framework, class Class>
VirelmgrModelObject* answer_as(ModelObject* object, const std::string& uid) {
  return dynamic_cast<Framework*>(object) ? Class::GetInstance(uid, object, 0) : nullptr;
}

// The first of the host's item, revision, dataset and folder classes that
// answers for the object; otherwise the host's POM object, null included.
VirelmgrModelObject* found_object(ModelObject* object) {
  const std::string& uid = object->getUid();
  if (auto* item = answer_as<Model::Item, Orvane::PdmSoa::VirelmgrItem>(object, uid)) return item;
  if (auto* revision = answer_as<Model::ItemRevision, Orvane::PdmSoa::VirelmgrItemRevision>(object, uid))
    return revision;
  if (auto* dataset = answer_as<Model::Dataset, Orvane::PdmSoa::VirelmgrDataset>(object, uid)) return dataset;
  if (auto* folder = answer_as<Model::Folder, Orvane::PdmSoa::VirelmgrFolder>(object, uid)) return folder;
  return Orvane::PdmSoa::VirelmgrPomObject::GetInstance(uid, object, 0);
}

}  // namespace

std::vector<VirelmgrQuery*>* KESTREL_list_saved_queries() {
  auto reply = kestrel::soa_request_on<SavedqueryService>(kestrel::require_connection(KESTREL_LEGACY_HERE),
                                                          [](SavedqueryService& sq) { return sq.getSavedQueries(); });
  if (reply.queries.empty()) KESTREL_LEGACY_RAISE(940205, "%s", kestrel::queries::kNoQueries);
  auto queries = std::make_unique<std::vector<VirelmgrQuery*>>();
  queries->reserve(reply.queries.size());
  // No class test: every saved query of the reply is a host query, and the
  // host's answer is kept as it is, null included. Only a null entry of the
  // reply gives the host nothing.
  for (const auto& entry : reply.queries)
    if (entry.query) queries->push_back(VirelmgrQuery::GetInstance(entry.query->getUid(), entry.query));
  return queries.release();
}

void KESTREL_describe_saved_queries(const std::vector<VirelmgrQuery*>& queries) {
  for (const VirelmgrQuery* query : queries)
    if (!query) KESTREL_LEGACY_RAISE(940208, "Null query in KESTREL_describe_saved_queries");
  const auto request =
      kestrel::queries::describe_request<Host>(*kestrel::get_model_manager(KESTREL_LEGACY_HERE), queries);
  auto reply = kestrel::soa_request_on<SavedqueryService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](SavedqueryService& sq) { return sq.describeSavedQueries(request.queries); });
  kestrel::queries::add_fields<Host>(KESTREL_LEGACY_HERE, request.described, reply);
}

std::vector<VirelmgrModelObject*>* KESTREL_execute_saved_query(VirelmgrQuery* query,
                                                               const std::vector<std::string>& entries,
                                                               const std::vector<std::string>& values,
                                                               int max_results) {
  if (!query) KESTREL_LEGACY_RAISE(940208, "Null query in KESTREL_execute_saved_query");
  Halden::Soa::Client::Connection& connection = kestrel::require_connection(KESTREL_LEGACY_HERE);
  ModelObject* server_query = kestrel::legacy::server_object_of(*query);
  auto reply = kestrel::soa_request_on<SavedqueryService>(connection, [&](SavedqueryService& sq) {
    return sq.executeSavedQuery(server_query, entries, values, max_results);
  });
  auto found = std::make_unique<std::vector<VirelmgrModelObject*>>();
  // The list's own size: the found count may be negative or far larger.
  found->reserve(reply.objects.size());
  for (ModelObject* object : reply.objects)
    if (object) found->push_back(found_object(object));
  return found.release();
}

void KESTREL_save_search_criteria(const std::vector<SearchCriteria>& criteria) {
  const auto request = kestrel::queries::search_criteria_request(criteria);
  kestrel::soa_request_on<SavedqueryService>(kestrel::require_connection(KESTREL_LEGACY_HERE),
                                             [&](SavedqueryService& sq) { return sq.saveSearchCriteria(request); });
}

void KESTREL_delete_search_criteria(const std::vector<std::string>& names) {
  kestrel::soa_request_on<SavedqueryService>(kestrel::require_connection(KESTREL_LEGACY_HERE),
                                             [&](SavedqueryService& sq) { return sq.deleteSearchCriteria(names); });
}

std::vector<SearchCriteria>* KESTREL_retrieve_search_criteria(const std::vector<std::string>& names) {
  auto reply = kestrel::soa_request_on<SavedqueryService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](SavedqueryService& sq) { return sq.retrieveSearchCriteria(names); });
  return kestrel::queries::search_criteria_of(reply);
}
