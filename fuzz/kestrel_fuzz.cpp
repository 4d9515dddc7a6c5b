// A stateful fuzzer over the 136-slot table: each input is a sequence of
// table calls with their arguments (UIDs, texts, lists, modes, dates, host
// objects a reply handed over), run as a host would. Whatever a call raises
// as the base library's error is a clear failure, and so is a framework
// exception from an op whose entry passes them (kOps below); anything else,
// or a sanitizer finding, is a fault.
//
// Each input runs against a fresh sample world and starts without a session;
// at its end the host logs out, drops what it was handed and leaves no
// batch behind, as a host that is done does, and then connects and logs in
// once more to see the session whole. What the library itself keeps for the
// process stays, as it would in a host: every logged-out connection with the
// framework objects it received, the revision-rule cache, the server-version
// probe, the attribute-mapping caches, which only the host's own calls
// (slots 126 and 127) empty. So every input keeps more memory than it
// frees, by design, and libFuzzer's leak check
// (which reruns such an input under LeakSanitizer) finds those connections
// reachable; it stops rerunning after about a thousand such inputs of one
// process (in fork mode each job is a process of its own), and the leak
// check at exit still covers the whole run.
//
// The server generation is a property of the process (the library probes it
// once): KESTREL_FUZZ_SERVER_VERSION names the world's version text, for
// example "V2007.1.0"; unset, the sample world's own (a newer server).
//
// Input: see fuzz_input.h; the op byte picks an entry of kOps below.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "docsvc/testing.h"
#include "fuzz_input.h"
#include "fuzz_ops.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/AttrMapping.h"
#include "objmodel/Classification.h"
#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "objmodel/Query.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"

namespace {

using kestrel::fuzz::Input;
using kestrel::fuzz::ListOf;
using kestrel::fuzz::Passes;
using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::BomWindow;
using Orvane::PdmSoa::CadAttrMappingDefinition;
using Orvane::PdmSoa::ClassificationObject;
using Orvane::PdmSoa::Item;
using Orvane::PdmSoa::Query;
using Obj = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;
using Texts = std::map<std::string, std::string>;
using Strings = std::vector<std::string>;

constexpr const char* kHost = "http://fuzz-world:7001/kestrel";
constexpr int kCallsPerInput = 64;

const KESTREL_interface_s* Table() {
  static const KESTREL_interface_s* table = [] {
    corerun::testing::set_log_enabled(false);
    int version = 0;
    return KESTREL_init_module(&version);
  }();
  return table;
}

std::vector<UString> UStrings(const Strings& texts) {
  std::vector<UString> out;
  out.reserve(texts.size());
  for (const auto& t : texts) out.emplace_back(t);
  return out;
}

// What the calls of one input hold: host objects of the registry (gone at
// logout), the server objects behind them (kept by their connection for the
// process), the child lines the host owns, the mapping definitions.
struct Pool {
  std::vector<Obj*> objects;
  std::vector<BomLine*> lines;  // registry lines, then owned child lines
  std::vector<std::unique_ptr<BomLine>> owned;
  std::vector<ServerObject*> servers;
  std::vector<CadAttrMappingDefinition*> definitions;  // the host keeps them for the process

  void add(Input& in, Obj* object) {
    if (!object) return;
    objects.push_back(object);
    if (ServerObject* server = object->GetObjectPtr()) {
      servers.push_back(server);
      in.remember(server->getUid());
    }
  }
  template <class List>
  void add_all(Input& in, const List& list) {
    for (auto* object : list) add(in, object);
  }
  void take(std::vector<BomLine*>* children) {
    if (!children) return;
    for (BomLine* child : *children) {
      owned.emplace_back(child);
      lines.push_back(child);
    }
    delete children;
  }
  // Logout deletes the registry's host objects.
  void forget_registry() {
    objects.clear();
    lines.clear();
    for (auto& line : owned) lines.push_back(line.get());
  }
};

struct Call {
  const KESTREL_interface_s* t;
  Input& in;
  Pool& pool;
  Halden::Soa::Server::SampleWorld& world;
  bool host_retries_lost_connections = false;  // the disconnect dialog's answer is not 1

  Obj* object() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::Newest(pool.objects, pick);
  }
  template <class T>
  T* object_as() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::NewestOf<T>(pool.objects, pick);
  }
  std::vector<Obj*> objects() {
    return ListOf(in, [&] { return object(); });
  }
  template <class T>
  std::vector<T*> objects_as() {
    return ListOf(in, [&] { return object_as<T>(); });
  }
  BomLine* line() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::Newest(pool.lines, pick);
  }
  ServerObject* server() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::Newest(pool.servers, pick);
  }
  std::vector<ServerObject*> servers() {
    return ListOf(in, [&] { return server(); });
  }
  Strings texts() {
    return ListOf(in, [&] { return in.text(); });
  }
  Texts text_map() {
    Texts out;
    for (const auto& [key, value] : ListOf(in, [&] {
           std::string key = in.text();
           std::string value = in.text();
           return std::make_pair(key, value);
         }))
      out.emplace(key, value);
    return out;
  }
  // A host tag: a pool object's, none, or one no object has.
  tag_t tag() {
    const std::uint8_t kind = in.byte();
    if (kind == 1) return NULL_TAG;
    if (kind == 2) return 0xFFFFFFFFu;
    Obj* o = object();
    return o ? o->AskPdiTag() : NULL_TAG;
  }
  date_s date() {
    const std::uint8_t kind = in.byte();
    if (kind == 0) return null_date;
    if (kind == 1) return date_s{2024, 2, 5, 8, 30, 0};
    const std::uint8_t high = in.byte();
    const std::uint8_t low = in.byte();
    const std::uint8_t month = in.byte();
    const std::uint8_t day = in.byte();
    const std::uint8_t hour = in.byte();
    const std::uint8_t minute = in.byte();
    const std::uint8_t second = in.byte();
    return date_s{static_cast<std::uint16_t>(high << 8 | low), month, day, hour, minute, second};
  }
  std::vector<CadAttrMappingDefinition*>* definitions(std::vector<CadAttrMappingDefinition*>& storage) {
    // All the host holds, none, or a list of them.
    const std::uint8_t kind = in.byte();
    if (kind == 1) return nullptr;
    if (kind == 0 || pool.definitions.empty()) {
      storage = pool.definitions;
      return &storage;
    }
    storage = ListOf(in, [&] {
      const std::uint8_t pick = in.byte();
      return kestrel::fuzz::Newest(pool.definitions, pick);
    });
    return &storage;
  }
  // The classification classes are the host's to delete.
  template <class Classes>
  static void free_classes(Classes* classes) {
    kestrel::fuzz::FreeClasses(classes, [](auto* c) { delete c; });
  }
};

template <class T>
const char* c_str(const std::optional<T>& text) {
  return text ? text->c_str() : nullptr;
}

// --- session (slots 0 to 4, 135) -------------------------------------------

// Mode 0 (what an input that ran out reads): the sample world's user over
// HTTP; otherwise every argument from the input, the host too for mode 2.
void Connect(Call& c) {
  const std::uint8_t mode = c.in.byte() % 3;
  if (mode == 0) {
    c.t->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    return;
  }
  const std::optional<std::string> other_host = mode == 2 ? c.in.ctext() : std::nullopt;
  const std::optional<std::string> protocol = c.in.ctext();
  const std::optional<std::string> user = c.in.ctext();
  const std::optional<std::string> password = c.in.ctext();
  const std::optional<std::string> group = c.in.ctext();
  const std::optional<std::string> role = c.in.ctext();
  const std::optional<std::string> discriminator = c.in.ctext();
  const bool sso = c.in.flag();
  const char* host = mode == 2 ? c_str(other_host) : kHost;
  c.t->KESTREL_create_connection(host, c_str(protocol), c_str(user), c_str(password), c_str(group), c_str(role),
                                 c_str(discriminator), sso);
}
void Login(Call& c) {
  const std::uint8_t mode = c.in.byte();
  if (mode == 0) {
    c.t->KESTREL_login("engineer", "secret", true);
    return;
  }
  const std::optional<std::string> user = c.in.ctext();
  const std::optional<std::string> password = c.in.ctext();
  const bool do_login = c.in.flag();
  c.t->KESTREL_login(c_str(user), c_str(password), do_login);
}
void Logout(Call& c) {
  const bool terminate = c.in.flag();
  c.t->KESTREL_logout(terminate);
  c.pool.forget_registry();
}
void AskConnection(Call& c) { c.t->KESTREL_ask_connection(); }
void UserGroupRole(Call& c) { c.t->KESTREL_ask_user_group_role(); }
void HomeFolder(Call& c) { c.pool.add(c.in, c.t->KESTREL_ask_home_folder()); }

