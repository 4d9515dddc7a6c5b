#include "corerun/error.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "corerun/testing.h"

namespace {

std::string& log_text() {
  static std::string text;
  return text;
}
std::FILE*& echo_stream() {
  static std::FILE* stream = nullptr;
  return stream;
}
bool& log_enabled() {
  static bool enabled = true;
  return enabled;
}
std::string& fixed_timestamp() {
  static std::string text;
  return text;
}
std::set<std::string>& debug_flags() {
  static std::set<std::string> flags;
  return flags;
}

// Its callers' formats are checked where they are called.
__attribute__((format(printf, 1, 0))) std::string vformat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

void write_log(const std::string& text) {
  if (!log_enabled()) return;
  log_text() += text;
  if (echo_stream()) std::fputs(text.c_str(), echo_stream());
}

}  // namespace

namespace Orvane::Error {

Severe::Severe(int code, std::string message, std::string file, int line)
    : code_(code), message_(std::move(message)), file_(std::move(file)), line_(line) {}

void Severe::AddLocation(const char* file, int line) {
  file_ = file;
  line_ = line;
}

Severe Severe::Convert(const std::exception& e) {
  if (auto* severe = dynamic_cast<const Severe*>(&e)) return *severe;
  return Severe(0, e.what(), "", 0);
}

}  // namespace Orvane::Error

int MACH__checking_level = 0;

void ERROR_raise(const char* file, int line, int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string message = vformat(format, args);
  va_end(args);
  throw Orvane::Error::Severe(code, std::move(message), file ? file : "", line);
}

void ERROR_exception(const char* file, int line, int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string message = vformat(format, args);
  va_end(args);
  throw Orvane::Error::Severe(code, std::move(message), file ? file : "", line);
}

void ERROR_assertion_failed(const char* file, int line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  write_log("Assertion failed at " + std::string(file ? file : "") + ":" + std::to_string(line) + ": " + text + "\n");
}

void ERROR_lprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  write_log(vformat(format, args));
  va_end(args);
}

void ERROR_note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string note = vformat(format, args);
  va_end(args);
  // A note is a line of its own.
  if (note.empty() || note.back() != '\n') note += '\n';
  write_log(note);
}

const char* ERROR_timestamp() {
  static std::string text;
  if (!fixed_timestamp().empty()) {
    text = fixed_timestamp();
  } else {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%d-%b-%Y %H:%M:%S", &parts);
    text = buffer;
  }
  return text.c_str();
}

bool RDEBUG_ask_flag(const char* name) { return name && debug_flags().count(name) != 0; }

void RDEBUG_print_message(const char* format, ...) {
  va_list args;
  va_start(args, format);
  write_log(vformat(format, args));
  va_end(args);
}

namespace corerun::testing {

const std::string& log() { return log_text(); }
void clear_log() { log_text().clear(); }
void echo_log(std::FILE* stream) { echo_stream() = stream; }
void set_log_enabled(bool enabled) { log_enabled() = enabled; }

void set_debug_flag(const std::string& name, bool on) {
  if (on) {
    debug_flags().insert(name);
  } else {
    debug_flags().erase(name);
  }
}
void clear_debug_flags() { debug_flags().clear(); }
void set_timestamp(const std::string& text) { fixed_timestamp() = text; }

void reset() {
  clear_log();
  clear_debug_flags();
  clear_sleeps();
  clear_clock();
  set_next_unique_filename("");
  MACH__checking_level = 0;
}

}  // namespace corerun::testing
