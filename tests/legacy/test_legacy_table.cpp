// The legacy library as its older host loads it: the table, its one export
// and the libraries it needs.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "legacy_fixture.h"

namespace kestrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

static_assert(std::is_same_v<decltype(&KESTREL_init_module), KESTREL_interface_s* (*)(int*)>);

std::vector<std::string> command_lines(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<std::string> lines;
  if (!pipe) return lines;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    lines.push_back(text);
  }
  return lines;
}

TEST_F(LegacyTest, InitStoresTheVersionAndSlot0AnswersTheCreatedConnection) {
  int version = 0;
  EXPECT_EQ(KESTREL_init_module(&version), table);
  EXPECT_EQ(version, 2000);
  EXPECT_EQ(table->KESTREL_ask_connection(), nullptr);
  Connect();
  EXPECT_NE(table->KESTREL_ask_connection(), nullptr);
}

TEST(LegacyTable, SlotsSitAtTheirFixedOffsets) {
  constexpr std::size_t p = sizeof(void (*)());
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_logout), 2 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_create_bom_window), 11 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_ask_preference_values), 29 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_get_object_property_string_by_uid), 31 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_get_related_objects_cad), 45 * p);
  EXPECT_EQ(offsetof(KESTREL_interface_s, KESTREL_get_gateway_ior), 47 * p);
}

constexpr int kSlotCount = 48;

TEST(LegacyTable, EverySlotIsFilled) {
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

TEST(LegacyTable, LibraryExportsOnlyItsEntryPoint) {
  std::vector<std::string> names;
  for (const auto& line : command_lines(std::string("nm -D --defined-only '") + KESTREL_LEGACY_LIBRARY_PATH + "'")) {
    const auto blank = line.rfind(' ');
    names.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
  }
  EXPECT_THAT(names, ElementsAre("KESTREL_init_module"));
}

// The C and C++ runtimes, and a sanitizer's, come with the toolchain.
bool is_toolchain_runtime(const std::string& name) {
  for (const char* prefix : {"libc.so", "libm.so", "libstdc++.so", "libgcc_s.so", "libasan.so", "libubsan.so",
                             "libpthread.so", "libdl.so", "ld-linux"})
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

// Exactly the older host's libraries: no object model of the 64-bit host,
// no preference-management service, never the 64-bit library, and nothing
// the older host's build does not ship.
TEST(LegacyTable, LibraryNeedsExactlyTheOlderHostsLibraries) {
  std::vector<std::string> needed;
  for (const auto& line : command_lines(std::string("objdump -p '") + KESTREL_LEGACY_LIBRARY_PATH + "'")) {
    const auto at = line.find("NEEDED");
    if (at == std::string::npos) continue;
    const std::string name = line.substr(line.find_first_not_of(' ', at + 6));
    if (!is_toolchain_runtime(name)) needed.push_back(name);
  }
  EXPECT_THAT(needed, UnorderedElementsAre("libcorerun.so", "libcadlink.so", "libsrvtools.so", "libwireclient.so",
                                           "libwirecommon.so", "libwirecore.so", "libwirecad.so", "libwirequery.so",
                                           "libwireclassify.so"));
}

// ELF32 in a 32-bit build, ELF64 in a 64-bit one.
TEST(LegacyTable, LibraryIsBuiltForThisWordSize) {
  std::ifstream file(KESTREL_LEGACY_LIBRARY_PATH, std::ios::binary);
  char ident[5] = {};
  ASSERT_TRUE(file.read(ident, sizeof ident));
  EXPECT_EQ(std::string(ident, 4),
            "\x7f"
            "ELF");
  EXPECT_EQ(ident[4], sizeof(void*) == 4 ? 1 : 2);
}

}  // namespace
}  // namespace kestrel::test
