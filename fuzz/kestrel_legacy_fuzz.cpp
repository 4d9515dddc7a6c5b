// The stateful fuzzer over the legacy 48-slot table, as the older host calls
// it: each input is a sequence of table calls with their arguments, run
// against a fresh sample world. This build converts no framework exception,
// so those reach the host as documented; a base-library error is a clear
// failure; anything else, or a sanitizer finding, is a fault.
//
// The build keeps its one connection for the process once made (its logout
// forgets nothing), so the harness connects once, at start-up, as the older
// host does; a connect in an input then does nothing. Each fresh world is
// the server as that session left it: with the session's property policy.
// The connection's framework objects stay from input to input, as they do
// in the host.
//
// Input: see fuzz_input.h; the op byte picks an entry of kOps below.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "corba/corba.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "fuzz_input.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel/legacy/kestrel_interface.h"
#include "srvtools/testing.h"

namespace {

using kestrel::fuzz::Input;
using kestrel::fuzz::ListOf;
using Orvane::PdmSoa::VirelmgrBomLine;
using Orvane::PdmSoa::VirelmgrBomWindow;
using Orvane::PdmSoa::VirelmgrClassificationClass;
using Orvane::PdmSoa::VirelmgrClassificationObject;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrQuery;
using Strings = std::vector<std::string>;

constexpr const char* kHost = "http://fuzz-legacy-world:7001/kestrel";
constexpr int kCallsPerInput = 64;
constexpr std::uint8_t kNone = 0xFF;  // picks no object

KESTREL_interface_s* Table() {
  static KESTREL_interface_s* table = [] {
    corerun::testing::set_log_enabled(false);
    int version = 0;
    return KESTREL_init_module(&version);
  }();
  return table;
}

// Host objects the library built on the host's memory: the host destroys
// them and gives the memory back.
struct HostDelete {
  template <class T>
  void operator()(T* object) const {
    if (!object) return;
    object->~T();
    Orvane::Memory::CppMemory::deallocate(object);
  }
};
template <class T>
using HostOwned = std::unique_ptr<T, HostDelete>;

// What the calls of one input hold: the host's registered objects (the
// host's registry forgets them between inputs) and what the host owns.
struct Pool {
  std::vector<VirelmgrModelObject*> objects;
  std::vector<VirelmgrBomWindow*> windows;
  std::vector<VirelmgrBomLine*> lines;
  std::vector<HostOwned<VirelmgrBomWindow>> owned_windows;
  std::vector<HostOwned<VirelmgrBomLine>> owned_lines;

  void add(Input& in, VirelmgrModelObject* object) {
    if (!object) return;
    objects.push_back(object);
    in.remember(object->GetUid());
  }
  template <class List>
  void add_all(Input& in, const List& list) {
    for (auto* object : list) add(in, object);
  }
};

struct Call {
  KESTREL_interface_s* t;
  Input& in;
  Pool& pool;

  // Picks count from the newest: 0 (what an input that ran out reads) the
  // newest, 1 the one before, ...; 0xFF none.
  template <class T>
  static T* newest(const std::vector<T*>& list, std::uint8_t pick) {
    if (pick == kNone || list.empty()) return nullptr;
    return list[list.size() - 1 - pick % list.size()];
  }
  VirelmgrModelObject* object() {
    const std::uint8_t pick = in.byte();
    return newest(pool.objects, pick);
  }
  // The newest host object of that class from the picked one back, or null.
  template <class T>
  T* object_as() {
    const std::uint8_t pick = in.byte();
    const std::size_t n = pool.objects.size();
    if (pick == kNone || n == 0) return nullptr;
    const std::size_t start = n - 1 - pick % n;
    for (std::size_t i = 0; i < n; ++i)
      if (auto* found = dynamic_cast<T*>(pool.objects[(start + n - i) % n])) return found;
    return nullptr;
  }
  template <class T>
  T* from(const std::vector<T*>& list) {
    const std::uint8_t pick = in.byte();
    return newest(list, pick);
  }
  Strings texts() {
    return ListOf(in, [&] { return in.text(); });
  }
};

template <class T>
const char* c_str(const std::optional<T>& text) {
  return text ? text->c_str() : nullptr;
}

void FreeClasses(std::vector<VirelmgrClassificationClass*>* classes) {
  if (!classes) return;
  for (auto* c : *classes) HostDelete()(c);
  delete classes;
}
template <class Map>
void FreeClassMap(Map* classes) {
  if (!classes) return;
  for (auto& [id, entry] : *classes) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
      HostDelete()(entry);
    } else {
      for (auto* c : entry) HostDelete()(c);
    }
  }
  delete classes;
}

