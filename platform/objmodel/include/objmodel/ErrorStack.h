#pragma once

#include <vector>

#include "corerun/ustring.h"

namespace Orvane::PdmSoa {

class ModelObject;

struct ErrorValue {
  ErrorValue(int code, UString message, int level) : code(code), message(std::move(message)), level(level) {}
  int code;
  UString message;
  int level;
};

class ErrorStack {
 public:
  void SetAssociatedObject(ModelObject* object) { associated_ = object; }
  ModelObject* GetAssociatedObject() const { return associated_; }
  void AddErrorValue(const ErrorValue& value) { values_.push_back(value); }
  const std::vector<ErrorValue>& GetErrorValues() const { return values_; }

 private:
  ModelObject* associated_ = nullptr;
  std::vector<ErrorValue> values_;
};

}  // namespace Orvane::PdmSoa
