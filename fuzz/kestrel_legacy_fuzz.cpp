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
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/testing.h"
#include "cadlink/virelmgr.h"
#include "corba/corba.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "fuzz_input.h"
#include "fuzz_ops.h"
#include "halden/server/TestServer.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "kestrel/legacy/kestrel_interface.h"
#include "objmodel/testing.h"
#include "srvtools/testing.h"

namespace {

using kestrel::fuzz::Input;
using kestrel::fuzz::ListOf;
using kestrel::fuzz::Passes;
using Orvane::PdmSoa::VirelmgrBomLine;
using Orvane::PdmSoa::VirelmgrBomWindow;
using Orvane::PdmSoa::VirelmgrClassificationObject;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrQuery;
using Strings = std::vector<std::string>;

constexpr const char* kHost = "http://fuzz-legacy-world:7001/kestrel";
constexpr int kCallsPerInput = 64;

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
  // This build installs no disconnect dialog: the ops that reach the server
  // pass every framework exception already.
  static constexpr bool host_retries_lost_connections = false;

  VirelmgrModelObject* object() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::Newest(pool.objects, pick);
  }
  template <class T>
  T* object_as() {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::NewestOf<T>(pool.objects, pick);
  }
  template <class T>
  T* from(const std::vector<T*>& list) {
    const std::uint8_t pick = in.byte();
    return kestrel::fuzz::Newest(list, pick);
  }
  Strings texts() {
    return ListOf(in, [&] { return in.text(); });
  }
  // The classification classes are the host's: it destroys them.
  template <class Classes>
  static void free_classes(Classes* classes) {
    kestrel::fuzz::FreeClasses(classes, HostDelete());
  }
};