// --- session and own operations (slots 0 to 3, 30, 46, 47) -----------------

void AskConnection(Call& c) { c.t->KESTREL_ask_connection(); }
void Connect(Call& c) {
  const std::optional<std::string> host = c.in.ctext();
  const std::optional<std::string> protocol = c.in.ctext();
  const std::optional<std::string> user = c.in.ctext();
  const std::optional<std::string> password = c.in.ctext();
  const std::optional<std::string> group = c.in.ctext();
  const std::optional<std::string> role = c.in.ctext();
  const std::optional<std::string> discriminator = c.in.ctext();
  c.t->KESTREL_create_connection(c_str(host), c_str(protocol), c_str(user), c_str(password), c_str(group), c_str(role),
                                 c_str(discriminator));
}
void Logout(Call& c) { c.t->KESTREL_logout(); }
// The host makes its object of what it constructed, as the older host does.
void Construct(Call& c) {
  const std::string type = c.in.text();
  const std::string uid = c.in.text();
  const std::uint8_t kind = c.in.byte();
  Halden::Soa::Client::ModelObject* object = c.t->constructObject(type, uid);
  if (!object) return;
  switch (kind % 4) {
    case 0:
      c.pool.add(c.in, VirelmgrModelObject::GetInstance(uid, object, 0));
      break;
    case 1:
      c.pool.add(c.in, Orvane::PdmSoa::VirelmgrItemRevision::GetInstance(uid, object, 0));
      break;
    case 2:
      c.pool.add(c.in, VirelmgrClassificationObject::ConstructObjectFromUid(uid));
      break;
    default:
      c.pool.add(c.in, Orvane::PdmSoa::VirelmgrItem::GetInstance(uid, object, 0));
  }
}
void TypeNameOfUid(Call& c) {
  const std::string uid = c.in.text();
  c.t->KESTREL_ask_type_name_of_uid(uid);
}
void CookieInfo(Call& c) {
  const std::optional<std::string> key = c.in.ctext();
  std::string out[5];
  c.t->KESTREL_get_cookie_info(c_str(key), out[0], out[1], out[2], out[3], out[4]);
}
void GatewayIor(Call& c) {
  const bool has_object = c.in.flag();
  const std::string reference = c.in.text();
  const int tries = c.in.byte() % 5;
  const int sleep = c.in.number();
  CORBA_Object object{reference};
  c.t->KESTREL_get_gateway_ior(has_object ? &object : nullptr, tries, sleep);
}

// --- objects and properties (slots 4, 29, 31 to 45) ------------------------

void GetProperties(Call& c) {
  const std::vector<VirelmgrModelObject*> objects = ListOf(c.in, [&] { return c.object(); });
  const Strings names = c.texts();
  c.t->KESTREL_get_properties(objects, names);
}
void PreferenceValues(Call& c) {
  const std::string scope = c.in.text();
  const std::string name = c.in.text();
  for (const auto& value : c.t->KESTREL_ask_preference_values(scope, name)) c.in.remember(value);
}

