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

// One saved search criteria record; the library copies its fields as they are.
struct SearchCriteria {
  std::string text1;
  std::string text2;
  std::vector<std::string> list1;
  std::vector<std::string> list2;
};

// The UIDs found by each query of a batch run, in CppMemory memory as the
// host's lists of UString are.
using KESTREL_uid_list = std::vector<UString, Orvane::Memory::CppMemoryAllocator<UString>>;
using KESTREL_uid_lists = std::vector<KESTREL_uid_list, Orvane::Memory::CppMemoryAllocator<KESTREL_uid_list>>;

// What a delete answers: the UIDs the server deleted, in reply order, and
// one record per error value of the reply.
struct DeleteResult {
  std::vector<std::string> deleted_uids;
  std::vector<PartialErrorInfo> errors;
};

// The related objects of one group, created with new; the host deletes it.
struct RelatedGroup {
  std::string name;
  std::vector<Orvane::PdmSoa::ModelObject*> objects;
};

// One object and its groups of related objects.
struct RelatedObjects {
  Orvane::PdmSoa::ModelObject* object;
  std::vector<RelatedGroup*> groups;
};

// A named reference of a dataset, copied from the server unchanged: the
// reference name, whether it names a file, the file name and the referenced
// object's UID.
struct DatasetReference {
  std::string text1;
  bool flag;
  std::string text2;
  std::string text3;
};

// The references of one dataset; an empty uid when the server named no dataset.
struct DatasetReferences {
  std::string uid;
  std::vector<DatasetReference> references;
};

// The description entries asked of one server type.
struct TypeDescriptionRequest {
  std::string type_name;
  std::vector<std::string> names;
};

struct TypeDescriptionEntry {
  std::string name;
  std::vector<std::string> values;
};
