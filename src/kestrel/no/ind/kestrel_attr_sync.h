// CAD attribute mapping: the definitions of CAD contexts, the resolution of
// mapped values with its process-wide caches, and the write-back of changed
// values.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Property.h"
#include "kestrel/kestrel_attr_types.h"
#include "objmodel/AttrMapping.h"

// The definitions of each context, one record per reply output; null for no
// contexts. A null context raises 940208 before the request.
std::vector<AttrMappingDefinitions*>* KESTREL_get_attr_mapping_definitions(
    const std::vector<AttrMappingContext*>& contexts);
// One result per part, in input order; null for no parts or a rejected part
// (dataset tag 0, null definition). The records are the cache's: the same
// part and definition answer the same record until it is cleared. A record
// replaced by a fresh resolution, or forgotten by slot 127, is retired, not
// freed, since the host may still read it: the retired list grows with every
// such record until slot 126 releases it.
std::vector<AttrMappingPartResult*>* KESTREL_resolve_attr_mappings(const std::vector<AttrMappingPart*>& parts);
// Writes the parts' new values in one request, then refreshes the source
// objects of the cached records written and reads those records again in
// place (all of them, or none when a value fails to convert). Parts without
// definitions are skipped. A null part, values array, value or definition
// raises 940208, and a UID naming no host object of its class (or one
// without its server object) 940205, before any request.
void KESTREL_update_attr_values(const std::vector<AttrValueUpdate*>& parts);
// Releases every record slot 124 ever returned and empties both caches.
void KESTREL_clear_attr_mapping_cache();
// Forgets the parts' records, so the next resolve asks again; the records
// are retired and stay valid until slot 126.
void KESTREL_clear_attr_mapping_cache_for_parts(const std::vector<AttrMappingPart*>& parts);

namespace kestrel {

// A converted property value; owns what it holds until moved into a record.
class AttrValue {
 public:
  AttrValue() = default;
  ~AttrValue();
  AttrValue(const AttrValue&) = delete;
  AttrValue& operator=(const AttrValue&) = delete;

  // Replaces the record's type, text, value, count and list, releasing the
  // old ones; this value is empty afterwards.
  void move_into(ResolvedAttr& record) noexcept;
  int value_type() const { return type_; }

 private:
  friend void get_property_value_type_and_value(const Halden::Soa::Client::Property* property, AttrValue& out);
  void clear() noexcept;
  int type_ = 6;
  char* text_ = nullptr;
  void* value_ = nullptr;
  int count_ = 0;
  char** list_ = nullptr;
};

// The value of a property by its server value type; a null property (sent as
// null) has none (type 6).
void get_property_value_type_and_value(const Halden::Soa::Client::Property* property, AttrValue& out);

// Whether the CAD host may write the attribute back.
bool check_attr_modifiable(const Orvane::PdmSoa::CadAttrMappingDefinition* definition,
                           Halden::Soa::Client::ModelObject* dataset, Halden::Soa::Client::ModelObject* item_revision,
                           bool write_access, Halden::Soa::Client::ModelObject* source,
                           const Halden::Soa::Client::Property* property);

}  // namespace kestrel
