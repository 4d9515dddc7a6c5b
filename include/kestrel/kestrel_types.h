// Records that appear in the signatures of the interface table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corerun/memory.h"
#include "corerun/ustring.h"

namespace Orvane::PdmSoa {
class ModelObject;
}

// Host objects in a list of the host allocator, where the host frees the
// list's memory itself (the project entries); other slots use plain vectors.
using KESTREL_host_object_list = std::vector<Orvane::PdmSoa::ModelObject*, SMAlloc<Orvane::PdmSoa::ModelObject*>>;

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

// One entry of the server's project list or one member of a project team;
// the texts and the flag are the server's.
struct ProjectEntryRecord {
  std::string text1;
  std::string text2;
  bool flag;
};

// A project team and its members; the host owns the record, its member list
// and the members.
struct ProjectTeamRecord {
  std::string name;
  std::vector<ProjectEntryRecord*>* members;
};
