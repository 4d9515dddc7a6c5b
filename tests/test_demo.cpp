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

// The demo's lines; args and where its log (stderr) goes are the shell's.
DemoRun run_demo(const std::string& args = "", const std::string& log = "2>/dev/null") {
  DemoRun run;
  const std::string command = std::string("'") + KESTREL_DEMO_PATH + "' " + args + " " + log;
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

// Through one pipe the library's log lines come where they were written, and
// the main road forces no property load.
TEST(Demo, LogAndOutputKeepTheirOrderInOnePipe) {
  const DemoRun run = run_demo("", "2>&1");
  EXPECT_EQ(run.status, 0);
  std::size_t created = run.lines.size(), logged_in = 0;
  for (std::size_t i = 0; i < run.lines.size(); ++i) {
    if (run.lines[i].rfind("SOA connection created for user=engineer", 0) == 0) created = i;
    if (run.lines[i].rfind("logged in as", 0) == 0) logged_in = i;
    EXPECT_EQ(run.lines[i].find("force-load"), std::string::npos) << run.lines[i];
  }
  EXPECT_LT(created, logged_in);
}

TEST(Demo, HelpGivesTheUsageLine) {
  const DemoRun run = run_demo("--help");
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_EQ(run.lines[0].rfind("usage: kestrel-demo [path to libkestrel.so]", 0), 0u) << run.lines[0];
}

}  // namespace
