// Base library: errors, the log and debug output.
#pragma once

#include <exception>
#include <string>

namespace Orvane::Error {

// The one error type of the base library; every raise throws it.
class Severe : public std::exception {
 public:
  Severe(int code, std::string message, std::string file, int line);

  int Code() const noexcept { return code_; }
  const std::string& Message() const noexcept { return message_; }
  const std::string& File() const noexcept { return file_; }
  int Line() const noexcept { return line_; }
  const char* what() const noexcept override { return message_.c_str(); }

  // Records where the error passed through, as the base library does when
  // it converts or forwards an error.
  void AddLocation(const char* file, int line);

  // Turns any standard exception into a base-library error.
  static Severe Convert(const std::exception& e);

 private:
  int code_;
  std::string message_;
  std::string file_;
  int line_;
};

}  // namespace Orvane::Error

// Raise an error; never returns.
[[noreturn]] void ERROR_raise(const char* file, int line, int code, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
// Raise an error as an exception of the base library; never returns.
[[noreturn]] void ERROR_exception(const char* file, int line, int code, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
// Reports a failed assertion of the caller (source file, line and the
// formatted text) to the log, and returns.
void ERROR_assertion_failed(const char* file, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Writes to the log; always.
void ERROR_lprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes a note to the log; always.
void ERROR_note(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The current time as the log shows it; the text stays valid until the next call.
const char* ERROR_timestamp();

// Debug flags and the checking level that gates debug output.
extern int MACH__checking_level;
bool RDEBUG_ask_flag(const char* name);
void RDEBUG_print_message(const char* format, ...) __attribute__((format(printf, 1, 2)));
