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

}  // namespace kestrel::classify
