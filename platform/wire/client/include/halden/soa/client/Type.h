#pragma once

#include <string>

namespace Halden::Soa::Client {

class Type {
 public:
  Type(std::string name, const Type* parent) : name_(std::move(name)), parent_(parent) {}
  const std::string& getName() const { return name_; }
  const Type* getParent() const { return parent_; }
  // True for this type or any of its parents.
  bool isInstanceOf(const std::string& name) const;

 private:
  std::string name_;
  const Type* parent_;
};

}  // namespace Halden::Soa::Client
