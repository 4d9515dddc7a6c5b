// The table as the host receives it.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>

#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using ::testing::ElementsAre;

// The host's signature: a non-const table.
static_assert(std::is_same_v<decltype(&KESTREL_init_module), KESTREL_interface_s* (*)(int*)>);

TEST(Table, InitStoresVersionAndReturnsTheSameTableEveryTime) {
  int first = 0, second = 0;
  const KESTREL_interface_s* a = KESTREL_init_module(&first);
  const KESTREL_interface_s* b = KESTREL_init_module(&second);
  EXPECT_EQ(a, b);
  EXPECT_EQ(first, 2000);
  EXPECT_EQ(second, KESTREL_INTERFACE_VERSION);
}

TEST(Table, SlotsSitAtTheirFixedOffsets) {
  constexpr std::size_t p = sizeof(void (*)());
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_connection), 0 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_create_connection), 1 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_preference_values), 52 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_connection_option), 87 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_configured_revision), 90 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_config_rule_has_precise), 134 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_home_folder), 135 * p);
}

TEST(Table, ConfiguredRevisionSlotsHoldTheSameEntry) {
  int version = 0;
  const KESTREL_interface_s* t = KESTREL_init_module(&version);
  EXPECT_EQ(reinterpret_cast<const void*>(t->KESTREL_ask_configured_revision),
            reinterpret_cast<const void*>(t->KESTREL_ask_configured_revision_2));
}

constexpr int kSlotCount = 136;

// Catches a slot given its type but left null in the table.
TEST(Table, EverySlotIsFilled) {
  using Slot = void (*)();
  static_assert(sizeof(KESTREL_interface_s) == kSlotCount * sizeof(Slot), "every slot is one function pointer");
  int version = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(KESTREL_init_module(&version));
  for (int i = 0; i < kSlotCount; ++i) {
    Slot slot = nullptr;
    std::memcpy(&slot, bytes + i * sizeof(Slot), sizeof(Slot));
    EXPECT_NE(slot, nullptr) << "slot " << i << " is null";
  }
}

// The library's only dynamic symbol is its entry point.
TEST(Table, LibraryExportsOnlyItsEntryPoint) {
  const std::string command = std::string("nm -D --defined-only '") + KESTREL_LIBRARY_PATH + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::vector<std::string> names;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    auto blank = text.find_last_of(' ');
    names.push_back(blank == std::string::npos ? text : text.substr(blank + 1));
  }
  EXPECT_THAT(names, ElementsAre("KESTREL_init_module"));
}

class TableThroughSession : public SessionTest {};

// What an operation raises reaches the host through its slot unchanged.
TEST_F(TableThroughSession, RaisedErrorPassesThroughTheSlot) {
  EXPECT_THAT([&] { table->KESTREL_login("engineer", "secret", true); },
              Raises(940209, "SOA: No connection object - SOA unavailable or not initialized"));
}

}  // namespace
}  // namespace kestrel::test
