// Framework schema exceptions.
#pragma once

#include <exception>
#include <string>

namespace Halden::Soa::Common::Exceptions {

// Unrelated to the client's RuntimeException and NotLoadedException.
class SoaException : public std::exception {
 public:
  explicit SoaException(std::string message) : message_(std::move(message)) {}
  const std::string& getMessage() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

class InvalidUserException : public SoaException {
 public:
  using SoaException::SoaException;
};

class InvalidCredentialsException : public SoaException {
 public:
  using SoaException::SoaException;
};

}  // namespace Halden::Soa::Common::Exceptions
