// Records of CAD attribute mapping in the signatures of the interface table
// (slots 123 to 127).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Halden::Soa::Client {
class ModelObject;
}
namespace Orvane::PdmSoa {
class CadAttrMappingDefinition;
class ListOfValues;
}  // namespace Orvane::PdmSoa

// A CAD context whose definitions slot 123 fetches; a null text is sent empty.
struct AttrMappingContext {
  const char* first;
  const char* second;
};

// The definitions of one context, in the server's order. Owned by the host,
// as are the definitions.
struct AttrMappingDefinitions {
  std::string first;
  std::string second;
  std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*> definitions;
};

// A CAD part to resolve (slots 124, 127): host tags of its dataset and item
// revision. A revision tag of 0 is filled in by slot 124 from the dataset.
// A null definitions list counts as empty.
struct AttrMappingPart {
  std::uint32_t dataset_tag;
  std::uint32_t item_revision_tag;
  std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*>* definitions;
};

// One mapped attribute's value and write flags. Owned by the library: valid
// until slot 126; the host never frees it. Texts and values come from the
// base library's persistent allocator.
struct ResolvedAttr {
  Orvane::PdmSoa::CadAttrMappingDefinition* definition;
  std::string title;
  std::int32_t value_type;  // 0 integer, 1 floating point, 2 text, 3 date, 5 logical, 6 none, 7 other,
                            // 8 list of texts, 9 reference
  char* text;               // the value as text, or null
  void* value;  // int32, double, text, date_s, one byte 0/1, or the server object (not owned) by type; or null
  std::string display_text;  // a reference value's source object name
  std::int32_t count;        // entries of list
  char** list;
  Halden::Soa::Client::ModelObject* source_object;  // holds the property; null for none
  std::string property_name;
  bool frozen;
  bool modifiable;
  bool master;
  bool ostra_master;
  // Not owned, or null: the host's object of the session in which the record
  // was last handed out; each resolve that returns the record names the
  // current session's.
  Orvane::PdmSoa::ListOfValues* list_of_values;
};

// One resolved part; owned by the host, its attributes by the library.
struct AttrMappingPartResult {
  std::uint32_t dataset_tag;
  std::uint32_t item_revision_tag;
  std::vector<ResolvedAttr*> attributes;  // in the order of the part's definitions
};

// New values of a part's mapped attributes (slot 125). values[i] is the new
// value of definition i and must be non-null; the array must hold at least
// as many entries as there are definitions (it cannot be checked).
struct AttrValueUpdate {
  std::string item_uid;
  std::string item_revision_uid;
  std::string dataset_uid;
  std::string dataset_text;                                             // passed to the dataset input unchanged
  std::vector<Orvane::PdmSoa::CadAttrMappingDefinition*>* definitions;  // may be null
  const char** values;
};