// --- objects by UID and properties (slots 5 to 7, 54 to 79, 86, 92 to 94, 101)

void Construct(Call& c) {
  const std::string type = c.in.text();
  const std::string uid = c.in.text();
  if (ServerObject* o = c.t->constructObject(type, uid)) c.pool.servers.push_back(o);
}
void Load(Call& c) {
  const Strings uids = c.texts();
  const bool null_out = c.in.byte() == 0xFF;
  std::vector<Obj*> out;
  c.t->KESTREL_load_objects(UStrings(uids), null_out ? nullptr : &out);
  c.pool.add_all(c.in, out);
}
void GetProperties(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  const Strings names = c.texts();
  c.t->KESTREL_get_properties(objects, names);
}
void ObjectUid(Call& c) {
  Obj* o = c.object();
  c.t->KESTREL_ask_object_uid(o);
}
void ObjectTypeName(Call& c) {
  Obj* o = c.object();
  c.t->KESTREL_ask_object_type_name(o);
}
void ServerUid(Call& c) {
  ServerObject* o = c.server();
  c.t->KESTREL_ask_server_object_uid(o);
}
void ServerTypeName(Call& c) {
  ServerObject* o = c.server();
  c.t->KESTREL_ask_server_object_type_name(o);
}

// The getters of slots 58 to 71 share their arguments.
template <class Get>
void Getter(Call& c, Get get) {
  Obj* o = c.object();
  const std::string name = c.in.text();
  const bool force = c.in.flag();
  get(o, name, force);
}
// A getter whose value no later call can use.
template <auto Slot>
void Read(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) { (c.t->*Slot)(o, n, f); });
}
void GetString(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) {
    c.in.remember(c.t->KESTREL_get_object_property_string(o, n, f));
  });
}
void GetDate(Call& c) {
  Obj* o = c.object();
  const std::string name = c.in.text();
  const bool force = c.in.flag();
  const bool convert = c.in.flag();
  c.t->KESTREL_get_object_property_date(o, name, force, convert);
}
void GetObject(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) {
    c.pool.add(c.in, c.t->KESTREL_get_object_property_object(o, n, f));
  });
}
void GetStringArray(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) {
    for (const auto& text : c.t->KESTREL_get_object_property_string_array(o, n, f)) c.in.remember(text);
  });
}
void GetDateArray(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) { delete c.t->KESTREL_get_object_property_date_array(o, n, f); });
}
void GetObjectArray(Call& c) {
  Getter(c, [&](Obj* o, const std::string& n, bool f) {
    std::unique_ptr<std::vector<Obj*>> list(c.t->KESTREL_get_object_property_object_array(o, n, f));
    if (list) c.pool.add_all(c.in, *list);
  });
}
void PropertyTexts(Call& c) {
  Obj* o = c.object();
  const bool null_out = c.in.byte() == 0xFF;
  std::map<UString, UString> texts;
  c.t->KESTREL_ask_object_property_texts(o, null_out ? nullptr : &texts);
}
void Refresh(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  c.t->KESTREL_refresh_objects(objects);
}
void ItemsWithRevisions(Call& c) {
  const std::vector<Item*> items = c.objects_as<Item>();
  const Strings types = c.texts();
  const bool flag = c.in.flag();
  const int mode = c.in.number();
  std::unique_ptr<std::vector<Obj*>> out(c.t->KESTREL_get_items_with_revisions(items, types, flag, mode));
  if (out) c.pool.add_all(c.in, *out);
}
void Delete(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  const DeleteResult result = c.t->KESTREL_delete_objects(objects);
  for (const auto& uid : result.deleted_uids) c.in.remember(uid);
}
void TypeDescriptions(Call& c) {
  const std::vector<TypeDescriptionRequest> requests = ListOf(c.in, [&] {
    std::string type = c.in.text();
    Strings names = c.texts();
    return TypeDescriptionRequest{type, names};
  });
  delete c.t->KESTREL_ask_type_descriptions(requests);
}
void RelatedCad(Call& c) {
  Obj* o = c.object();
  const std::string relation = c.in.text();
  std::unique_ptr<std::vector<Obj*>> out(c.t->KESTREL_get_related_objects_cad(o, relation));
  if (out) c.pool.add_all(c.in, *out);
}
void FreeRelated(Call& c, std::vector<RelatedObjects>* out) {
  if (!out) return;
  for (auto& record : *out)
    for (RelatedGroup* group : record.groups) {
      c.pool.add_all(c.in, group->objects);
      delete group;
    }
  delete out;
}
void RelatedCore(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  const Strings relations = c.texts();
  FreeRelated(c, c.t->KESTREL_get_related_objects_core(objects, relations));
}
void RelatedCore2(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  const Strings relations = c.texts();
  FreeRelated(c, c.t->KESTREL_get_related_objects_core_2(objects, relations));
}
void TypeHierarchy(Call& c) {
  ServerObject* o = c.server();
  c.t->KESTREL_ask_type_hierarchy(o);
}
void Checkout(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  const std::string comment = c.in.text();
  const std::string change = c.in.text();
  c.t->KESTREL_checkout_objects(objects, comment, change);
}
void Checkin(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  c.t->KESTREL_checkin_objects(objects);
}
void CancelCheckout(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  c.t->KESTREL_cancel_checkout(objects);
}
void SetProperties(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  std::map<std::string, std::vector<UString>> values;
  for (const auto& [name, texts] : ListOf(c.in, [&] {
         std::string name = c.in.text();
         Strings texts = c.texts();
         return std::make_pair(name, texts);
       }))
    values.emplace(name, UStrings(texts));
  c.t->KESTREL_set_properties(objects, values);
}

// --- saved queries (slot 11; slots 8 to 10 and 12 to 14 in fuzz_ops.h) ------

void ExecuteQueries(Call& c) {
  const std::vector<Query*> queries = c.objects_as<Query>();
  const std::vector<Strings> entries = ListOf(c.in, [&] { return c.texts(); });
  const std::vector<Strings> values = ListOf(c.in, [&] { return c.texts(); });
  const std::vector<int> max = ListOf(c.in, [&] { return c.in.number(); });
  const bool null_out = c.in.byte() == 0xFF;
  KESTREL_uid_lists results;
  c.t->KESTREL_execute_saved_queries(queries, entries, values, max, null_out ? nullptr : &results);
  for (const auto& list : results)
    for (const auto& uid : list) c.in.remember(uid.utf8());
}

// --- BOM windows and lines (slots 15 to 20) --------------------------------

void CreateWindow(Call& c) {
  const std::string uid = c.in.text();
  c.pool.add(c.in, c.t->KESTREL_create_bom_window(uid));
}
void CloseWindow(Call& c) {
  BomWindow* window = c.object_as<BomWindow>();
  c.t->KESTREL_close_bom_window(window);
}
void TopLine(Call& c) {
  BomWindow* window = c.object_as<BomWindow>();
  if (BomLine* top = c.t->KESTREL_ask_bom_top_line(window)) {
    c.pool.lines.push_back(top);
    c.pool.add(c.in, top);
  }
}
void ExpandLine(Call& c) {
  BomLine* line = c.line();
  const int mode = c.in.number();
  c.pool.take(c.t->KESTREL_expand_bom_line(line, mode));
}
void ExpandLines(Call& c) {
  const std::vector<BomLine*> lines = ListOf(c.in, [&] { return c.line(); });
  const int mode = c.in.number();
  std::unique_ptr<std::vector<std::vector<BomLine*>*>> lists(c.t->KESTREL_expand_bom_lines(lines, mode));
  if (lists)
    for (auto* list : *lists) c.pool.take(list);
}
void LinesByPath(Call& c) {
  Obj* scope = c.object();
  const std::vector<Strings> paths = ListOf(c.in, [&] { return c.texts(); });
  const bool null_out = c.in.byte() == 0xFF;
  std::vector<BomLine*> out;
  c.t->KESTREL_ask_bom_lines_by_path(scope, paths, null_out ? nullptr : &out);
  for (BomLine* l : out) {
    c.pool.lines.push_back(l);
    c.pool.add(c.in, l);
  }
}

