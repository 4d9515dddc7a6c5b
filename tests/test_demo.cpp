// The demo walks the main road through the table: its output is what a
// newcomer sees, so it is held here line by line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

struct DemoRun {
  int status = -1;
  std::vector<std::string> lines;
};

DemoRun run_demo() {
  DemoRun run;
  const std::string command = std::string("'") + KESTREL_DEMO_PATH + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    run.lines.push_back(text);
  }
  run.status = pclose(pipe);
  return run;
}

TEST(Demo, WalksTheStructureOfTheNewestRevisionUnderTheCurrentRule) {
  const DemoRun run = run_demo();
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(
      run.lines,
      ElementsAre("loaded libkestrel, interface version 2000", "logged in as engineer (Engineering / Designer)",
                  "the server offers 5 services:", "  Core-2006-03-DataManagement", "  Core-2006-03-Session",
                  "  Internal-Core-2007-05-Session", "  Core-2007-06-PropDescriptor.getAttachedPropDescs",
                  "  Query-2007-09-SavedQuery.executeSavedQueries", "preference HX_config_rule_name = Latest Working",
                  "found item K-1000, newest revision B (rev-K-1000-B)", "revision rule: Latest Working",
                  "structure:",                                    //
                  "  K-1000/B  Utility cart",                      //
                  "    K-1100/A  Chassis",                         //
                  "      K-1110/C  Frame weldment",                //
                  "      K-1120/A  Caster bracket   qty 4",        //
                  "    K-1200/B  Wheel assembly   2 occurrences",  //
                  "      K-1210/A  Wheel rim",                     //
                  "      K-1220/A  Tyre 250x50",                   //
                  "      K-1230/B  Axle",                          //
                  "      K-9002/A  Lock nut M8",                   //
                  "    K-1300/A  Push handle",                     //
                  "    K-9001/A  Hex bolt M8x20   qty 12",         //
                  "    K-9002/A  Lock nut M8      qty 12",         //
                  "closed the BOM window", "logged out"));
}

}  // namespace