// The getters by UID share their arguments.
template <class Get>
void ByUid(Call& c, Get get) {
  const std::string uid = c.in.text();
  const std::string name = c.in.text();
  get(uid, name);
}
using S = const std::string&;
void GetString(Call& c) {
  ByUid(c, [&](S u, S n) { c.in.remember(c.t->KESTREL_get_object_property_string_by_uid(u, n)); });
}
void GetInt(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_int_by_uid(u, n); });
}
void GetDouble(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_double_by_uid(u, n); });
}
void GetLogical(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_logical_by_uid(u, n); });
}
void GetChar(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_char_by_uid(u, n); });
}
void GetDate(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_date_by_uid(u, n); });
}
void GetObject(Call& c) {
  ByUid(c, [&](S u, S n) { c.pool.add(c.in, c.t->KESTREL_get_object_property_object_by_uid(u, n)); });
}
void GetStringArray(Call& c) {
  ByUid(c, [&](S u, S n) {
    for (const auto& text : c.t->KESTREL_get_object_property_string_array_by_uid(u, n)) c.in.remember(text);
  });
}
void GetIntArray(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_int_array_by_uid(u, n); });
}
void GetDoubleArray(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_double_array_by_uid(u, n); });
}
void GetLogicalArray(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_logical_array_by_uid(u, n); });
}
void GetCharArray(Call& c) {
  ByUid(c, [&](S u, S n) { c.t->KESTREL_get_object_property_char_array_by_uid(u, n); });
}
void GetDateArray(Call& c) {
  ByUid(c, [&](S u, S n) { delete c.t->KESTREL_get_object_property_date_array_by_uid(u, n); });
}
void GetObjectArray(Call& c) {
  ByUid(c, [&](S u, S n) {
    std::unique_ptr<std::vector<VirelmgrModelObject*>> list(c.t->KESTREL_get_object_property_object_array_by_uid(u, n));
    if (list) c.pool.add_all(c.in, *list);
  });
}
void RelatedCad(Call& c) {
  ByUid(c, [&](S u, S n) {
    std::unique_ptr<std::vector<VirelmgrModelObject*>> list(c.t->KESTREL_get_related_objects_cad(u, n));
    if (list) c.pool.add_all(c.in, *list);
  });
}

// --- saved queries and search criteria (slots 5 to 10) ---------------------

void ListQueries(Call& c) {
  std::unique_ptr<std::vector<VirelmgrQuery*>> queries(c.t->KESTREL_list_saved_queries());
  if (queries) c.pool.add_all(c.in, *queries);
}
void DescribeQueries(Call& c) {
  const std::vector<VirelmgrQuery*> queries = ListOf(c.in, [&] { return c.object_as<VirelmgrQuery>(); });
  c.t->KESTREL_describe_saved_queries(queries);
}
void ExecuteQuery(Call& c) {
  VirelmgrQuery* query = c.object_as<VirelmgrQuery>();
  const Strings entries = c.texts();
  const Strings values = c.texts();
  const int max = c.in.number();
  std::unique_ptr<std::vector<VirelmgrModelObject*>> out(c.t->KESTREL_execute_saved_query(query, entries, values, max));
  if (out) c.pool.add_all(c.in, *out);
}
void SaveCriteria(Call& c) {
  const std::vector<SearchCriteria> criteria = ListOf(c.in, [&] {
    std::string text1 = c.in.text();
    std::string text2 = c.in.text();
    Strings list1 = c.texts();
    Strings list2 = c.texts();
    return SearchCriteria{text1, text2, list1, list2};
  });
  c.t->KESTREL_save_search_criteria(criteria);
}
void DeleteCriteria(Call& c) {
  const Strings names = c.texts();
  c.t->KESTREL_delete_search_criteria(names);
}
void RetrieveCriteria(Call& c) {
  const Strings names = c.texts();
  std::unique_ptr<std::vector<SearchCriteria>> out(c.t->KESTREL_retrieve_search_criteria(names));
  if (out)
    for (const auto& criteria : *out) c.in.remember(criteria.text1);
}

// --- BOM windows and lines (slots 11 to 14) --------------------------------

void CreateWindow(Call& c) {
  const std::string uid = c.in.text();
  if (VirelmgrBomWindow* window = c.t->KESTREL_create_bom_window(uid)) {
    c.pool.owned_windows.emplace_back(window);
    c.pool.windows.push_back(window);
  }
}
void CloseWindow(Call& c) {
  VirelmgrBomWindow* window = c.from(c.pool.windows);
  c.t->KESTREL_close_bom_window(window);
}
void TopLine(Call& c) {
  VirelmgrBomWindow* window = c.from(c.pool.windows);
  if (VirelmgrBomLine* top = c.t->KESTREL_ask_bom_top_line(window)) c.pool.lines.push_back(top);
}
void ExpandLine(Call& c) {
  VirelmgrBomLine* line = c.from(c.pool.lines);
  std::unique_ptr<std::vector<VirelmgrBomLine*>> children(c.t->KESTREL_expand_bom_line(line));
  if (!children) return;
  for (VirelmgrBomLine* child : *children) {
    c.pool.owned_lines.emplace_back(child);
    c.pool.lines.push_back(child);
  }
}

