#include "support/raises.h"

#include <sstream>

#include "corerun/testing.h"

namespace kestrel::test {

std::string log_text() { return corerun::testing::log(); }

std::vector<std::string> log_lines() {
  std::vector<std::string> lines;
  std::istringstream in(corerun::testing::log());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void clear_log() { corerun::testing::clear_log(); }

}  // namespace kestrel::test
