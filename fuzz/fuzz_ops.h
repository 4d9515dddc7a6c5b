// What both fuzz targets share: the op record and the run of one input's
// calls, and the ops whose entries the two tables have alike (saved queries
// and search criteria, classification, preference values). An op is written
// against a harness's Call: the table `t`, the input `in`, the pool of host
// objects `pool` (`add`, `add_all`), `texts()`, `object_as<T>()`, and
// `free_classes(...)` for the classification classes the host owns
// (`FreeClasses` with the host's way of destroying one).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "corerun/error.h"
#include "fuzz_input.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel/kestrel_types.h"

namespace kestrel::fuzz {

using Strings = std::vector<std::string>;

// What an op's entry may let reach the host besides the base library's
// error: the framework's own exceptions only where one of its requests is
// sent without their conversion.
enum class Passes : std::uint8_t { kBaseErrors, kFrameworkExceptions };

template <class Call>
struct Op {
  const char* name;  // fuzz/make_seeds.py names ops by these
  void (*run)(Call&);
  Passes passes;
};

// KESTREL_FUZZ_TRACE set: each op's name and how it ended (returned, raised
// an error, passed a framework exception) on stderr, for reading what a
// replayed input does; fuzz/check_reach.py reads it.
inline bool Tracing() {
  static const bool on = std::getenv("KESTREL_FUZZ_TRACE") != nullptr;
  return on;
}

// Runs the input's calls, at most calls of them: a base-library error is a
// clear failure of the call, and so is a framework exception from an op whose
// entry passes them; anything else that reaches the host is a fault.
template <class Call, std::size_t N>
void RunCalls(const Op<Call> (&ops)[N], Call& call, int calls, const char* program) {
  // A byte picks an op only below the largest multiple of N, so that every
  // op is as likely; a byte above it picks none.
  static_assert(N > 0 && N <= 256, "one byte picks the op");
  constexpr unsigned kPicks = 256 - 256 % N;
  for (int n = 0; !call.in.empty() && n < calls;) {
    const std::uint8_t pick = call.in.byte();
    if (pick >= kPicks) continue;
    ++n;
    const Op<Call>& op = ops[pick % N];
    if (Tracing()) std::fprintf(stderr, "%s\n", op.name);
    const char* framework = nullptr;  // the kind of framework exception that reached the host
    std::string text;
    try {
      op.run(call);
      if (Tracing()) std::fprintf(stderr, "  returned\n");
      continue;
    } catch (const Orvane::Error::Severe& e) {
      if (Tracing()) std::fprintf(stderr, "  raised %d: %.200s\n", e.Code(), e.Message().c_str());
      continue;
    } catch (const Halden::Soa::Client::RuntimeException& e) {
      framework = "RuntimeException";
      text = e.what();
    } catch (const Halden::Soa::Client::NotLoadedException& e) {
      framework = "NotLoadedException";
      text = e.what();
    } catch (const Halden::Soa::Common::Exceptions::SoaException& e) {
      framework = "SoaException";
      text = e.what();
    } catch (const Halden::Soa::Client::ConnectionException& e) {
      // A host that answers the disconnect dialog with a retry leaves the
      // failed request to the framework, which passes its connection error
      // on from whichever request met it.
      if (call.host_retries_lost_connections) {
        if (Tracing()) std::fprintf(stderr, "  passed ConnectionException after a retry: %.200s\n", e.what());
        continue;
      }
      framework = "ConnectionException";
      text = e.what();
    } catch (const Halden::Soa::Client::InternalServerException& e) {
      framework = "InternalServerException";
      text = e.what();
    } catch (const Halden::Soa::Client::CanceledOperationException& e) {
      framework = "CanceledOperationException";
      text = e.what();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s let a foreign exception reach the host: %s\n", program, op.name, e.what());
      std::abort();
    } catch (...) {
      std::fprintf(stderr, "%s: %s let a foreign exception reach the host: not a standard exception\n", program,
                   op.name);
      std::abort();
    }
    if (op.passes == Passes::kFrameworkExceptions) {
      if (Tracing()) std::fprintf(stderr, "  passed %s: %.200s\n", framework, text.c_str());
      continue;
    }
    std::fprintf(stderr, "%s: %s let the framework's %s reach the host, which its entry does not pass: %s\n", program,
                 op.name, framework, text.c_str());
    std::abort();
  }
}

constexpr std::uint8_t kNone = 0xFF;  // picks no object

// Picks count from the newest: 0 (what an input that ran out reads) the
// newest, 1 the one before, ...; kNone none.
template <class T>
T* Newest(const std::vector<T*>& list, std::uint8_t pick) {
  if (pick == kNone || list.empty()) return nullptr;
  return list[list.size() - 1 - pick % list.size()];
}
// The newest object of that class from the picked one back, or null.
template <class T, class Base>
T* NewestOf(const std::vector<Base*>& list, std::uint8_t pick) {
  const std::size_t n = list.size();
  if (pick == kNone || n == 0) return nullptr;
  const std::size_t start = n - 1 - pick % n;
  for (std::size_t i = 0; i < n; ++i)
    if (auto* found = dynamic_cast<T*>(list[(start + n - i) % n])) return found;
  return nullptr;
}

template <class T>
std::unique_ptr<T> Own(T* list) {
  return std::unique_ptr<T>(list);
}

// Frees a classification answer whose classes are the host's: a list of
// classes, or a map by id to a class or to a list of them; `destroy` is how
// the host destroys one class.
template <class Classes, class Destroy>
void FreeClasses(Classes* classes, Destroy destroy) {
  if (!classes) return;
  for (auto& entry : *classes) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
      destroy(entry);
    } else if constexpr (std::is_pointer_v<typename Classes::mapped_type>) {
      destroy(entry.second);
    } else {
      for (auto* c : entry.second) destroy(c);
    }
  }
  delete classes;
}

