// Framework schema exceptions.
#pragma once

#include <exception>
#include <string>

namespace Halden::Soa::Common::Exceptions {

// Unrelated to the client's RuntimeException and NotLoadedException.
class SoaException : public std::exception {
 public:
  explicit SoaException(std::string message, std::string detail = "")
      : message_(std::move(message)), detail_(std::move(detail)) {}
  const std::string& getMessage() const noexcept { return message_; }
  // A further text of the framework's, told before the message; often empty.
  const std::string& getDetail() const noexcept { return detail_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  std::string detail_;
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
