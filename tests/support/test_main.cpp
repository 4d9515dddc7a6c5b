// The main of every test binary. The library keeps process-wide state by
// design, so each test needs a process of its own: ctest gives it one; a
// binary run by hand or by an IDE with several tests stops at once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

class OneTestPerProcess : public ::testing::EmptyTestEventListener {
 public:
  void OnTestIterationStart(const ::testing::UnitTest& unit_test, int) override {
    if (unit_test.test_to_run_count() <= 1) return;
    std::fprintf(stderr,
                 "%d tests selected, but each test needs a process of its own (the library keeps process-wide "
                 "state). Run them through ctest, or one at a time with --gtest_filter=Suite.Name.\n",
                 unit_test.test_to_run_count());
    std::fflush(stderr);
    std::_Exit(1);
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new OneTestPerProcess);
  return RUN_ALL_TESTS();
}