// --- classification (slots 15 to 28) --------------------------------------

std::vector<VirelmgrClassificationObject*> Classified(Call& c) {
  std::vector<VirelmgrClassificationObject*> objects =
      ListOf(c.in, [&] { return c.object_as<VirelmgrClassificationObject>(); });
  const bool edit = c.in.flag();
  if (!edit) return objects;
  const std::string text1 = c.in.text();
  const std::string text2 = c.in.text();
  const int code = c.in.number();
  const int attribute = c.in.number();
  const std::string first = c.in.text();
  const std::string second = c.in.text();
  for (VirelmgrClassificationObject* o : objects) {
    if (!o) continue;
    o->text1 = text1;
    o->text2 = text2;
    o->code = code;
    o->values = {{attribute, {{first, second}}}};
  }
  return objects;
}
void WriteClassification(Call& c) {
  const std::vector<VirelmgrClassificationObject*> objects = Classified(c);
  c.t->KESTREL_write_classification_objects(objects);
}
void WriteClassification2(Call& c) {
  const std::vector<VirelmgrClassificationObject*> objects = Classified(c);
  c.t->KESTREL_write_classification_objects_2(objects);
}
void SendClassificationUids(Call& c) {
  const Strings uids = c.texts();
  c.t->KESTREL_send_classification_object_uids(uids);
}
void ClassificationClasses(Call& c) {
  const Strings ids = c.texts();
  FreeClassMap(c.t->KESTREL_ask_classification_classes(ids));
}
void ClassDescriptions(Call& c) {
  const Strings ids = c.texts();
  FreeClassMap(c.t->KESTREL_ask_class_descriptions(ids));
}
void ClassificationTable(Call& c) {
  const Strings keys = c.texts();
  delete c.t->KESTREL_ask_classification_table(keys);
}
void ObjectsOfClassificationIds(Call& c) {
  const Strings ids = c.texts();
  std::unique_ptr<std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrPomObject*>>> out(
      c.t->KESTREL_ask_objects_of_classification_ids(ids));
  if (out)
    for (const auto& [id, objects] : *out) c.pool.add_all(c.in, objects);
}
void ClassAttributes(Call& c) {
  const Strings ids = c.texts();
  delete c.t->KESTREL_ask_class_attributes(ids);
}
void FindClasses(Call& c) {
  const std::vector<ClassQuery> queries = ListOf(c.in, [&] {
    const int code1 = c.in.number();
    std::string text = c.in.text();
    const int code2 = c.in.number();
    return ClassQuery{code1, text, code2};
  });
  FreeClasses(c.t->KESTREL_find_classes(queries));
}
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
  std::unique_ptr<std::vector<VirelmgrModelObject*>> out(c.t->KESTREL_find_classification_objects(queries));
  if (out) c.pool.add_all(c.in, *out);
}
void ClassificationPomObjects(Call& c) {
  const Strings uids = c.texts();
  std::unique_ptr<std::vector<Orvane::PdmSoa::VirelmgrPomObject*>> out(
      c.t->KESTREL_ask_classification_pom_objects(uids));
  if (out) c.pool.add_all(c.in, *out);
}
void ClassificationsOfObjects(Call& c) {
  const Strings uids = c.texts();
  std::unique_ptr<std::map<std::string, std::vector<VirelmgrModelObject*>>> out(
      c.t->KESTREL_ask_classifications_of_objects(uids));
  if (out)
    for (const auto& [uid, objects] : *out) c.pool.add_all(c.in, objects);
}
void LoadClassificationObjects(Call& c) {
  const Strings uids = c.texts();
  std::unique_ptr<std::map<std::string, VirelmgrClassificationObject*>> out(
      c.t->KESTREL_load_classification_objects(uids));
  if (out)
    for (const auto& [uid, object] : *out) c.pool.add(c.in, object);
}
void ValueTables(Call& c) {
  const Strings ids = c.texts();
  delete c.t->KESTREL_ask_classification_value_tables(ids);
}

struct Op {
  const char* name;  // fuzz/make_seeds.py names ops by these
  void (*run)(Call&);
};

