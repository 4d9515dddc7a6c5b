// Base library: the host's string.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

class UString {
 public:
  UString() = default;
  UString(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit like the host's
  explicit UString(const std::string& text) : text_(text) {}
  explicit UString(std::string&& text) noexcept : text_(std::move(text)) {}

  const std::string& utf8() const noexcept { return text_; }
  const char* c_str() const noexcept { return text_.c_str(); }
  bool empty() const noexcept { return text_.empty(); }
  std::size_t length() const noexcept { return text_.size(); }

  friend bool operator==(const UString& a, const UString& b) { return a.text_ == b.text_; }
  friend bool operator!=(const UString& a, const UString& b) { return a.text_ != b.text_; }
  friend bool operator<(const UString& a, const UString& b) { return a.text_ < b.text_; }

 private:
  std::string text_;
};

template <>
struct std::hash<UString> {
  std::size_t operator()(const UString& s) const noexcept { return std::hash<std::string>()(s.utf8()); }
};

// Case-insensitive compare: <0, 0, >0.
int STR_compare_i(const char* a, const char* b);
