// What both builds' suites share: the log the base library writes, and the
// matchers for a raised error of the base library.
#pragma once

#include <gmock/gmock.h>

#include <exception>
#include <string>
#include <vector>

#include "corerun/error.h"

namespace kestrel::test {

// Everything logged since the last clear.
std::string log_text();
std::vector<std::string> log_lines();
void clear_log();

// Matches a callable that raises the base library's error with this code and
// a message matching text (a string or a matcher).
MATCHER_P2(Raises, code, text, "") {
  try {
    arg();
  } catch (const Orvane::Error::Severe& e) {
    *result_listener << "raised " << e.Code() << " \"" << e.Message() << "\"";
    return e.Code() == code && ::testing::Value(e.Message(), text);
  } catch (const std::exception& e) {
    *result_listener << "threw " << e.what();
    return false;
  } catch (...) {
    *result_listener << "threw something foreign";
    return false;
  }
  *result_listener << "raised nothing";
  return false;
}

// Raises, and the error reports this source file (its name without
// directories).
MATCHER_P3(RaisesFrom, code, text, file, "") {
  try {
    arg();
  } catch (const Orvane::Error::Severe& e) {
    *result_listener << "raised " << e.Code() << " \"" << e.Message() << "\" from " << e.File();
    return e.Code() == code && ::testing::Value(e.Message(), text) && e.File() == std::string(file);
  } catch (const std::exception& e) {
    *result_listener << "threw " << e.what();
    return false;
  } catch (...) {
    *result_listener << "threw something foreign";
    return false;
  }
  *result_listener << "raised nothing";
  return false;
}

}  // namespace kestrel::test