// --- relative-structure batches (slots 21 to 28) ---------------------------

void UpdateStart(Call& c) { c.t->KESTREL_RelativeStructureUpdateStart(); }
void UpdateStartAssy(Call& c) {
  const int assy = c.in.number();
  Obj* parent = c.object();
  const bool precise = c.in.flag();
  const bool has_date = c.in.flag();
  date_s date = c.date();
  c.t->KESTREL_RelativeStructureUpdateStartAssy(assy, parent, precise, has_date ? &date : nullptr);
}
void AddChild(Call& c) {
  const int assy = c.in.number();
  const int comp = c.in.number();
  Obj* child = c.object();
  const std::string cad_occ_id = c.in.text();
  const bool has_transform = c.in.flag();
  double transform[16];
  for (int i = 0; i < 16; ++i) transform[i] = has_transform ? c.in.number() / 4.0 : 0.0;
  const bool as_required = c.in.flag();
  const bool has_notes = c.in.flag();
  const Texts notes = c.text_map();
  const bool has_attributes = c.in.flag();
  const Texts attributes = c.text_map();
  const std::string id = c.t->KESTREL_RelativeStructureAddChild(
      assy, comp, child, cad_occ_id, has_transform ? transform : nullptr, as_required, has_notes ? &notes : nullptr,
      has_attributes ? &attributes : nullptr);
  c.in.remember(id);
}
void UpdateCommit(Call& c) {
  const bool complete = c.in.flag();
  const bool null_out = c.in.byte() == 0xFF;
  std::map<std::string, Orvane::PdmSoa::Component*>* components = nullptr;
  std::unique_ptr<Texts> handles(
      c.t->KESTREL_RelativeStructureUpdateCommit(complete, null_out ? nullptr : &components));
  if (handles)
    for (const auto& [id, handle] : *handles) c.in.remember(handle);
  if (!components) return;
  for (const auto& [id, component] : *components) c.pool.add(c.in, component);
  delete components;
}
void DeleteStart(Call& c) { c.t->KESTREL_RelativeStructureDeleteStart(); }
void DeleteStartAssy(Call& c) {
  const int assy = c.in.number();
  Obj* parent = c.object();
  const bool has_date = c.in.flag();
  date_s date = c.date();
  c.t->KESTREL_RelativeStructureDeleteStartAssy(assy, parent, has_date ? &date : nullptr);
}
void DeleteChild(Call& c) {
  const int assy = c.in.number();
  const std::string uid = c.in.text();
  c.t->KESTREL_RelativeStructureDeleteChild(assy, uid);
}
void DeleteCommit(Call& c) { c.t->KESTREL_RelativeStructureDeleteCommit(); }

// --- items, revisions and datasets by id (slots 29 to 35, 90, 91) ----------

void RevisionsOfItem(Call& c) {
  Item* item = c.object_as<Item>();
  const int count = c.in.number();
  const Strings ids = c.texts();
  const int mode = c.in.number();
  std::unique_ptr<std::vector<Orvane::PdmSoa::ItemRevision*>> out(
      c.t->KESTREL_get_item_revisions_by_id(item, count, ids, mode));
  if (out) c.pool.add_all(c.in, *out);
}
void RevisionOfItem(Call& c) {
  Item* item = c.object_as<Item>();
  const std::string id = c.in.text();
  const int mode = c.in.number();
  c.pool.add(c.in, c.t->KESTREL_get_item_revision_of_item(item, id, mode));
}
void DatasetsById(Call& c) {
  const std::string item_id = c.in.text();
  const std::string revision_id = c.in.text();
  const int mode = c.in.number();
  c.pool.add_all(c.in, c.t->KESTREL_get_datasets_by_id(item_id, revision_id, mode));
}
void RevisionById(Call& c) {
  const std::string item_id = c.in.text();
  const std::string revision_id = c.in.text();
  const int mode = c.in.number();
  c.pool.add(c.in, c.t->KESTREL_get_item_revision_by_id(item_id, revision_id, mode));
}
void ItemAndRevisions(Call& c) {
  const std::string item_id = c.in.text();
  const int count = c.in.number();
  const Strings ids = c.texts();
  const int mode = c.in.number();
  c.pool.add(c.in, c.t->KESTREL_get_items_and_revisions_by_id(item_id, count, ids, mode));
}
void ItemsById(Call& c) {
  const std::vector<ItemIdEntry> ids = ListOf(c.in, [&] {
    std::string item_id = c.in.text();
    Strings revisions = c.texts();
    return ItemIdEntry{UString(item_id), UStrings(revisions)};
  });
  const int mode = c.in.number();
  std::unique_ptr<std::vector<Item*>> items(c.t->KESTREL_get_items_by_id(ids, mode));
  if (items) c.pool.add_all(c.in, *items);
}
void DatasetReferences(Call& c) {
  const std::vector<ServerObject*> datasets = c.servers();
  for (const auto& d : c.t->KESTREL_ask_dataset_references(datasets))
    for (const auto& r : d.references) c.in.remember(r.text3);
}
void ConfiguredRevision(Call& c) {
  const std::string item_id = c.in.text();
  const std::optional<std::string> rule = c.in.ctext();
  c.pool.add(c.in, c.t->KESTREL_ask_configured_revision(item_id, c_str(rule)));
}
void ConfiguredRevision2(Call& c) {
  const std::string item_id = c.in.text();
  const std::optional<std::string> rule = c.in.ctext();
  c.pool.add(c.in, c.t->KESTREL_ask_configured_revision_2(item_id, c_str(rule)));
}

// --- classification (slots 36 to 51; the rest are shared, fuzz_ops.h) ----

void ClassificationObjectsByKey(Call& c) {
  const Strings keys = c.texts();
  std::unique_ptr<std::map<std::string, std::vector<ClassificationObject*>>> out(
      c.t->KESTREL_ask_classification_objects_by_key(keys));
  if (out)
    for (const auto& [key, objects] : *out) c.pool.add_all(c.in, objects);
}
void RefreshClassificationObjects(Call& c) {
  std::map<std::string, ClassificationObject*> objects;
  for (const auto& [uid, object] : ListOf(c.in, [&] {
         std::string uid = c.in.text();
         ClassificationObject* object = c.object_as<ClassificationObject>();
         return std::make_pair(uid, object);
       }))
    objects.emplace(uid, object);
  c.t->KESTREL_refresh_classification_objects(objects);
}

// --- preferences, types and utilities (slots 52, 53, 87 to 89) -------------

void Preferences(Call& c) {
  const std::string scope = c.in.text();
  const Strings names = c.texts();
  delete c.t->KESTREL_ask_preferences(scope, names);
}
void ConnectionOption(Call& c) {
  const int attempts = c.in.byte() % 4;
  const int sleep = c.in.number();
  const std::string user = c.in.text();
  const std::string password = c.in.text();
  const std::string group = c.in.text();
  c.t->KESTREL_ask_connection_option(attempts, sleep, user, password, group);
}
// The host's answer to the disconnect dialog from now on: 1 gives up on the
// server, any other leaves the failed request to the framework.
void DisconnectAnswer(Call& c) {
  const int answer = c.in.byte() % 3;
  cadlink::testing::set_dialog_answer(answer);
  c.host_retries_lost_connections = answer != 1;
}
void DatetimeString(Call& c) {
  const bool null_date_pointer = c.in.byte() == 0xFF;
  const date_s date = c.date();
  c.t->KESTREL_get_datetime_string(null_date_pointer ? nullptr : &date);
}
void AvailableServices(Call& c) { delete c.t->KESTREL_list_available_services(); }

// --- validation (slots 80 to 85) -------------------------------------------

