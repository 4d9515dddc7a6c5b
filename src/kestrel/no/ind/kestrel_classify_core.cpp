#include "kestrel_classify_core.h"

namespace kestrel::classify {

std::vector<svc::ClassQuery> class_search_request(const std::vector<ClassQuery>& queries) {
  std::vector<svc::ClassQuery> request;
  request.reserve(queries.size());
  for (const auto& q : queries) request.push_back({limit_search_code(q.code1), q.text, limit_search_code(q.code2)});
  return request;
}

std::vector<svc::ObjectSearchInput> object_search_request(const std::vector<ClassificationObjectQuery>& queries) {
  std::vector<svc::ObjectSearchInput> request;
  request.reserve(queries.size());
  for (const auto& q : queries) {
    svc::ObjectSearchInput input;
    input.texts = q.texts;
    input.attributes.reserve(q.attributes.size());
    for (const auto& a : q.attributes) input.attributes.emplace_back(a.attribute_id, a.text);
    input.value = q.value;
    request.push_back(std::move(input));
  }
  return request;
}

std::vector<ServerObject*> load_each(Halden::Soa::Client::ModelManager& models, const std::vector<std::string>& uids) {
  std::vector<ServerObject*> objects;
  objects.reserve(uids.size());
  for (const auto& uid : uids) objects.push_back(models.loadObjects(uid));
  return objects;
}

std::vector<ServerObject*> load_workspace_objects(Halden::Soa::Client::ModelManager& models,
                                                  const std::vector<std::string>& uids) {
  std::vector<ServerObject*> objects;
  objects.reserve(uids.size());
  for (const auto& uid : uids) {
    ServerObject* object = models.loadObjects(uid);
    objects.push_back(dynamic_cast<Halden::Soa::Client::Model::WorkspaceObject*>(object) ? object : nullptr);
  }
  return objects;
}

std::unique_ptr<std::map<std::string, ClassificationValueTable>> value_tables_of(
    const std::vector<std::string>& ids, const svc::GetValueTablesResponse& reply) {
  auto result = std::make_unique<std::map<std::string, ClassificationValueTable>>();
  for (const auto& id : ids) {
    auto it = reply.tables.find(id);
    if (it == reply.tables.end()) continue;
    auto [slot, fresh] = result->try_emplace(id);
    if (fresh) slot->second = ClassificationValueTable{it->second.text, it->second.value, it->second.entries};
  }
  return result;
}

}  // namespace kestrel::classify