// --- saved queries and search criteria -------------------------------------

template <class Call>
void ListQueries(Call& c) {
  auto queries = Own(c.t->KESTREL_list_saved_queries());
  if (queries) c.pool.add_all(c.in, *queries);
}
template <class Query, class Call>
void DescribeQueries(Call& c) {
  const std::vector<Query*> queries = ListOf(c.in, [&] { return c.template object_as<Query>(); });
  c.t->KESTREL_describe_saved_queries(queries);
}
template <class Query, class Call>
void ExecuteQuery(Call& c) {
  Query* query = c.template object_as<Query>();
  const Strings entries = c.texts();
  const Strings values = c.texts();
  const int max = c.in.number();
  auto out = Own(c.t->KESTREL_execute_saved_query(query, entries, values, max));
  if (out) c.pool.add_all(c.in, *out);
}
template <class Call>
std::vector<SearchCriteria> Criteria(Call& c) {
  return ListOf(c.in, [&] {
    std::string text1 = c.in.text();
    std::string text2 = c.in.text();
    Strings list1 = c.texts();
    Strings list2 = c.texts();
    return SearchCriteria{text1, text2, list1, list2};
  });
}
template <class Call>
void SaveCriteria(Call& c) {
  const std::vector<SearchCriteria> criteria = Criteria(c);
  c.t->KESTREL_save_search_criteria(criteria);
}
template <class Call>
void DeleteCriteria(Call& c) {
  const Strings names = c.texts();
  c.t->KESTREL_delete_search_criteria(names);
}
template <class Call>
void RetrieveCriteria(Call& c) {
  const Strings names = c.texts();
  auto out = Own(c.t->KESTREL_retrieve_search_criteria(names));
  if (out)
    for (const auto& criteria : *out) c.in.remember(criteria.text1);
}

// --- preferences -----------------------------------------------------------

template <class Call>
void PreferenceValues(Call& c) {
  const std::string scope = c.in.text();
  const std::string name = c.in.text();
  for (const auto& value : c.t->KESTREL_ask_preference_values(scope, name)) c.in.remember(value);
}

// --- classification --------------------------------------------------------

