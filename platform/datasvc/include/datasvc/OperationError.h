// The data-management layer's record of what went wrong in an operation.
#pragma once

#include <string>
#include <vector>

namespace Orvane::DataManagement {

class OperationError {
 public:
  struct Entry {
    int code;
    std::string message;
  };

  void Add(int code, std::string message);
  bool IsEmpty() const { return entries_.empty(); }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

}  // namespace Orvane::DataManagement
