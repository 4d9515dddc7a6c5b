#include "halden/server/world/SavedQueryWorld.h"

#include <algorithm>
#include <cctype>

namespace Halden::Soa::Server {

namespace {

using namespace props;

const std::vector<std::string> kQueryTypes = {"OstraQuery", "POM_application_object", "POM_object"};
constexpr int kStringType = 2008;

bool same_char(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// "*" matches any text, "?" one character; case does not count.
bool matches(const std::string& pattern, const std::string& text) {
  std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && same_char(pattern[p], text[t])))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

const std::string* string_value(const WorldStore::StoredObject& object, const std::string& name) {
  auto it = object.properties.find(name);
  if (it == object.properties.end() || it->second.is_null || it->second.strings.empty()) return nullptr;
  return &it->second.strings.front();
}

}  // namespace

SavedQueryWorld::SavedQueryWorld(WorldStore& store, const SessionWorld& session) : store_(store), session_(session) {
  store_.set_policy("OstraQuery", {"query_name"});
  store_.set_policy("ListOfValues", {"lov_name", "lov_value_type", "lov_values"});
  add_lov("lov-item-types", "ListOfValuesString", 8, strs("lov_values", {"Item", "Design"}));
  add_query("query-item-id", "Item ID", "Item", {{"item_id", "Item ID", "AND", "=", "", "", kStringType}});
  add_query("query-item-name", "Item Name", "Item",
            {{"object_name", "Name", "AND", "=", "", "", kStringType},
             {"object_type", "Type", "AND", "=", "", "lov-item-types", kStringType}});
}

void SavedQueryWorld::add_query(const std::string& uid, const std::string& name, const std::string& searched_type,
                                std::vector<QueryField> fields) {
  store_.add_object(uid, kQueryTypes, {str("query_name", name)});
  if (!queries_.count(uid)) order_.push_back(uid);
  queries_[uid] = SavedQuery{name, searched_type, std::move(fields)};
}

void SavedQueryWorld::add_lov(const std::string& uid, const std::string& lov_class, int value_type,
                              WireProperty values) {
  values.name = "lov_values";
  store_.add_object(uid, {lov_class, "ListOfValues", "POM_application_object", "POM_object"},
                    {str("lov_name", uid), integer("lov_value_type", value_type), std::move(values)});
}

SavedQueriesReply SavedQueryWorld::getSavedQueries() {
  SavedQueriesReply reply;
  reply.queries.reserve(order_.size());
  for (const auto& uid : order_) reply.queries.push_back({uid, queries_.at(uid).name, ""});
  reply.data = store_.reply_with(order_);
  return reply;
}

DescribeQueriesReply SavedQueryWorld::describeSavedQueries(const std::vector<std::string>& query_uids) {
  DescribeQueriesReply reply;
  std::vector<std::string> lovs;
  reply.descriptions.reserve(query_uids.size());
  for (const auto& uid : query_uids) {
    auto it = queries_.find(uid);
    if (it == queries_.end()) {
      reply.descriptions.emplace_back();
      reply.data.errors.push_back(WorldStore::not_found(uid));
      continue;
    }
    reply.descriptions.push_back({it->second.fields});
    for (const auto& f : it->second.fields)
      if (!f.lov_uid.empty()) lovs.push_back(f.lov_uid);
  }
  auto objects = store_.reply_with(lovs);
  reply.data.objects = std::move(objects.objects);
  return reply;
}

SavedQueryWorld::Run SavedQueryWorld::run(const std::string& query_uid, const std::vector<std::string>& entries,
                                          const std::vector<std::string>& values, int max_results) const {
  Run out;
  auto it = queries_.find(query_uid);
  if (it == queries_.end()) {
    out.failed = true;
    out.error = WorldStore::not_found(query_uid);
    return out;
  }
  const SavedQuery& query = it->second;
  struct Constraint {
    const std::string* property;
    const std::string* pattern;
  };
  std::vector<Constraint> constraints;
  const std::size_t n = std::min(entries.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (values[i].empty()) continue;
    auto field = std::find_if(query.fields.begin(), query.fields.end(),
                              [&](const QueryField& f) { return f.entry_name == entries[i]; });
    if (field == query.fields.end()) {
      out.failed = true;
      out.error = WireErrorStack{
          "",
          -1,
          query_uid,
          {{141023, 3, "The entry \"" + entries[i] + "\" is not a field of the query \"" + query.name + "\"."}}};
      return out;
    }
    constraints.push_back({&field->attribute_name, &values[i]});
  }
  for (const auto& entry : store_.objects()) {
    const std::string& uid = entry.first;
    const auto& object = entry.second;
    const auto& types = object.types;
    if (std::find(types.begin(), types.end(), query.searched_type) == types.end()) continue;
    bool all = std::all_of(constraints.begin(), constraints.end(), [&](const Constraint& c) {
      const std::string* value = string_value(object, *c.property);
      return value && matches(*c.pattern, *value);
    });
    if (!all) continue;
    ++out.found;
    if (max_results <= 0 || static_cast<int>(out.uids.size()) < max_results) out.uids.push_back(uid);
  }
  return out;
}

ExecuteQueryReply SavedQueryWorld::executeSavedQuery(const std::string& query_uid,
                                                     const std::vector<std::string>& entries,
                                                     const std::vector<std::string>& values, int max_results) {
  Run found = run(query_uid, entries, values, max_results);
  ExecuteQueryReply reply;
  if (found.failed) {
    reply.data.errors.push_back(std::move(found.error));
    return reply;
  }
  reply.found = found.found;
  reply.data = store_.reply_with(found.uids);
  reply.object_uids = std::move(found.uids);
  return reply;
}

ExecuteQueriesReply SavedQueryWorld::executeSavedQueries(const std::vector<SavedQueryInput>& inputs) {
  ExecuteQueriesReply reply;
  std::vector<std::string> all;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto& in = inputs[i];
    Run found = run(in.query_uid, in.entries, in.values, in.max_results);
    if (found.failed) {
      found.error.client_index = static_cast<int>(i);
      reply.data.errors.push_back(std::move(found.error));
      continue;
    }
    all.insert(all.end(), found.uids.begin(), found.uids.end());
    reply.results.push_back({found.uids, found.uids});
  }
  auto objects = store_.reply_with(all);
  reply.data.objects = std::move(objects.objects);
  return reply;
}

