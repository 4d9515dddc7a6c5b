// Records that appear in the signatures of the interface table.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

// A class search: both codes are sent as given when they lie in 1 to 8, as 0
// otherwise.
struct ClassQuery {
  std::int32_t code1;
  std::string text;
  std::int32_t code2;
};

// A search for classification objects.
struct ClassificationObjectQuery {
  struct AttributeText {
    std::int32_t attribute_id;
    std::string text;
  };
  std::vector<std::string> texts;
  std::vector<AttributeText> attributes;
  std::int32_t value;
};

struct ClassificationValueTable {
  std::string text;
  std::int32_t value;
  std::map<std::string, std::string> entries;
};

// One trace link of a report; an end the report does not reach stays null.
struct TraceLinkEntry {
  Orvane::PdmSoa::ModelObject* reserved = nullptr;  // never filled by the library
  Orvane::PdmSoa::ModelObject* link = nullptr;
  Orvane::PdmSoa::ModelObject* defining = nullptr;
  Orvane::PdmSoa::ModelObject* complying = nullptr;
};

// What a full-text export gave: the server's texts and the documents'
// extension ("docx", "docm", or empty when nothing was exported).
struct FullTextExport {
  std::vector<std::string> texts;
  std::string extension;
};
