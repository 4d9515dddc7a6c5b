// A small host: loads libkestrel.so, takes its table and runs a session
// against the sample world, printing what happens. It uses the library only
// through the table.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "corerun/memory.h"
#include "corerun/testing.h"
#include "halden/server/TestServer.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace {

constexpr const char* kHost = "http://sample-world:7001/kestrel";
// Related data each expansion brings along: the master models.
constexpr int kMasterModels = 2;

using InitModule = decltype(&KESTREL_init_module);
using Orvane::PdmSoa::BomLine;

// A line of the structure with the lines the server found below it.
struct Node {
  BomLine* line;
  std::vector<Node> children;
};

class Walk {
 public:
  explicit Walk(const KESTREL_interface_s* table) : table_(table) {}
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;
  ~Walk() {
    for (BomLine* line : owned_) delete line;
  }

  // Expands the structure below top one level at a time, each level in one
  // request.
  Node expand(BomLine* top) {
    Node root{top, {}};
    std::vector<Node*> level = {&root};
    while (!level.empty()) {
      std::vector<BomLine*> lines;
      for (Node* node : level) lines.push_back(node->line);
      std::unique_ptr<std::vector<std::vector<BomLine*>*>> lists(
          table_->KESTREL_expand_bom_lines(lines, kMasterModels));
      for (std::size_t i = 0; i < lists->size(); ++i) {
        std::unique_ptr<std::vector<BomLine*>> children((*lists)[i]);
        if (i >= level.size()) continue;
        for (BomLine* child : *children) {
          owned_.push_back(child);
          level[i]->children.push_back(Node{child, {}});
        }
      }
      std::vector<Node*> next;
      for (Node* node : level)
        for (Node& child : node->children) next.push_back(&child);
      level = std::move(next);
    }
    return root;
  }

  std::string text(BomLine* line, const char* property) const {
    return table_->KESTREL_get_object_property_string(line, property, false);
  }

  // One printed line per line of the structure; siblings that repeat the
  // same revision print once with their count of occurrences.
  void print(const Node& node, int depth, int occurrences) const {
    const std::string quantity = text(node.line, "bl_quantity");
    std::string amount;
    if (!quantity.empty()) amount = "qty " + quantity;
    if (occurrences > 1) amount = std::to_string(occurrences) + " occurrences";
    char row[256];
    std::snprintf(row, sizeof row, "%*s%-9s %-16s %s", depth * 2, "",
                  (text(node.line, "bl_item_item_id") + "/" + text(node.line, "bl_rev_item_revision_id")).c_str(),
                  text(node.line, "bl_item_object_name").c_str(), amount.c_str());
    std::string shown = row;
    shown.erase(shown.find_last_not_of(' ') + 1);
    std::printf("%s\n", shown.c_str());
    const auto& children = node.children;
    for (std::size_t i = 0; i < children.size();) {
      std::size_t same = i + 1;
      while (same < children.size() && shows_same(children[i], children[same])) ++same;
      print(children[i], depth + 1, static_cast<int>(same - i));
      i = same;
    }
  }

 private:
  bool shows_same(const Node& a, const Node& b) const {
    for (const char* property : {"bl_item_item_id", "bl_rev_item_revision_id", "bl_quantity"})
      if (text(a.line, property) != text(b.line, property)) return false;
    return true;
  }

  const KESTREL_interface_s* table_;
  std::vector<BomLine*> owned_;  // child lines are the host's to delete
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
    std::printf("usage: kestrel-demo [path to libkestrel.so]  (default %s)\n", KESTREL_LIBRARY_PATH);
    return argc > 2 ? 2 : 0;
  }
  // One line at a time, so the library's log (on stderr) and the demo's own
  // lines keep their order when both go to one pipe.
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  const char* path = argc > 1 ? argv[1] : KESTREL_LIBRARY_PATH;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
    return 1;
  }
  auto init = reinterpret_cast<InitModule>(dlsym(library, "KESTREL_init_module"));
  if (!init) {
    std::fprintf(stderr, "%s has no KESTREL_init_module\n", path);
    return 1;
  }

  int version = 0;
  const KESTREL_interface_s* table = init(&version);
  Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
  std::printf("loaded libkestrel, interface version %d\n", version);

  const Halden::Soa::Server::TestServer server(kHost);
  corerun::testing::echo_log(stderr);

  try {
    table->KESTREL_create_connection(kHost, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
    table->KESTREL_login("engineer", "secret", true);
    const UserGroupRole who = table->KESTREL_ask_user_group_role();
    std::printf("logged in as %s (%s / %s)\n", who.user.c_str(), who.group.c_str(), who.role.c_str());

    std::unique_ptr<std::vector<std::string>> services(table->KESTREL_list_available_services());
    std::printf("the server offers %zu services:\n", services->size());
    for (const auto& name : *services) std::printf("  %s\n", name.c_str());

    const auto rule = table->KESTREL_ask_preference_values("user", "HX_config_rule_name");
    std::printf("preference HX_config_rule_name = %s\n", rule.empty() ? "(none)" : rule.front().c_str());

    Orvane::PdmSoa::ItemRevision* revision = table->KESTREL_get_item_revision_by_id("K-1000", "", kMasterModels);
    if (!revision) {
      std::fprintf(stderr, "failed: no item K-1000\n");
      return 1;
    }
    const std::string revision_uid = revision->GetUid().utf8();
    const std::string revision_id = table->KESTREL_get_object_property_string(revision, "item_revision_id", false);
    std::printf("found item K-1000, newest revision %s (%s)\n", revision_id.c_str(), revision_uid.c_str());

    char* rule_name = nullptr;
    table->KESTREL_ask_configuration_rule(false, &rule_name);
    std::printf("revision rule: %s\n", rule_name ? rule_name : "(none)");
    SM_free(rule_name);

    Orvane::PdmSoa::BomWindow* window = table->KESTREL_create_bom_window(revision_uid);
    {
      Walk walk(table);
      const Node root = walk.expand(table->KESTREL_ask_bom_top_line(window));
      std::printf("structure:\n");
      walk.print(root, 1, 1);
    }
    table->KESTREL_close_bom_window(window);
    std::printf("closed the BOM window\n");

    table->KESTREL_logout(true);
    std::printf("logged out\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
