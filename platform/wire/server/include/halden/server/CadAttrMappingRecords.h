// Wire records of CAD data management's attribute-mapping operations.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct AttrMappingContextRecord {
  std::string text1, text2;
  bool flag = false;
};

// The description of a mapped value, as the server gives it with a definition.
struct AttrPropDescRecord {
  std::string text1, text2, text3;
  int value_type = 7;  // a ValueType code; codes above 8 occur
  int int1 = 0;
  bool flag = false;
  bool is_array = false;
  std::string lov_uid;  // "" for none
  bool flag_a = false, flag_b = false, flag_c = false;
  int int2 = 0, int3 = 0;
  std::vector<std::string> texts;
};

struct AttrMappingRecord {
  std::string definition_uid;  // "" for none
  AttrPropDescRecord description;
};

struct AttrMappingContextOutput {
  std::string text1, text2;
  std::vector<AttrMappingRecord> mappings;
};

struct AttrMappingDefinitionsReply {
  std::vector<AttrMappingContextOutput> outputs;
  WireServiceData data;
};

struct ResolveAttrMappingsRequest {
  std::string dataset_uid, item_revision_uid;
  std::vector<std::string> definition_uids;
};

struct ResolvedAttrRecord {
  std::string title;
  std::string source_uid;  // "" when the value has no source object
  std::string property_name;
};

struct ResolveAttrMappingsOutput {
  std::string dataset_uid;
  std::vector<ResolvedAttrRecord> resolved;
};

struct ResolveAttrMappingsReply {
  std::vector<ResolveAttrMappingsOutput> outputs;
  WireServiceData data;
};

}  // namespace Halden::Soa::Server