std::vector<ValidationParameter> Parameters(Call& c) {
  return ListOf(c.in, [&] {
    std::string name = c.in.text();
    std::string value = c.in.text();
    std::string op = c.in.text();
    return ValidationParameter{name, value, op};
  });
}
std::vector<ValidationResultInput> ResultInputs(Call& c) {
  return ListOf(c.in, [&] {
    ValidationResultInput input;
    input.result_uid = c.in.text();
    input.item_revision_uid = c.in.text();
    input.target_uid = c.in.text();
    input.data_object_uid = c.in.text();
    input.validation_id = c.in.text();
    input.result = c.in.flag();
    input.status = c.in.number();
    input.comments = c.in.text();
    input.date = c.date();
    input.is_adhoc = c.in.flag();
    input.parameters = Parameters(c);
    const bool with_report = c.in.flag();
    if (with_report) {
      ValidationReport report;
      report.report_flag = c.in.flag();
      report.name = c.in.text();
      report.dataset_type = c.in.text();
      report.files = ListOf(c.in, [&] {
        std::string path = c.in.text();
        std::string reference = c.in.text();
        const int text_flag = c.in.number();
        return ValidationReportFile{path, reference, text_flag};
      });
      input.reports.push_back(report);
    }
    input.service_flag = c.in.flag();
    input.check_name = c.in.text();
    input.requirement_uid = c.in.text();
    return input;
  });
}
void RememberResults(Call& c, const ValidationResultList& list) {
  for (const auto& r : list.results) {
    c.in.remember(r.result_uid);
    c.in.remember(r.report_dataset_uid);
  }
}
void SendValidationInputs(Call& c) {
  const std::vector<ValidationDataInput> inputs = ListOf(c.in, [&] {
    ValidationDataInput input;
    input.object_uid = c.in.text();
    input.first_text = c.in.text();
    input.second_text = c.in.text();
    input.third_text = c.in.text();
    input.fourth_text = c.in.text();
    input.fifth_text = c.in.text();
    input.parameters = Parameters(c);
    input.related_uid = c.in.text();
    input.flag = c.in.flag();
    return input;
  });
  for (const auto& uid : c.t->KESTREL_send_validation_inputs(inputs).uids) c.in.remember(uid);
}
void CreateValidationResults(Call& c) {
  const std::vector<ValidationResultInput> inputs = ResultInputs(c);
  RememberResults(c, c.t->KESTREL_create_validation_results(inputs));
}
void SaveValidationResults(Call& c) {
  const std::vector<ValidationResultInput> inputs = ResultInputs(c);
  RememberResults(c, c.t->KESTREL_save_validation_results(inputs));
}
void UpdateValidationResults(Call& c) {
  const std::vector<ValidationResultInput> inputs = ResultInputs(c);
  RememberResults(c, c.t->KESTREL_update_validation_results(inputs));
}
void ValidationData(Call& c) {
  ValidationDataRequest request;
  request.object_uids = c.texts();
  request.data_object_uids = c.texts();
  request.skip_reports = c.in.flag();
  for (const auto& uid : c.t->KESTREL_get_validation_data(request).result_uids) c.in.remember(uid);
}
void QueryValidationResults(Call& c) {
  const std::vector<ValidationResultQuery> queries = ListOf(c.in, [&] {
    ValidationResultQuery query;
    query.object_uid = c.in.text();
    query.first_text = c.in.text();
    query.second_text = c.in.text();
    query.third_text = c.in.text();
    query.fourth_text = c.in.text();
    query.fifth_text = c.in.text();
    query.texts = c.texts();
    query.flag = c.in.flag();
    return query;
  });
  for (const auto& r : c.t->KESTREL_query_validation_results(queries).results)
    for (const auto& uid : r.result_uids) c.in.remember(uid);
}

// --- dataset files and CAD creation (slots 95 to 100) ----------------------

// The four optional output lists of the CAD slots.
struct Outputs {
  std::vector<Obj*> lists[4];
  bool given[4] = {};
  explicit Outputs(Input& in) {
    const std::uint8_t mask = in.byte();
    for (int i = 0; i < 4; ++i) given[i] = (mask >> i & 1) == 0;
  }
  std::vector<Obj*>* operator[](int i) { return given[i] ? &lists[i] : nullptr; }
  void keep(Call& c) {
    for (auto& list : lists) c.pool.add_all(c.in, list);
  }
};
std::vector<NameValueInput> NameValues(Call& c) {
  return ListOf(c.in, [&] {
    std::string name = c.in.text();
    std::string value = c.in.text();
    return NameValueInput{UString(name), UString(value)};
  });
}
std::vector<FileInfoInput> FileInfos(Call& c) {
  return ListOf(c.in, [&] {
    FileInfoInput info;
    info.text1 = UString(c.in.text());
    info.text2 = UString(c.in.text());
    info.text3 = UString(c.in.text());
    info.flag1 = c.in.flag();
    info.flag2 = c.in.flag();
    return info;
  });
}
std::vector<ObjectRefInput> ObjectRefs(Call& c) {
  return ListOf(c.in, [&] {
    ObjectRefInput ref;
    ref.object = c.object();
    ref.text1 = UString(c.in.text());
    ref.text2 = UString(c.in.text());
    ref.text3 = UString(c.in.text());
    ref.name_values = NameValues(c);
    return ref;
  });
}
void ReadTickets(Call& c) {
  const std::vector<Orvane::PdmSoa::Dataset*> datasets = c.objects_as<Orvane::PdmSoa::Dataset>();
  const bool has_names = c.in.flag();
  const std::vector<UString> names = UStrings(c.texts());
  const bool null_out = c.in.byte() == 0xFF;
  DatasetFileTickets tickets;
  c.t->KESTREL_get_dataset_file_read_tickets(datasets, has_names ? &names : nullptr, null_out ? nullptr : &tickets);
  for (const auto& [uid, ticket] : tickets) c.in.remember(uid.utf8());
}
void WriteTickets(Call& c) {
  std::vector<WriteTicketInput> inputs = ListOf(c.in, [&] {
    WriteTicketInput input;
    input.dataset = c.object();
    input.flag = c.in.flag();
    input.file_infos = FileInfos(c);
    return input;
  });
  const bool null_entry = c.in.byte() == 0xFF;
  const bool null_out = c.in.byte() == 0xFF;
  std::vector<WriteTicketInput*> requests;
  for (auto& input : inputs) requests.push_back(&input);
  if (null_entry) requests.push_back(nullptr);
  std::vector<WriteTicketResult*> results;
  c.t->KESTREL_get_dataset_write_tickets(requests, null_out ? nullptr : &results);
  for (auto* result : results) {
    if (result)
      for (const auto& info : result->file_infos) c.in.remember(info.text4.utf8());
    delete result;
  }
}
void CommitFiles(Call& c) {
  std::vector<CommitInput> inputs = ListOf(c.in, [&] {
    CommitInput input;
    input.dataset = c.object();
    input.flag = c.in.flag();
    input.file_infos = ListOf(c.in, [&] {
      FileInfoInputExt info;
      info.text1 = UString(c.in.text());
      info.text2 = UString(c.in.text());
      info.text3 = UString(c.in.text());
      info.flag1 = c.in.flag();
      info.flag2 = c.in.flag();
      info.text4 = UString(c.in.text());
      return info;
    });
    return input;
  });
  Outputs out(c.in);
  std::vector<CommitInput*> requests;
  for (auto& input : inputs) requests.push_back(&input);
  c.t->KESTREL_commit_dataset_files(requests, out[0], out[1], out[2], out[3]);
  out.keep(c);
}
void CreateParts(Call& c) {
  std::vector<std::unique_ptr<PartDatasetInput>> datasets;
  std::vector<PartCreateInput> parts = ListOf(c.in, [&] {
    PartCreateInput part;
    part.text = UString(c.in.text());
    part.item.object = c.object();
    part.item.text1 = UString(c.in.text());
    part.item.text2 = UString(c.in.text());
    part.item.text3 = UString(c.in.text());
    part.item.text4 = UString(c.in.text());
    part.item.name_values = NameValues(c);
    part.item.object_refs = ObjectRefs(c);
    part.item.optional_object = c.object();
    part.revision.object = c.object();
    part.revision.text1 = UString(c.in.text());
    part.revision.name_values = NameValues(c);
    part.revision.object_refs = ObjectRefs(c);
    const std::size_t n = c.in.byte() % 3;
    for (std::size_t i = 0; i < n; ++i) {
      auto dataset = std::make_unique<PartDatasetInput>();
      dataset->text1 = UString(c.in.text());
      dataset->object = c.object();
      dataset->text2 = UString(c.in.text());
      dataset->text3 = UString(c.in.text());
      dataset->text4 = UString(c.in.text());
      dataset->text5 = UString(c.in.text());
      dataset->text6 = UString(c.in.text());
      dataset->text7 = UString(c.in.text());
      dataset->flag = c.in.flag();
      dataset->text8 = UString(c.in.text());
      dataset->name_values1 = NameValues(c);
      dataset->name_values2 = NameValues(c);
      dataset->object_refs = ObjectRefs(c);
      dataset->file_infos = FileInfos(c);
      dataset->relations = ListOf(c.in, [&] {
        RelationInput relation;
        relation.text1 = UString(c.in.text());
        relation.object = c.object();
        relation.text2 = UString(c.in.text());
        relation.text3 = UString(c.in.text());
        relation.name_values = NameValues(c);
        return relation;
      });
      const bool null_dataset = c.in.byte() == 0xFF;
      part.datasets.push_back(null_dataset ? nullptr : dataset.get());
      datasets.push_back(std::move(dataset));
    }
    return part;
  });
  const bool null_results = c.in.byte() == 0xFF;
  Outputs out(c.in);
  std::vector<PartCreateInput*> requests;
  for (auto& part : parts) requests.push_back(&part);
  std::vector<PartResult*> results;
  c.t->KESTREL_create_parts(requests, null_results ? nullptr : &results, out[0], out[1], out[2], out[3]);
  out.keep(c);
  for (auto* result : results) {
    if (result) {
      c.pool.add(c.in, result->item);
      c.pool.add(c.in, result->revision);
      for (const auto& d : result->datasets) c.pool.add(c.in, d.dataset);
    }
    delete result;
  }
}
void CreateDatasets(Call& c) {
  std::vector<DatasetCreateInput> inputs = ListOf(c.in, [&] {
    DatasetCreateInput input;
    input.text1 = UString(c.in.text());
    input.object1 = c.object();
    input.text2 = UString(c.in.text());
    input.text3 = UString(c.in.text());
    input.text4 = UString(c.in.text());
    input.text5 = UString(c.in.text());
    input.object2 = c.object();
    return input;
  });
  Outputs out(c.in);
  std::vector<DatasetCreateInput*> requests;
  for (auto& input : inputs) requests.push_back(&input);
  c.t->KESTREL_create_datasets(requests, out[0], out[1], out[2], out[3]);
  out.keep(c);
}
void CreateItems(Call& c) {
  std::vector<std::pair<Obj*, ItemCreateInput>> inputs = ListOf(c.in, [&] {
    Obj* key = c.object();
    ItemCreateInput input;
    input.text1 = UString(c.in.text());
    input.text2 = UString(c.in.text());
    input.text3 = UString(c.in.text());
    for (const auto& nv : NameValues(c)) input.attributes[nv.name] = nv.value;
    return std::make_pair(key, input);
  });
  Outputs out(c.in);
  std::map<Obj*, ItemCreateInput*> requests;
  for (auto& [key, input] : inputs) requests.emplace(key, &input);
  c.t->KESTREL_create_items(requests, out[0], out[1], out[2], out[3]);
  out.keep(c);
}

