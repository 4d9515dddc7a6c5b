// Client framework exceptions. RuntimeException, NotLoadedException and the
// schema SoaException are unrelated types; the handler's exceptions form a
// family of their own.
#pragma once

#include <exception>
#include <string>

namespace Halden::Soa::Client {

class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message, int type = 0) : message_(std::move(message)), type_(type) {}
  const std::string& getMessage() const noexcept { return message_; }
  int getType() const noexcept { return type_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  int type_;
};

class NotLoadedException : public std::exception {
 public:
  explicit NotLoadedException(std::string message) : message_(std::move(message)) {}
  const std::string& getMessage() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

class CanceledOperationException : public std::exception {
 public:
  explicit CanceledOperationException(std::string message) : message_(std::move(message)) {}
  const std::string& getMessage() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A request failed inside the framework or on the server.
class InternalServerException : public std::exception {
 public:
  explicit InternalServerException(std::string message) : message_(std::move(message)) {}
  const std::string& getMessage() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // Throws a copy of the exception as its own type.
  [[noreturn]] virtual void rethrow() const { throw *this; }

 private:
  std::string message_;
};

// The server could not be reached.
class ConnectionException : public InternalServerException {
 public:
  using InternalServerException::InternalServerException;
  [[noreturn]] void rethrow() const override { throw *this; }
};

// The server's answer made no sense to the framework.
class ProtocolException : public InternalServerException {
 public:
  using InternalServerException::InternalServerException;
  [[noreturn]] void rethrow() const override { throw *this; }
};

}  // namespace Halden::Soa::Client