template <class T>
const char* c_str(const std::optional<T>& text) {
  return text ? text->c_str() : nullptr;
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
// How the framework answers logout's one step, asking for the session
// service: with the service, or with one of the two failures logout catches.
void Logout(Call& c) {
  using Halden::Soa::Client::testing::ServiceFailure;
  constexpr const char* kSession = "Core-2006-03-Session";
  const ServiceFailure failures[] = {ServiceFailure::None, ServiceFailure::Runtime, ServiceFailure::Soa};
  const ServiceFailure failure = failures[c.in.byte() % 3];
  const std::string detail = failure == ServiceFailure::Soa ? c.in.text() : std::string();
  Halden::Soa::Client::testing::set_get_service_failure(kSession, failure, detail);
  // Only for this call: the later ones of the input find the service.
  struct Restore {
    ~Restore() { Halden::Soa::Client::testing::set_get_service_failure("", ServiceFailure::None); }
  } restore;
  c.t->KESTREL_logout();
}
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
// The gateway's answers attempt by attempt (an IOR, none yet, or a
// failure; past them the last holds, and without any it has none), then the
// call with its tries and pauses.
void GatewayIor(Call& c) {
  using Answer = Halden::Soa::Client::testing::GatewayAnswer;
  std::vector<Answer> answers = ListOf(c.in, [&] {
    Answer answer;
    switch (c.in.byte() % 3) {
      case 0:
        answer.kind = Answer::Kind::Text;
        answer.text = c.in.text();
        break;
      case 1:
        answer.kind = Answer::Kind::Null;
        break;
      default:
        answer.kind = Answer::Kind::Throw;
    }
    return answer;
  });
  // The gateway counts attempts from its reset: this call's answers start at its first.
  Halden::Soa::Client::testing::reset_gateway();
  Halden::Soa::Client::testing::set_gateway_answers(std::move(answers));
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

// The getters by UID share their arguments.
template <class Get>
void ByUid(Call& c, Get get) {
  const std::string uid = c.in.text();
  const std::string name = c.in.text();
  get(uid, name);
}
using S = const std::string&;
// A getter whose value no later call can use.
template <auto Slot>
void Read(Call& c) {
  ByUid(c, [&](S u, S n) { (c.t->*Slot)(u, n); });
}
void GetString(Call& c) {
  ByUid(c, [&](S u, S n) { c.in.remember(c.t->KESTREL_get_object_property_string_by_uid(u, n)); });
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

// Saved queries and search criteria (slots 5 to 10) are shared: fuzz_ops.h.

// --- BOM windows and lines (slots 11 to 14) --------------------------------

// The host's current rule, whose GUID the window is opened under: as it
// stands (at first "Latest Working"), none, or the GUID given.
void CreateWindow(Call& c) {
  const std::string uid = c.in.text();
  switch (c.in.byte() % 3) {
    case 0:
      break;
    case 1:
      objmodel::testing::set_current_config_rule(nullptr, nullptr);
      break;
    default: {
      const std::string guid = c.in.text();
      objmodel::testing::set_current_config_rule(guid.c_str(), guid.c_str());
    }
  }
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

// Classification (slots 15 to 28) is shared: fuzz_ops.h.

// New ops go at the end, so that the seeds keep their meaning. This build
// converts none of the framework's exceptions: every op that sends a request
// or asks the model manager (which refuses a malformed UID with one) passes
// them, the getters too, whose catch covers only their first read. Connect
// (which does nothing here) and logout catch the runtime and service
// exceptions their steps meet, the gateway entry catches everything, and the
// other two meet none.
const kestrel::fuzz::Op<Call> kOps[] = {
    {"ask_connection", AskConnection, Passes::kBaseErrors},
    {"connect", Connect, Passes::kBaseErrors},
    {"logout", Logout, Passes::kBaseErrors},
    {"construct", Construct, Passes::kFrameworkExceptions},
    {"get_properties", GetProperties, Passes::kFrameworkExceptions},
    {"list_queries", kestrel::fuzz::ListQueries<Call>, Passes::kFrameworkExceptions},
    {"describe_queries", kestrel::fuzz::DescribeQueries<VirelmgrQuery, Call>, Passes::kFrameworkExceptions},
    {"execute_query", kestrel::fuzz::ExecuteQuery<VirelmgrQuery, Call>, Passes::kFrameworkExceptions},
    {"save_criteria", kestrel::fuzz::SaveCriteria<Call>, Passes::kFrameworkExceptions},
    {"delete_criteria", kestrel::fuzz::DeleteCriteria<Call>, Passes::kFrameworkExceptions},
    {"retrieve_criteria", kestrel::fuzz::RetrieveCriteria<Call>, Passes::kFrameworkExceptions},
    {"create_window", CreateWindow, Passes::kFrameworkExceptions},
    {"close_window", CloseWindow, Passes::kFrameworkExceptions},
    {"top_line", TopLine, Passes::kFrameworkExceptions},
    {"expand_line", ExpandLine, Passes::kFrameworkExceptions},
    {"write_classification", kestrel::fuzz::WriteClassification<VirelmgrClassificationObject, Call>,
     Passes::kFrameworkExceptions},
    {"write_classification_2", kestrel::fuzz::WriteClassification2<VirelmgrClassificationObject, Call>,
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
    {"load_classification_objects", kestrel::fuzz::LoadClassificationObjects<Call>, Passes::kFrameworkExceptions},
    {"value_tables", kestrel::fuzz::ValueTables<Call>, Passes::kFrameworkExceptions},
    {"preference_values", kestrel::fuzz::PreferenceValues<Call>, Passes::kFrameworkExceptions},
    {"type_name_of_uid", TypeNameOfUid, Passes::kFrameworkExceptions},
    {"get_string", GetString, Passes::kFrameworkExceptions},
    {"get_int", Read<&KESTREL_interface_s::KESTREL_get_object_property_int_by_uid>, Passes::kFrameworkExceptions},
    {"get_double", Read<&KESTREL_interface_s::KESTREL_get_object_property_double_by_uid>, Passes::kFrameworkExceptions},
    {"get_logical", Read<&KESTREL_interface_s::KESTREL_get_object_property_logical_by_uid>,
     Passes::kFrameworkExceptions},
    {"get_char", Read<&KESTREL_interface_s::KESTREL_get_object_property_char_by_uid>, Passes::kFrameworkExceptions},
    {"get_date", GetDate, Passes::kFrameworkExceptions},
    {"get_object", GetObject, Passes::kFrameworkExceptions},
    {"get_string_array", GetStringArray, Passes::kFrameworkExceptions},
    {"get_int_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_int_array_by_uid>,
     Passes::kFrameworkExceptions},
    {"get_double_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_double_array_by_uid>,
     Passes::kFrameworkExceptions},
    {"get_logical_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_logical_array_by_uid>,
     Passes::kFrameworkExceptions},
    {"get_char_array", Read<&KESTREL_interface_s::KESTREL_get_object_property_char_array_by_uid>,
     Passes::kFrameworkExceptions},
    {"get_date_array", GetDateArray, Passes::kFrameworkExceptions},
    {"get_object_array", GetObjectArray, Passes::kFrameworkExceptions},
    {"related_cad", RelatedCad, Passes::kFrameworkExceptions},
    {"cookie_info", CookieInfo, Passes::kBaseErrors},
    {"gateway_ior", GatewayIor, Passes::kBaseErrors},
};
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
  objmodel::testing::reset_config_rules();
  srvtools::testing::reset();
  Halden::Soa::Client::testing::reset();
  Halden::Soa::Server::TestServer server{kHost};
  server.world.store.apply_named_policy("VirelManagerDefault");
  Input in(data, size);
  Pool pool;
  Call call{t, in, pool};
  kestrel::fuzz::RunCalls(kOps, call, kCallsPerInput, "kestrel_legacy_fuzz");
  return 0;
}