// --- trace links and requirements (slots 102 to 107), AI (108) -------------

void TraceReport(Call& c, std::vector<TraceLinkEntry>* entries) {
  if (!entries) return;
  for (const auto& e : *entries) {
    c.pool.add(c.in, e.link);
    c.pool.add(c.in, e.defining);
    c.pool.add(c.in, e.complying);
  }
  delete entries;
}
void DefiningTree(Call& c) {
  Obj* o = c.object();
  TraceReport(c, c.t->KESTREL_ask_defining_tree(o));
}
void DefiningObjects(Call& c) {
  Obj* o = c.object();
  TraceReport(c, c.t->KESTREL_ask_defining_objects(o));
}
void ComplyingObjects(Call& c) {
  Obj* o = c.object();
  TraceReport(c, c.t->KESTREL_ask_complying_objects(o));
}
void CreateTraceLinks(Call& c) {
  const std::string text1 = c.in.text();
  const std::string text2 = c.in.text();
  const std::vector<Obj*> primaries = c.objects();
  const std::vector<Obj*> secondaries = c.objects();
  std::unique_ptr<std::vector<Obj*>> links(c.t->KESTREL_create_trace_links(text1, text2, primaries, secondaries));
  if (links) c.pool.add_all(c.in, *links);
}
void ModifyTraceLink(Call& c) {
  Obj* link = c.object();
  const std::vector<Obj*> list1 = c.objects();
  const std::vector<Obj*> list2 = c.objects();
  const std::vector<Obj*> list3 = c.objects();
  const std::vector<Obj*> list4 = c.objects();
  c.t->KESTREL_modify_trace_link(link, list1, list2, list3, list4);
}
void ExportFulltext(Call& c) {
  const Strings uids = c.texts();
  c.t->KESTREL_export_fulltext_to_word(uids);
}
void GenerateStructure(Call& c) {
  const Strings labels = c.texts();
  const Strings versions = c.texts();
  const std::int64_t value = c.in.wide();
  const std::string text = c.in.text();
  const int option = c.in.number();
  c.t->KESTREL_generate_structure(labels, versions, value, text, option);
}

// --- projects (slots 109 to 122) -------------------------------------------

void Labels(Call& c, std::vector<std::string>* labels) {
  if (!labels) return;
  for (const auto& label : *labels) c.in.remember(label);
  delete labels;
}
void KeepList(Call& c, KESTREL_host_object_list* list) {
  if (!list) return;
  c.pool.add_all(c.in, *list);
  delete list;
}
KESTREL_host_object_list HostList(Call& c) {
  const std::vector<Obj*> objects = c.objects();
  return KESTREL_host_object_list(objects.begin(), objects.end());
}
void ProjectNames(Call& c) { Labels(c, c.t->KESTREL_list_project_names()); }
void ProjectIds(Call& c) { Labels(c, c.t->KESTREL_list_project_ids()); }
void UserProjects(Call& c) {
  const bool assignable = c.in.flag();
  Labels(c, c.t->KESTREL_get_user_projects(assignable));
}
void PrivilegedProjects(Call& c) { Labels(c, c.t->KESTREL_get_privileged_projects()); }
void ProjectObjects(Call& c) {
  const std::string id = c.in.text();
  KeepList(c, c.t->KESTREL_get_project_objects(id));
}
void AllProjectInformation(Call& c) {
  const bool privileged = c.in.flag();
  const std::uint8_t nulls = c.in.byte();
  std::vector<std::string> labels;
  std::vector<KESTREL_host_object_list*> lists;
  c.t->KESTREL_get_all_project_information(privileged, nulls == 0xFF ? nullptr : &labels,
                                           nulls == 0xFE ? nullptr : &lists);
  for (const auto& label : labels) c.in.remember(label);
  for (auto* list : lists) KeepList(c, list);
}
void ProjectEntries(Call& c) {
  const bool null_out = c.in.byte() == 0xFF;
  std::vector<ProjectEntryRecord*> out;
  c.t->KESTREL_list_project_entries(null_out ? nullptr : &out);
  for (auto* record : out) {
    if (record) c.in.remember(record->text1);
    delete record;
  }
}
void ProjectTeams(Call& c) {
  const std::vector<ServerObject*> projects = c.servers();
  const bool null_out = c.in.byte() == 0xFF;
  std::vector<ProjectTeamRecord*> out;
  c.t->KESTREL_ask_project_teams(projects, null_out ? nullptr : &out);
  for (auto* team : out) {
    if (!team) continue;
    if (team->members)
      for (auto* member : *team->members) delete member;
    delete team->members;
    delete team;
  }
}
void AssignToProjects(Call& c) {
  Strings labels = c.texts();
  KESTREL_host_object_list objects = HostList(c);
  c.t->KESTREL_assign_objects_to_projects(std::move(labels), std::move(objects));
}
void RemoveFromProjects(Call& c) {
  Strings labels = c.texts();
  KESTREL_host_object_list objects = HostList(c);
  c.t->KESTREL_remove_objects_from_projects(std::move(labels), std::move(objects));
}
void ProjectsList(Call& c) {
  Obj* o = c.object();
  Labels(c, c.t->KESTREL_ask_projects_list(o));
}
void AskProjectObjects(Call& c) {
  const std::string id = c.in.text();
  KeepList(c, c.t->KESTREL_ask_project_objects(id));
}
void ProjectDatasets(Call& c) {
  const std::string text1 = c.in.text();
  const std::string text2 = c.in.text();
  std::unique_ptr<std::vector<KESTREL_host_object_list*>> lists(c.t->KESTREL_get_project_datasets(text1, text2));
  if (lists)
    for (auto* list : *lists) KeepList(c, list);
}
void AssignAndRemove(Call& c) {
  const KESTREL_host_object_list objects = HostList(c);
  c.t->KESTREL_assign_and_remove_projects(objects);
}
// The host notes a project an object is to join or leave, or forgets both.
void HostProjectData(Call& c) {
  Obj* o = c.object();
  const std::uint8_t what = c.in.byte();
  const std::string label = c.in.text();
  if (!o) return;
  switch (what % 3) {
    case 0:
      o->AddAssignedProject(UString(label));
      break;
    case 1:
      o->AddRemovedProject(UString(label));
      break;
    default:
      o->ClearProjectData();
  }
}

