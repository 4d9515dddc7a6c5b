#pragma once

#include <string>
#include <vector>

namespace Halden::Soa::Client {

class ModelObject;

class ErrorValue {
 public:
  ErrorValue(int code, int level, std::string message) : code_(code), level_(level), message_(std::move(message)) {}
  int getCode() const { return code_; }
  int getLevel() const { return level_; }
  const std::string& getMessage() const { return message_; }

 private:
  int code_;
  int level_;
  std::string message_;
};

class ErrorStack {
 public:
  ErrorStack(ModelObject* associated, int client_index, std::string client_id, std::vector<ErrorValue> values)
      : associated_(associated),
        client_index_(client_index),
        client_id_(std::move(client_id)),
        values_(std::move(values)) {}
  bool hasAssociatedObject() const { return associated_ != nullptr; }
  ModelObject* getAssociatedModelObject() const { return associated_; }
  int getClientIndex() const { return client_index_; }
  const std::string& getClientId() const { return client_id_; }
  const std::vector<ErrorValue>& getErrorValues() const { return values_; }

 private:
  ModelObject* associated_;
  int client_index_;
  std::string client_id_;
  std::vector<ErrorValue> values_;
};

}  // namespace Halden::Soa::Client