// The host fills a classification object's fields before writing it.
template <class ClassificationObject, class Call>
std::vector<ClassificationObject*> Classified(Call& c) {
  std::vector<ClassificationObject*> objects =
      ListOf(c.in, [&] { return c.template object_as<ClassificationObject>(); });
  const bool edit = c.in.flag();
  if (!edit) return objects;
  const std::string text1 = c.in.text();
  const std::string text2 = c.in.text();
  const int code = c.in.number();
  const int attribute = c.in.number();
  const std::string first = c.in.text();
  const std::string second = c.in.text();
  for (ClassificationObject* o : objects) {
    if (!o) continue;
    o->text1 = text1;
    o->text2 = text2;
    o->code = code;
    o->values = {{attribute, {{first, second}}}};
  }
  return objects;
}
template <class ClassificationObject, class Call>
void WriteClassification(Call& c) {
  const std::vector<ClassificationObject*> objects = Classified<ClassificationObject>(c);
  c.t->KESTREL_write_classification_objects(objects);
}
template <class ClassificationObject, class Call>
void WriteClassification2(Call& c) {
  const std::vector<ClassificationObject*> objects = Classified<ClassificationObject>(c);
  c.t->KESTREL_write_classification_objects_2(objects);
}
template <class Call>
void SendClassificationUids(Call& c) {
  const Strings uids = c.texts();
  c.t->KESTREL_send_classification_object_uids(uids);
}
template <class Call>
void ClassificationClasses(Call& c) {
  const Strings ids = c.texts();
  c.free_classes(c.t->KESTREL_ask_classification_classes(ids));
}
template <class Call>
void ClassDescriptions(Call& c) {
  const Strings ids = c.texts();
  c.free_classes(c.t->KESTREL_ask_class_descriptions(ids));
}
template <class Call>
void ClassificationTable(Call& c) {
  const Strings keys = c.texts();
  delete c.t->KESTREL_ask_classification_table(keys);
}
template <class Call>
void ObjectsOfClassificationIds(Call& c) {
  const Strings ids = c.texts();
  auto out = Own(c.t->KESTREL_ask_objects_of_classification_ids(ids));
  if (out)
    for (const auto& entry : *out) c.pool.add_all(c.in, entry.second);
}
template <class Call>
void ClassAttributes(Call& c) {
  const Strings ids = c.texts();
  delete c.t->KESTREL_ask_class_attributes(ids);
}
template <class Call>
void FindClasses(Call& c) {
  const std::vector<ClassQuery> queries = ListOf(c.in, [&] {
    const int code1 = c.in.number();
    std::string text = c.in.text();
    const int code2 = c.in.number();
    return ClassQuery{code1, text, code2};
  });
  c.free_classes(c.t->KESTREL_find_classes(queries));
}
template <class Call>
void FindClassificationObjects(Call& c) {
  const std::vector<ClassificationObjectQuery> queries = ListOf(c.in, [&] {
    Strings texts = c.texts();
    std::vector<ClassificationObjectQuery::AttributeText> attributes = ListOf(c.in, [&] {
      const int id = c.in.number();
      std::string text = c.in.text();
      return ClassificationObjectQuery::AttributeText{id, text};
    });
    const int value = c.in.number();
    return ClassificationObjectQuery{texts, attributes, value};
  });
  auto out = Own(c.t->KESTREL_find_classification_objects(queries));
  if (out) c.pool.add_all(c.in, *out);
}
template <class Call>
void ClassificationPomObjects(Call& c) {
  const Strings uids = c.texts();
  auto out = Own(c.t->KESTREL_ask_classification_pom_objects(uids));
  if (out) c.pool.add_all(c.in, *out);
}
template <class Call>
void ClassificationsOfObjects(Call& c) {
  const Strings uids = c.texts();
  auto out = Own(c.t->KESTREL_ask_classifications_of_objects(uids));
  if (out)
    for (const auto& entry : *out) c.pool.add_all(c.in, entry.second);
}
template <class Call>
void LoadClassificationObjects(Call& c) {
  const Strings uids = c.texts();
  auto out = Own(c.t->KESTREL_load_classification_objects(uids));
  if (out)
    for (const auto& entry : *out) c.pool.add(c.in, entry.second);
}
template <class Call>
void ValueTables(Call& c) {
  const Strings ids = c.texts();
  delete c.t->KESTREL_ask_classification_value_tables(ids);
}

}  // namespace kestrel::fuzz