// --- attribute mapping (slots 123 to 127) ----------------------------------

void AttrDefinitions(Call& c) {
  std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> texts = ListOf(c.in, [&] {
    std::optional<std::string> first = c.in.ctext();
    std::optional<std::string> second = c.in.ctext();
    return std::make_pair(first, second);
  });
  const bool null_entry = c.in.byte() == 0xFF;
  std::vector<AttrMappingContext> contexts;
  for (const auto& [first, second] : texts) contexts.push_back({c_str(first), c_str(second)});
  std::vector<AttrMappingContext*> pointers;
  for (auto& context : contexts) pointers.push_back(&context);
  if (null_entry) pointers.push_back(nullptr);
  std::unique_ptr<std::vector<AttrMappingDefinitions*>> records(c.t->KESTREL_get_attr_mapping_definitions(pointers));
  if (!records) return;
  for (auto* record : *records) {
    if (!record) continue;
    // The host keeps what it was handed for the context, as its PDM layer does.
    cadlink::testing::set_attr_map_defs(record->second, record->first, record->definitions);
    for (auto* d : record->definitions)
      if (d) c.pool.definitions.push_back(d);
    delete record;
  }
}
void ResolveAttrMappings(Call& c) {
  std::vector<std::vector<CadAttrMappingDefinition*>> storage(8);
  std::size_t used = 0;
  std::vector<AttrMappingPart> parts = ListOf(c.in, [&] {
    const tag_t dataset = c.tag();
    const tag_t revision = c.tag();
    auto* definitions = c.definitions(storage[used++ % storage.size()]);
    return AttrMappingPart{dataset, revision, definitions};
  });
  const bool null_entry = c.in.byte() == 0xFF;
  std::vector<AttrMappingPart*> pointers;
  for (auto& part : parts) pointers.push_back(&part);
  if (null_entry) pointers.push_back(nullptr);
  std::unique_ptr<std::vector<AttrMappingPartResult*>> results(c.t->KESTREL_resolve_attr_mappings(pointers));
  if (results)
    for (auto* result : *results) delete result;
}
void UpdateAttrValues(Call& c) {
  struct Update {
    AttrValueUpdate record;
    std::vector<CadAttrMappingDefinition*> definitions;
    std::vector<std::string> texts;
    std::vector<const char*> values;
  };
  std::vector<std::unique_ptr<Update>> updates;
  const std::size_t n = c.in.count() % 9;
  for (std::size_t i = 0; i < n; ++i) {
    auto u = std::make_unique<Update>();
    u->record.item_uid = c.in.text();
    u->record.item_revision_uid = c.in.text();
    u->record.dataset_uid = c.in.text();
    u->record.dataset_text = c.in.text();
    u->record.definitions = c.definitions(u->definitions);
    const bool null_values = c.in.byte() == 0xFF;
    // One value per definition, as the host must give.
    const std::size_t size = u->record.definitions ? u->record.definitions->size() : 0;
    for (std::size_t k = 0; k < size; ++k) u->texts.push_back(c.in.text());
    for (const auto& text : u->texts) u->values.push_back(text.c_str());
    u->record.values = null_values ? nullptr : u->values.data();
    updates.push_back(std::move(u));
  }
  const bool null_entry = c.in.byte() == 0xFF;
  std::vector<AttrValueUpdate*> pointers;
  for (auto& u : updates) pointers.push_back(&u->record);
  if (null_entry) pointers.push_back(nullptr);
  c.t->KESTREL_update_attr_values(pointers);
}
void ClearAttrCache(Call& c) { c.t->KESTREL_clear_attr_mapping_cache(); }
void ClearAttrCacheForParts(Call& c) {
  std::vector<AttrMappingPart> parts = ListOf(c.in, [&] {
    const tag_t dataset = c.tag();
    const tag_t revision = c.tag();
    return AttrMappingPart{dataset, revision, nullptr};
  });
  const bool null_entry = c.in.byte() == 0xFF;
  std::vector<AttrMappingPart*> pointers;
  for (auto& part : parts) pointers.push_back(&part);
  if (null_entry) pointers.push_back(nullptr);
  c.t->KESTREL_clear_attr_mapping_cache_for_parts(pointers);
}

// --- revision rules (slots 128 to 134) -------------------------------------

void SetRule(Call& c) {
  const std::optional<std::string> name = c.in.ctext();
  const bool persist = c.in.flag();
  c.t->KESTREL_set_configuration_rule(c_str(name), persist);
}
void RuleGuid(Call& c) {
  const bool from_preference = c.in.flag();
  const bool null_out = c.in.byte() == 0xFF;
  char* uid = nullptr;
  c.t->KESTREL_ask_config_rule_GUID(from_preference, null_out ? nullptr : &uid);
  SM_free(uid);
}
void RuleName(Call& c) {
  const bool from_preference = c.in.flag();
  const bool null_out = c.in.byte() == 0xFF;
  char* name = nullptr;
  c.t->KESTREL_ask_configuration_rule(from_preference, null_out ? nullptr : &name);
  if (name) c.in.remember(name);
  SM_free(name);
}
void SetRuleAll(Call& c) {
  const std::optional<std::string> name = c.in.ctext();
  const std::optional<std::string> date = c.in.ctext();
  const bool use_unit = c.in.flag();
  const int unit = c.in.number();
  const bool persist = c.in.flag();
  c.t->KESTREL_set_config_rule_all(c_str(name), c_str(date), use_unit, unit, persist);
}
void RuleStatus(Call& c) {
  const std::optional<std::string> name = c.in.ctext();
  const bool from_preference = c.in.flag();
  const bool null_outs = c.in.byte() == 0xFF;
  bool has_date = false, today = false, has_unit = false, use_unit = false;
  char* date = nullptr;
  int unit = 0;
  if (null_outs) {
    c.t->KESTREL_ask_config_rule_status(c_str(name), from_preference, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr);
  } else {
    c.t->KESTREL_ask_config_rule_status(c_str(name), from_preference, &has_date, &today, &has_unit, &use_unit, &date,
                                        &unit);
  }
  SM_free(date);
}
void ListRules(Call& c) {
  const bool null_outs = c.in.byte() == 0xFF;
  int count = 0;
  char** names = nullptr;
  c.t->KESTREL_list_configuration_rules(null_outs ? nullptr : &count, null_outs ? nullptr : &names);
  for (int i = 0; i < count && names; ++i) {
    if (names[i]) c.in.remember(names[i]);
    SM_free(names[i]);
  }
  SM_free(names);
}
void RuleHasPrecise(Call& c) {
  const bool from_preference = c.in.flag();
  const bool null_out = c.in.byte() == 0xFF;
  bool has_precise = false;
  c.t->KESTREL_ask_config_rule_has_precise(from_preference, null_out ? nullptr : &has_precise);
}

// --- the host's own answers ------------------------------------------------

// Which record layout the host's structure service test answers.
void HostStructureService(Call& c) {
  const bool available = c.in.flag();
  cadlink::testing::set_service_2007_12_available(available);
}
// The services the library asks for by name, each offered by the server or
// not (the others stay as they are); the host lists them at its next connect.
void ServerServices(Call& c) {
  const std::uint8_t withheld = c.in.byte();
  const std::string optional[] = {"Internal-Core-2007-05-Session", "Core-2007-06-PropDescriptor.getAttachedPropDescs",
                                  "Query-2007-09-SavedQuery.executeSavedQueries"};
  std::vector<std::string> names;
  for (const std::string& name : c.world.available_services())
    if (std::find(std::begin(optional), std::end(optional), name) == std::end(optional)) names.push_back(name);
  for (std::size_t i = 0; i < std::size(optional); ++i)
    if (!(withheld & (1u << i))) names.push_back(optional[i]);
  c.world.set_available_services(std::move(names));
}
// Whether BOM windows take their rule from the library's cache.
void HostSoaInPdi(Call& c) {
  const bool use = c.in.flag();
  objmodel::testing::set_use_soa_in_pdi(use);
}
// Debug lines on or off: caller texts then reach them as arguments.
void HostDebug(Call& c) {
  const bool on = c.in.flag();
  MACH__checking_level = on ? 1 : 0;
  for (const char* flag : {"TOVMGR_debug_soa", "TOVMGR_soa_save_assy", "CHECK_REQ"})
    corerun::testing::set_debug_flag(flag, on);
}

