// Records that appear in the signatures of the interface table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corerun/ustring.h"

// The stored login identity.
struct UserGroupRole {
  std::string user;
  std::string group;
  std::string role;
};

// One error value of a reply, in stack order then value order.
struct PartialErrorInfo {
  std::int32_t code;
  std::string message;
};

struct NameValues {
  std::string name;
  std::vector<std::string> values;
};

// An item id and the revision ids asked of it (none: the newest revision).
struct ItemIdEntry {
  UString item_id;
  std::vector<UString> revision_ids;
};
