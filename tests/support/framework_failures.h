// The framework's three exceptions as every converting operation turns them
// into errors, and one suite that each area instantiates with its
// operations.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/session_fixture.h"

namespace kestrel::test {

struct FrameworkFailure {
  const char* name;
  std::function<void()> raise;  // throws the framework's exception
  int code;                     // of the error the library raises for it
  const char* text;
};
void PrintTo(const FrameworkFailure& f, std::ostream* os);

// Runtime (940222), not loaded (940223) and any other framework exception
// (940222), with the texts the conversion gives them.
const std::vector<FrameworkFailure>& framework_failures();

// One operation of an area whose request converts the framework's
// exceptions: how its request is made to fail, how the host calls it, and
// what must hold once it raised.
template <class Area>
struct ConvertingOperation {
  using MakeFail = std::function<void(Area&, const std::function<void()>& fail)>;
  using Step = std::function<void(Area&)>;
  ConvertingOperation(const char* name, MakeFail make_fail, Step call, Step after = Step())
      : name(name), make_fail(std::move(make_fail)), call(std::move(call)), after(std::move(after)) {}

  const char* name;
  MakeFail make_fail;
  Step call;
  Step after;
};

template <class Area>
void PrintTo(const ConvertingOperation<Area>& operation, std::ostream* os) {
  *os << operation.name;
}

// Base of an area's suite: `class BomConversion : public ConversionTest<BomConversion, BomTest>`
// with `static constexpr const char* kFile` (the source file the errors
// name) and `static std::vector<ConvertingOperation<BomConversion>> Operations()`;
// then KESTREL_CONVERSION_SUITE(BomConversion). Operations() is a member, so
// its lambdas reach the fixture's mocks.
template <class Area, class Fixture>
class ConversionTest : public Fixture,
                       public ::testing::WithParamInterface<std::tuple<ConvertingOperation<Area>, FrameworkFailure>> {
 public:
  using Operation = ConvertingOperation<Area>;

  static std::string Name(const ::testing::TestParamInfo<std::tuple<Operation, FrameworkFailure>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
  }

 protected:
  void Check() {
    // Named, not bound: a lambda may not capture a structured binding before C++20.
    const Operation& operation = std::get<0>(this->GetParam());
    const FrameworkFailure& failure = std::get<1>(this->GetParam());
    Area& area = static_cast<Area&>(*this);
    operation.make_fail(area, failure.raise);
    EXPECT_THAT([&] { operation.call(area); }, RaisesFrom(failure.code, failure.text, Area::kFile));
    if (operation.after) operation.after(area);
  }
};

}  // namespace kestrel::test

#define KESTREL_CONVERSION_SUITE(Area)                                                                     \
  TEST_P(Area, FrameworkExceptionsBecomeErrors) { Check(); }                                               \
  INSTANTIATE_TEST_SUITE_P(Operations, Area,                                                               \
                           ::testing::Combine(::testing::ValuesIn(Area::Operations()),                     \
                                              ::testing::ValuesIn(::kestrel::test::framework_failures())), \
                           Area::Name)