WireServiceData SavedQueryWorld::saveSearchCriteria(const std::vector<SearchCriteriaRecord>& criteria) {
  auto& mine = criteria_[session_.session_user()];
  for (const auto& record : criteria) {
    auto held =
        std::find_if(mine.begin(), mine.end(), [&](const SearchCriteriaRecord& c) { return c.text1 == record.text1; });
    if (held == mine.end()) {
      mine.push_back(record);
    } else {
      *held = record;
    }
  }
  return {};
}

WireServiceData SavedQueryWorld::deleteSearchCriteria(const std::vector<std::string>& names) {
  auto& mine = criteria_[session_.session_user()];
  mine.erase(std::remove_if(mine.begin(), mine.end(),
                            [&](const SearchCriteriaRecord& c) {
                              return std::find(names.begin(), names.end(), c.text1) != names.end();
                            }),
             mine.end());
  return {};
}

SearchCriteriaReply SavedQueryWorld::retrieveSearchCriteria(const std::vector<std::string>& names) {
  SearchCriteriaReply reply;
  auto it = criteria_.find(session_.session_user());
  if (it == criteria_.end()) return reply;
  for (const auto& c : it->second)
    if (names.empty() || std::find(names.begin(), names.end(), c.text1) != names.end()) reply.criteria.push_back(c);
  return reply;
}

}  // namespace Halden::Soa::Server
