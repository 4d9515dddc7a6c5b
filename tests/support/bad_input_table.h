// What the bad-input tables of both builds share: the odd texts, the state
// a case starts from, the case record, and the run that tries every case and
// counts those that ended in something foreign.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "corerun/error.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"

namespace kestrel::test::bad_inputs {

inline const std::string kHuge(1 << 20, 'x');   // a 1 MB text
inline const std::string kFormat = "%s%n%s%n";  // would write through a pointer if used as a format

// The state a case starts from.
enum class Start { kNoSession, kConnected, kLoggedIn };

inline const char* StartName(Start start) {
  switch (start) {
    case Start::kNoSession:
      return "no session";
    case Start::kConnected:
      return "connected";
    default:
      return "logged in";
  }
}

// What must come of a case: 0 the entry returns; a code, it raises that code
// (a base-library error); kAnyError, it raises some base-library error.
constexpr int kReturns = 0;
constexpr int kAnyError = -1;
// A framework exception reaches the host unchanged, as the entry documents
// for its requests without catch clauses.
constexpr int kFrameworkException = -2;

template <class Fixture>
struct Case {
  const char* name;
  Start start;
  int outcome;
  std::function<void(Fixture&)> call;
  const char* file = nullptr;  // when set, the source file the raised error reports
};

// Tries the cases, each from its start (fixture.Enter(start)): those without
// a session first, before anything connected; then the rest; then, when
// again_after_logout, those without a session again. Prints
// "<label>: N tried, M crashed" and answers M.
template <class Fixture>
int Run(Fixture& fixture, const std::vector<Case<Fixture>>& cases, const char* label, bool again_after_logout) {
  std::vector<const Case<Fixture>*> order;
  for (const auto& c : cases)
    if (c.start == Start::kNoSession) order.push_back(&c);
  for (const auto& c : cases)
    if (c.start != Start::kNoSession) order.push_back(&c);
  if (again_after_logout)
    for (const auto& c : cases)
      if (c.start == Start::kNoSession) order.push_back(&c);

  int tried = 0, crashed = 0;
  for (const auto* c : order) {
    SCOPED_TRACE(std::string(c->name) + " (" + StartName(c->start) + ")");
    fixture.Enter(c->start);
    ++tried;
    int raised = kReturns;
    std::string message;
    std::string file;
    try {
      c->call(fixture);
    } catch (const Orvane::Error::Severe& e) {
      raised = e.Code();
      message = e.Message().substr(0, 200);
      file = e.File();
    } catch (const Halden::Soa::Client::RuntimeException& e) {
      raised = kFrameworkException;
      message = e.what();
    } catch (const Halden::Soa::Client::NotLoadedException& e) {
      raised = kFrameworkException;
      message = e.what();
    } catch (const Halden::Soa::Common::Exceptions::SoaException& e) {
      raised = kFrameworkException;
      message = e.what();
    } catch (const std::exception& e) {
      ++crashed;
      ADD_FAILURE() << "foreign exception: " << e.what();
      continue;
    } catch (...) {
      ++crashed;
      ADD_FAILURE() << "foreign throw";
      continue;
    }
    if (raised == kFrameworkException && c->outcome != kFrameworkException)
      ADD_FAILURE() << "framework exception reached the host: " << message;
    else if (c->outcome == kAnyError)
      EXPECT_NE(raised, kReturns) << "returned";
    else
      EXPECT_EQ(raised, c->outcome) << message;
    if (c->file) {
      EXPECT_EQ(file, c->file) << message;
    }
  }
  std::printf("%s: %d tried, %d crashed\n", label, tried, crashed);
  return crashed;
}

}  // namespace kestrel::test::bad_inputs