// New ops go at the end, so that the seeds keep their meaning. The
// framework's exceptions pass where an entry sends a request, or reads a
// value, outside the standard conversion: classification, deleting search
// criteria, the descriptor request of attribute resolution, the project texts
// and project lists, the server-version probe and what asks it, the
// validation entries' session, load, creation, ticket and upload requests,
// the home folder's second read and the reload of a rule's entries.
const kestrel::fuzz::Op<Call> kOps[] = {
    {"connect", Connect, Passes::kBaseErrors},
    {"login", Login, Passes::kBaseErrors},
    {"logout", Logout, Passes::kBaseErrors},
    {"ask_connection", AskConnection, Passes::kBaseErrors},
    {"user_group_role", UserGroupRole, Passes::kBaseErrors},
    {"home_folder", HomeFolder, Passes::kFrameworkExceptions},
    {"construct", Construct, Passes::kBaseErrors},
    {"load", Load, Passes::kBaseErrors},
    {"get_properties", GetProperties, Passes::kBaseErrors},
    {"object_uid", ObjectUid, Passes::kBaseErrors},
    {"object_type_name", ObjectTypeName, Passes::kBaseErrors},
    {"server_uid", ServerUid, Passes::kBaseErrors},
    {"server_type_name", ServerTypeName, Passes::kBaseErrors},
    {"get_string", GetString, Passes::kBaseErrors},
    {"get_int", Read<&KESTREL_interface_s::KESTREL_get_object_property_int>, Passes::kBaseErrors},
    {"get_double", Read<&KESTREL_interface_s::KESTREL_get_object_property_double>, Passes::kBaseErrors},
    {"get_logical", Read<&KESTREL_interface_s::KESTREL_get_object_property_logical>, Passes::kBaseErrors},
    {"get_char", Read<&KESTREL_interface_s::KESTREL_get_object_property_char>, Passes::kBaseErrors},
    {"get_date", GetDate, Passes::kBaseErrors},
    {"get_object", GetObject, Passes::kBaseErrors},
    {"get_string_array", GetStringArray, Passes::kBaseErrors},
    {"get_int_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_int_array>, Passes::kBaseErrors},
    {"get_double_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_double_array>, Passes::kBaseErrors},
    {"get_logical_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_logical_array>, Passes::kBaseErrors},
    {"get_char_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_char_array>, Passes::kBaseErrors},
    {"get_date_array", GetDateArray, Passes::kBaseErrors},
    {"get_object_array", GetObjectArray, Passes::kBaseErrors},
    {"property_texts", PropertyTexts, Passes::kBaseErrors},
    {"refresh", Refresh, Passes::kBaseErrors},
    {"items_with_revisions", ItemsWithRevisions, Passes::kBaseErrors},
    {"delete", Delete, Passes::kBaseErrors},
    {"type_descriptions", TypeDescriptions, Passes::kBaseErrors},
    {"related_cad", RelatedCad, Passes::kBaseErrors},
    {"related_core", RelatedCore, Passes::kBaseErrors},
    {"related_core_2", RelatedCore2, Passes::kBaseErrors},
    {"type_hierarchy", TypeHierarchy, Passes::kBaseErrors},
    {"checkout", Checkout, Passes::kBaseErrors},
    {"checkin", Checkin, Passes::kBaseErrors},
    {"cancel_checkout", CancelCheckout, Passes::kBaseErrors},
    {"set_properties", SetProperties, Passes::kBaseErrors},
    {"list_queries", kestrel::fuzz::ListQueries<Call>, Passes::kBaseErrors},
    {"describe_queries", kestrel::fuzz::DescribeQueries<Query, Call>, Passes::kBaseErrors},
    {"execute_query", kestrel::fuzz::ExecuteQuery<Query, Call>, Passes::kBaseErrors},
    {"execute_queries", ExecuteQueries, Passes::kBaseErrors},
    {"save_criteria", kestrel::fuzz::SaveCriteria<Call>, Passes::kBaseErrors},
    {"delete_criteria", kestrel::fuzz::DeleteCriteria<Call>, Passes::kFrameworkExceptions},
    {"retrieve_criteria", kestrel::fuzz::RetrieveCriteria<Call>, Passes::kBaseErrors},
    {"create_window", CreateWindow, Passes::kBaseErrors},
    {"close_window", CloseWindow, Passes::kBaseErrors},
    {"top_line", TopLine, Passes::kBaseErrors},
    {"expand_line", ExpandLine, Passes::kBaseErrors},
    {"expand_lines", ExpandLines, Passes::kBaseErrors},
    {"lines_by_path", LinesByPath, Passes::kBaseErrors},
    {"update_start", UpdateStart, Passes::kBaseErrors},
    {"update_start_assy", UpdateStartAssy, Passes::kBaseErrors},
    {"add_child", AddChild, Passes::kBaseErrors},
    {"update_commit", UpdateCommit, Passes::kBaseErrors},
    {"delete_start", DeleteStart, Passes::kBaseErrors},
    {"delete_start_assy", DeleteStartAssy, Passes::kBaseErrors},
    {"delete_child", DeleteChild, Passes::kBaseErrors},
    {"delete_commit", DeleteCommit, Passes::kBaseErrors},
    {"revisions_of_item", RevisionsOfItem, Passes::kBaseErrors},
    {"revision_of_item", RevisionOfItem, Passes::kBaseErrors},
    {"datasets_by_id", DatasetsById, Passes::kBaseErrors},
    {"revision_by_id", RevisionById, Passes::kBaseErrors},
    {"item_and_revisions", ItemAndRevisions, Passes::kBaseErrors},
    {"items_by_id", ItemsById, Passes::kBaseErrors},
    {"dataset_references", DatasetReferences, Passes::kBaseErrors},
    {"configured_revision", ConfiguredRevision, Passes::kBaseErrors},
    {"configured_revision_2", ConfiguredRevision2, Passes::kBaseErrors},
    {"write_classification", kestrel::fuzz::WriteClassification<ClassificationObject, Call>,
     Passes::kFrameworkExceptions},
    {"write_classification_2", kestrel::fuzz::WriteClassification2<ClassificationObject, Call>,
     Passes::kFrameworkExceptions},
    {"send_classification_uids", kestrel::fuzz::SendClassificationUids<Call>, Passes::kFrameworkExceptions},
    {"classification_classes", kestrel::fuzz::ClassificationClasses<Call>, Passes::kFrameworkExceptions},
    {"class_descriptions", kestrel::fuzz::ClassDescriptions<Call>, Passes::kFrameworkExceptions},
    {"classification_table", kestrel::fuzz::ClassificationTable<Call>, Passes::kFrameworkExceptions},
    {"objects_of_classification_ids", kestrel::fuzz::ObjectsOfClassificationIds<Call>, Passes::kFrameworkExceptions},
    {"class_attributes", kestrel::fuzz::ClassAttributes<Call>, Passes::kFrameworkExceptions},
    {"find_classes", kestrel::fuzz::FindClasses<Call>, Passes::kFrameworkExceptions},
    {"find_classification_objects", kestrel::fuzz::FindClassificationObjects<Call>, Passes::kFrameworkExceptions},
    {"classification_pom_objects", kestrel::fuzz::ClassificationPomObjects<Call>, Passes::kFrameworkExceptions},
    {"classifications_of_objects", kestrel::fuzz::ClassificationsOfObjects<Call>, Passes::kFrameworkExceptions},
    {"classification_objects_by_key", ClassificationObjectsByKey, Passes::kFrameworkExceptions},
    {"load_classification_objects", kestrel::fuzz::LoadClassificationObjects<Call>, Passes::kFrameworkExceptions},
    {"refresh_classification_objects", RefreshClassificationObjects, Passes::kFrameworkExceptions},
    {"value_tables", kestrel::fuzz::ValueTables<Call>, Passes::kFrameworkExceptions},
    {"preference_values", kestrel::fuzz::PreferenceValues<Call>, Passes::kBaseErrors},
    {"preferences", Preferences, Passes::kBaseErrors},
    {"connection_option", ConnectionOption, Passes::kBaseErrors},
    {"datetime_string", DatetimeString, Passes::kBaseErrors},
    {"available_services", AvailableServices, Passes::kBaseErrors},
    {"send_validation_inputs", SendValidationInputs, Passes::kFrameworkExceptions},
    {"create_validation_results", CreateValidationResults, Passes::kFrameworkExceptions},
    {"save_validation_results", SaveValidationResults, Passes::kFrameworkExceptions},
    {"update_validation_results", UpdateValidationResults, Passes::kFrameworkExceptions},
    {"validation_data", ValidationData, Passes::kFrameworkExceptions},
    {"query_validation_results", QueryValidationResults, Passes::kFrameworkExceptions},
    {"read_tickets", ReadTickets, Passes::kBaseErrors},
    {"write_tickets", WriteTickets, Passes::kBaseErrors},
    {"commit_files", CommitFiles, Passes::kBaseErrors},
    {"create_parts", CreateParts, Passes::kBaseErrors},
    {"create_datasets", CreateDatasets, Passes::kBaseErrors},
    {"create_items", CreateItems, Passes::kBaseErrors},
    {"defining_tree", DefiningTree, Passes::kBaseErrors},
    {"defining_objects", DefiningObjects, Passes::kFrameworkExceptions},
    {"complying_objects", ComplyingObjects, Passes::kFrameworkExceptions},
    {"create_trace_links", CreateTraceLinks, Passes::kFrameworkExceptions},
    {"modify_trace_link", ModifyTraceLink, Passes::kFrameworkExceptions},
    {"export_fulltext", ExportFulltext, Passes::kFrameworkExceptions},
    {"generate_structure", GenerateStructure, Passes::kBaseErrors},
    {"project_names", ProjectNames, Passes::kFrameworkExceptions},
    {"project_ids", ProjectIds, Passes::kFrameworkExceptions},
    {"user_projects", UserProjects, Passes::kFrameworkExceptions},
    {"privileged_projects", PrivilegedProjects, Passes::kFrameworkExceptions},
    {"project_objects", ProjectObjects, Passes::kFrameworkExceptions},
    {"all_project_information", AllProjectInformation, Passes::kFrameworkExceptions},
    {"project_entries", ProjectEntries, Passes::kBaseErrors},
    {"project_teams", ProjectTeams, Passes::kBaseErrors},
    {"assign_to_projects", AssignToProjects, Passes::kFrameworkExceptions},
    {"remove_from_projects", RemoveFromProjects, Passes::kFrameworkExceptions},
    {"projects_list", ProjectsList, Passes::kFrameworkExceptions},
    {"ask_project_objects", AskProjectObjects, Passes::kFrameworkExceptions},
    {"project_datasets", ProjectDatasets, Passes::kFrameworkExceptions},
    {"assign_and_remove", AssignAndRemove, Passes::kFrameworkExceptions},
    {"host_project_data", HostProjectData, Passes::kBaseErrors},
    {"attr_definitions", AttrDefinitions, Passes::kBaseErrors},
    {"resolve_attr_mappings", ResolveAttrMappings, Passes::kFrameworkExceptions},
    {"update_attr_values", UpdateAttrValues, Passes::kBaseErrors},
    {"clear_attr_cache", ClearAttrCache, Passes::kBaseErrors},
    {"clear_attr_cache_for_parts", ClearAttrCacheForParts, Passes::kBaseErrors},
    {"set_rule", SetRule, Passes::kBaseErrors},
    {"rule_guid", RuleGuid, Passes::kBaseErrors},
    {"rule_name", RuleName, Passes::kBaseErrors},
    {"set_rule_all", SetRuleAll, Passes::kBaseErrors},
    {"rule_status", RuleStatus, Passes::kBaseErrors},
    {"list_rules", ListRules, Passes::kBaseErrors},
    {"rule_has_precise", RuleHasPrecise, Passes::kFrameworkExceptions},
    {"host_structure_service", HostStructureService, Passes::kBaseErrors},
    {"host_soa_in_pdi", HostSoaInPdi, Passes::kBaseErrors},
    {"host_debug", HostDebug, Passes::kBaseErrors},
    {"disconnect_answer", DisconnectAnswer, Passes::kBaseErrors},
    {"server_services", ServerServices, Passes::kBaseErrors},
};
// The host's own state back to where a process starts: what the harness
// changed and what the stand-ins record of the last input.
void ResetHost() {
  corerun::testing::clear_debug_flags();
  MACH__checking_level = 0;
  corerun::testing::clear_sleeps();
  corerun::testing::clear_log();
  cadlink::testing::set_service_2007_12_available(true);
  cadlink::testing::clear_attr_mapping();
  cadlink::testing::clear_bvr_lookups();
  docsvc::testing::reset();
  objmodel::testing::set_use_soa_in_pdi(true);
  Halden::Soa::Client::testing::reset();
  // The user gives up on a server that does not answer, until an input's
  // host answers otherwise.
  cadlink::testing::set_dialog_answer(1);
}

// What a host does when it is done: no session, no batch. The attribute-mapping
// caches stay as the input left them, so the next session meets them as a
// host's second login does.
void EndSession(const KESTREL_interface_s* t) {
  if (t->KESTREL_ask_connection()) t->KESTREL_logout(false);
  t->KESTREL_RelativeStructureUpdateStart();
  std::map<std::string, Orvane::PdmSoa::Component*>* components = nullptr;
  delete t->KESTREL_RelativeStructureUpdateCommit(false, &components);
  delete components;
  t->KESTREL_RelativeStructureDeleteStart();
  t->KESTREL_RelativeStructureDeleteCommit();
}

// After the teardown the next input must find the session whole, as a host
// that starts over does: no batch left open, and a connect and a login that
// succeed. Anything else stops the run here, naming what was left.
[[noreturn]] void SessionBroken(const char* what, const char* detail) {
  std::fprintf(stderr, "kestrel_fuzz: after the input's teardown %s%s\n", what, detail);
  std::abort();
}
template <class StartAssy>
void RequireNoOpenBatch(const char* what, StartAssy start_assy) {
  // A parent without a server object: a closed batch refuses before it reads it.
  static Obj parent(nullptr);
  try {
    start_assy(&parent);
  } catch (const Orvane::Error::Severe& e) {
    if (e.Code() == 940208 && e.Message().find("No open batch") != std::string::npos) return;
    SessionBroken(what, e.Message().c_str());
  }
  SessionBroken(what, "");
}
void RequireSessionWhole(const KESTREL_interface_s* t) {
  RequireNoOpenBatch("an update batch is left open: ",
                     [&](Obj* parent) { t->KESTREL_RelativeStructureUpdateStartAssy(1, parent, false, nullptr); });
  RequireNoOpenBatch("a delete batch is left open: ",
                     [&](Obj* parent) { t->KESTREL_RelativeStructureDeleteStartAssy(1, parent, nullptr); });
  if (t->KESTREL_ask_connection()) SessionBroken("a connection is left", "");
  try {
    t->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    if (!t->KESTREL_ask_connection()) SessionBroken("a new connect made no connection", "");
    t->KESTREL_login("engineer", "secret", true);
  } catch (const std::exception& e) {
    SessionBroken("a new connect and login failed: ", e.what());
  }
  t->KESTREL_logout(false);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const KESTREL_interface_s* t = Table();
  Orvane::PdmSoa::SoaManager::SetSoaInterface(t);
  objmodel::testing::set_default_iiop_string(kHost);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const KESTREL_interface_s* t = Table();
  ResetHost();
  Halden::Soa::Server::TestServer server{kHost};
  if (const char* version = std::getenv("KESTREL_FUZZ_SERVER_VERSION")) server.world.set_server_version(version);
  Input in(data, size);
  Pool pool;
  Call call{t, in, pool, server.world};
  kestrel::fuzz::RunCalls(kOps, call, kCallsPerInput, "kestrel_fuzz");
  EndSession(t);
  RequireSessionWhole(t);
  return 0;
}
