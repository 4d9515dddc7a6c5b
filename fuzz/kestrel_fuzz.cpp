// A stateful fuzzer: each input is a sequence of table calls with their
// arguments (UIDs, texts, modes, dates), run against the sample world through
// the table as a host would. An input starts from no session; whatever a
// call raises as the base library's error, or passes on as the framework's
// exception, is a clear failure; anything else, or a sanitizer finding, is a
// fault.
//
// Input: bytes read in order; each call is one op byte followed by what that
// op takes (a text is a length byte then that many bytes, or, for a length
// byte above 200, a known word of the sample world).
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"

namespace {

using Orvane::PdmSoa::BomLine;
using Obj = Orvane::PdmSoa::ModelObject;

constexpr const char* kHost = "http://fuzz-world:7001/kestrel";

const char* const kWords[] = {"K-1000",
                              "rev-K-1000-B",
                              "item-K-1000",
                              "K-1200",
                              "B",
                              "A",
                              "",
                              "wheel-left",
                              "Latest Working",
                              "Released by Date",
                              "engineer",
                              "secret",
                              "%s%n%s",
                              "object_name",
                              "item_id",
                              "bl_quantity",
                              "Today",
                              "2024-03-05",
                              "folder-home",
                              "HX_config_rule_name",
                              "rule-precise",
                              "K-9999",
                              "a b",
                              "user",
                              "sequence_id"};

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  int number() { return static_cast<std::int8_t>(byte()); }
  std::string text() {
    const std::uint8_t length = byte();
    if (length > 200) return kWords[(length - 201) % (sizeof kWords / sizeof *kWords)];
    std::string out;
    for (std::uint8_t i = 0; i < length && !empty(); ++i) out.push_back(static_cast<char>(byte()));
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

struct Host {
  Host() {
    corerun::testing::set_log_enabled(false);
    int version = 0;
    table = KESTREL_init_module(&version);
    Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
    objmodel::testing::set_default_iiop_string(kHost);
  }
  Halden::Soa::Server::TestServer server{kHost};
  const KESTREL_interface_s* table = nullptr;
};

// What the calls of one input hold: host objects (gone at logout) and the
// child lines it owns.
struct Pool {
  std::vector<Obj*> objects;
  std::vector<BomLine*> lines;  // registry lines and owned child lines
  std::vector<std::unique_ptr<BomLine>> owned;
  Obj* object(Input& in) {
    return objects.empty() || in.byte() % 8 == 0 ? nullptr : objects[in.byte() % objects.size()];
  }
  BomLine* line(Input& in) { return lines.empty() || in.byte() % 8 == 0 ? nullptr : lines[in.byte() % lines.size()]; }
  void take(std::vector<BomLine*>* children) {
    if (!children) return;
    for (BomLine* child : *children) {
      owned.emplace_back(child);
      lines.push_back(child);
    }
    delete children;
  }
  void forget_registry() {
    objects.clear();
    lines.clear();
    for (auto& line : owned) lines.push_back(line.get());
  }
};

void call(const KESTREL_interface_s* t, Pool& pool, Input& in) {
  switch (in.byte() % 22) {
    case 0:
      t->KESTREL_create_connection(kHost, "HTTP", in.text().c_str(), in.text().c_str(), "Engineering", "Designer", "",
                                   in.byte() & 1);
      break;
    case 1:
      t->KESTREL_login(in.text().c_str(), in.text().c_str(), true);
      break;
    case 2:
      t->KESTREL_logout(in.byte() & 1);
      pool.forget_registry();
      break;
    case 3:
      if (auto* o = t->constructObject(in.text(), in.text())) (void)o;
      break;
    case 4: {
      std::vector<Obj*> out;
      std::vector<UString> uids;
      for (int n = in.byte() % 5; n > 0; --n) uids.emplace_back(in.text());
      t->KESTREL_load_objects(uids, &out);
      for (Obj* o : out)
        if (o) pool.objects.push_back(o);
      break;
    }
    case 5:
      t->KESTREL_get_properties({pool.object(in)}, {in.text()});
      break;
    case 6:
      if (auto* r = t->KESTREL_get_item_revision_by_id(in.text(), in.text(), in.number())) pool.objects.push_back(r);
      break;
    case 7: {
      if (auto* w = t->KESTREL_create_bom_window(in.text())) pool.objects.push_back(w);
      break;
    }
    case 8: {
      auto* window = dynamic_cast<Orvane::PdmSoa::BomWindow*>(pool.object(in));
      if (!window) break;
      if (BomLine* top = t->KESTREL_ask_bom_top_line(window)) pool.lines.push_back(top);
      break;
    }
    case 9:
      pool.take(t->KESTREL_expand_bom_line(pool.line(in), in.number()));
      break;
    case 10: {
      std::vector<BomLine*> lines;
      for (int n = in.byte() % 4; n > 0; --n) lines.push_back(pool.line(in));
      std::unique_ptr<std::vector<std::vector<BomLine*>*>> lists(t->KESTREL_expand_bom_lines(lines, in.number()));
      for (auto* list : *lists) pool.take(list);
      break;
    }
    case 11: {
      std::vector<BomLine*> out;
      t->KESTREL_ask_bom_lines_by_path(pool.object(in), {{in.text()}, {in.text(), in.text()}}, &out);
      for (BomLine* l : out) pool.lines.push_back(l);
      break;
    }
    case 12:
      t->KESTREL_close_bom_window(dynamic_cast<Orvane::PdmSoa::BomWindow*>(pool.object(in)));
      break;
    case 13:
      t->KESTREL_get_object_property_string(pool.object(in), in.text(), in.byte() & 1);
      break;
    case 14:
      t->KESTREL_get_object_property_int(pool.object(in), in.text(), in.byte() & 1);
      break;
    case 15:
      t->KESTREL_get_object_property_date(pool.object(in), in.text(), in.byte() & 1, in.byte() & 1);
      break;
    case 16:
      delete t->KESTREL_get_object_property_object_array(pool.object(in), in.text(), in.byte() & 1);
      break;
    case 17: {
      std::map<UString, UString> texts;
      t->KESTREL_ask_object_property_texts(pool.object(in), &texts);
      break;
    }
    case 18:
      t->KESTREL_set_config_rule_all(in.text().c_str(), in.text().c_str(), in.byte() & 1, in.number(), in.byte() & 1);
      break;
    case 19: {
      const date_s date{
          static_cast<std::uint16_t>(in.byte() * 40), in.byte(), in.byte(), in.byte(), in.byte(), in.byte()};
      t->KESTREL_get_datetime_string(&date);
      break;
    }
    case 20: {
      char* name = nullptr;
      t->KESTREL_ask_configuration_rule(in.byte() & 1, &name);
      SM_free(name);
      t->KESTREL_set_configuration_rule(in.text().c_str(), false);
      break;
    }
    default: {
      std::unique_ptr<std::vector<Orvane::PdmSoa::Item*>> items(
          t->KESTREL_get_items_by_id({{UString(in.text()), {UString(in.text())}}}, in.number()));
      for (auto* item : *items)
        if (item) pool.objects.push_back(item);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Host host;
  const KESTREL_interface_s* t = host.table;
  Pool pool;
  Input in(data, size);
  for (int calls = 0; !in.empty() && calls < 64; ++calls) {
    try {
      call(t, pool, in);
    } catch (const Orvane::Error::Severe&) {
      // a clear error of the library
    } catch (const std::exception&) {
      // a framework exception passed on as documented
    }
  }
  if (t->KESTREL_ask_connection()) t->KESTREL_logout(false);
  host.server.server.requests.clear();
  corerun::testing::clear_log();
  return 0;
}