// New ops go at the end, so that the seeds keep their meaning.
const Op kOps[] = {
    {"ask_connection", AskConnection},
    {"connect", Connect},
    {"logout", Logout},
    {"construct", Construct},
    {"get_properties", GetProperties},
    {"list_queries", ListQueries},
    {"describe_queries", DescribeQueries},
    {"execute_query", ExecuteQuery},
    {"save_criteria", SaveCriteria},
    {"delete_criteria", DeleteCriteria},
    {"retrieve_criteria", RetrieveCriteria},
    {"create_window", CreateWindow},
    {"close_window", CloseWindow},
    {"top_line", TopLine},
    {"expand_line", ExpandLine},
    {"write_classification", WriteClassification},
    {"write_classification_2", WriteClassification2},
    {"send_classification_uids", SendClassificationUids},
    {"classification_classes", ClassificationClasses},
    {"class_descriptions", ClassDescriptions},
    {"classification_table", ClassificationTable},
    {"objects_of_classification_ids", ObjectsOfClassificationIds},
    {"class_attributes", ClassAttributes},
    {"find_classes", FindClasses},
    {"find_classification_objects", FindClassificationObjects},
    {"classification_pom_objects", ClassificationPomObjects},
    {"classifications_of_objects", ClassificationsOfObjects},
    {"load_classification_objects", LoadClassificationObjects},
    {"value_tables", ValueTables},
    {"preference_values", PreferenceValues},
    {"type_name_of_uid", TypeNameOfUid},
    {"get_string", GetString},
    {"get_int", GetInt},
    {"get_double", GetDouble},
    {"get_logical", GetLogical},
    {"get_char", GetChar},
    {"get_date", GetDate},
    {"get_object", GetObject},
    {"get_string_array", GetStringArray},
    {"get_int_array", GetIntArray},
    {"get_double_array", GetDoubleArray},
    {"get_logical_array", GetLogicalArray},
    {"get_char_array", GetCharArray},
    {"get_date_array", GetDateArray},
    {"get_object_array", GetObjectArray},
    {"related_cad", RelatedCad},
    {"cookie_info", CookieInfo},
    {"gateway_ior", GatewayIor},
};
constexpr std::size_t kOpCount = sizeof kOps / sizeof *kOps;

// KESTREL_FUZZ_TRACE set: each op's name and each raised error on stderr,
// for reading what a replayed input does.
bool Tracing() {
  static const bool on = std::getenv("KESTREL_FUZZ_TRACE") != nullptr;
  return on;
}

[[noreturn]] void Fault(const char* op, const char* what) {
  std::fprintf(stderr, "kestrel_legacy_fuzz: %s let a foreign exception reach the host: %s\n", op, what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Halden::Soa::Server::TestServer server{kHost};
  Table()->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KESTREL_interface_s* t = Table();
  corerun::testing::clear_sleeps();
  corerun::testing::clear_log();
  cadlink::testing::reset_instances();
  srvtools::testing::reset();
  Halden::Soa::Client::testing::reset();
  Halden::Soa::Server::TestServer server{kHost};
  server.world.store.apply_named_policy("VirelManagerDefault");
  Input in(data, size);
  Pool pool;
  Call call{t, in, pool};
  for (int calls = 0; !in.empty() && calls < kCallsPerInput; ++calls) {
    const Op& op = kOps[in.byte() % kOpCount];
    if (Tracing()) std::fprintf(stderr, "%s\n", op.name);
    try {
      op.run(call);
    } catch (const Orvane::Error::Severe& e) {
      // a clear error of the library
      if (Tracing()) std::fprintf(stderr, "  raised %d: %.200s\n", e.Code(), e.Message().c_str());
    } catch (const Halden::Soa::Client::RuntimeException&) {
      // the framework's exceptions, which this build passes on
    } catch (const Halden::Soa::Client::NotLoadedException&) {
    } catch (const Halden::Soa::Client::InternalServerException&) {
    } catch (const Halden::Soa::Client::CanceledOperationException&) {
    } catch (const Halden::Soa::Common::Exceptions::SoaException&) {
    } catch (const std::exception& e) {
      Fault(op.name, e.what());
    } catch (...) {
      Fault(op.name, "not a standard exception");
    }
  }
  return 0;
}
