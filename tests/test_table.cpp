// The table as the host receives it.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
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

// The slots built so far; add a slot here when its operation is built.
constexpr int kBuiltSlots[] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,
    23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,  45,
    46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,
    69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,
    92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114,
    115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135};
constexpr int kSlotCount = 136;

// Catches a slot given its type but left null in the table, and a slot
// filled before its operation is listed as built.
TEST(Table, ExactlyTheBuiltSlotsAreFilled) {
  using Slot = void (*)();
  static_assert(sizeof(KESTREL_interface_s) == kSlotCount * sizeof(Slot), "every slot is one function pointer");
  int version = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(KESTREL_init_module(&version));
  std::set<int> built(std::begin(kBuiltSlots), std::end(kBuiltSlots));
  for (int i = 0; i < kSlotCount; ++i) {
    Slot slot = nullptr;
    std::memcpy(&slot, bytes + i * sizeof(Slot), sizeof(Slot));
    if (built.count(i))
      EXPECT_NE(slot, nullptr) << "slot " << i << " is built but null";
    else
      EXPECT_EQ(slot, nullptr) << "slot " << i << " is filled but not listed as built";
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
