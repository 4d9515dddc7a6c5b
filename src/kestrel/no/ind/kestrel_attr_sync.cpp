#include "kestrel_attr_sync.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "cadlink/tovmgr.h"
#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "halden/services/cad/DatamanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/PropdescriptorService.h"
#include "halden/soa/client/model/CadAttrMapping.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "kestrel_call.h"
#include "kestrel_object.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "kestrel_utils.h"
#include "objmodel/ModelObject.h"
#include "objmodel/Query.h"
#include "objmodel/SoaManager.h"
#include "objmodel/pdiwrap.h"

using Halden::Services::Cad::DatamanagementService;
using Halden::Services::Core::PropdescriptorService;
using Halden::Soa::Client::Property;
using Halden::Soa::Common::ValueType;
using Orvane::PdmSoa::CadAttrMappingDefinition;
using Orvane::PdmSoa::DefaultPropDescriptor;
using Orvane::PdmSoa::ListOfValues;
using Orvane::PdmSoa::SoaManager;
using ServerObject = Halden::Soa::Client::ModelObject;
using ServerDefinition = Halden::Soa::Client::Model::CadAttrMappingDefinition;

namespace {

constexpr const char* kSiteFlagPreference = "OSTRA_TOV_allow_attrsync_master_with_item";
constexpr const char* kPropDescOperation = "Core-2007-06-PropDescriptor.getAttachedPropDescs";
constexpr int kWriteAccess = 2;

// ---------------------------------------------------------------------------
// Host value types

int host_value_type(int server_type, bool is_array) {
  switch (server_type) {
    case 0:
    case 7:
      return is_array ? 8 : 2;
    case 1:
      return 3;
    case 2:
    case 3:
      return 1;
    case 4:
    case 6:
      return 0;
    case 5:
      return 5;
    case 8:
      return 9;
    default:
      return 7;
  }
}

// ---------------------------------------------------------------------------
// The caches

// Definition, dataset tag and item revision tag: two tag pairs never meet.
using CacheKey = std::tuple<const CadAttrMappingDefinition*, tag_t, tag_t>;

struct CacheKeyHash {
  std::size_t operator()(const CacheKey& key) const noexcept {
    std::size_t h = std::hash<const void*>()(std::get<0>(key));
    h ^= std::hash<std::uint64_t>()((std::uint64_t(std::get<1>(key)) << 32) | std::get<2>(key)) +
         0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
  }
};

void release_owned(ResolvedAttr& record) noexcept {
  SM_free(record.text);
  if (record.value_type != 9) SM_free(record.value);
  for (int i = 0; i < record.count && record.list; ++i) SM_free(record.list[i]);
  SM_free(record.list);
  record.text = nullptr;
  record.value = nullptr;
  record.list = nullptr;
  record.count = 0;
}

struct ReleaseRecord {
  void operator()(ResolvedAttr* record) const noexcept {
    release_owned(*record);
    delete record;
  }
};
using RecordPtr = std::unique_ptr<ResolvedAttr, ReleaseRecord>;

RecordPtr new_record(CadAttrMappingDefinition* definition, std::string title) {
  return RecordPtr(new ResolvedAttr{definition,
                                    std::move(title),
                                    6,
                                    nullptr,
                                    nullptr,
                                    {},
                                    0,
                                    nullptr,
                                    nullptr,
                                    {},
                                    false,
                                    false,
                                    false,
                                    false,
                                    nullptr});
}

// Room for one more element, growing geometrically, so that a push_back
// after it cannot throw and lose what it was to hold.
template <class T>
void reserve_one_more(std::vector<T>& v) {
  if (v.size() == v.capacity()) v.reserve(v.empty() ? 16 : 2 * v.capacity());
}

// Records the host may still hold live here until slot 126: a record that a
// fresh resolution replaced, or that slot 127 removed, is retired, not freed.
// A record's host list of values dies with the session's registry, so the
// server object behind it is kept beside the record and wrapped anew each
// time the record is handed out.
struct ResolvedAttrCache {
  std::unordered_map<CacheKey, ResolvedAttr*, CacheKeyHash> records;
  std::vector<ResolvedAttr*> retired;
  std::unordered_map<const ResolvedAttr*, ServerObject*> lists_of_values;

  ResolvedAttrCache() = default;
  ResolvedAttrCache(const ResolvedAttrCache&) = delete;
  ResolvedAttrCache& operator=(const ResolvedAttrCache&) = delete;
  // The library is being unloaded: no host reads a record after that.
  ~ResolvedAttrCache() { release_all(); }

  ResolvedAttr* find(const CacheKey& key) const {
    auto it = records.find(key);
    return it == records.end() ? nullptr : it->second;
  }
  ResolvedAttr* put(const CacheKey& key, RecordPtr record) {
    reserve_one_more(retired);
    ResolvedAttr*& slot = records[key];
    if (slot && slot != record.get()) retired.push_back(slot);
    slot = record.release();
    return slot;
  }
  void remove(const CacheKey& key) {
    auto it = records.find(key);
    if (it == records.end()) return;
    reserve_one_more(retired);
    retired.push_back(it->second);
    records.erase(it);
  }
  void release_all() noexcept {
    for (auto& [key, record] : records) ReleaseRecord()(record);
    for (auto* record : retired) ReleaseRecord()(record);
    records.clear();
    retired.clear();
    lists_of_values.clear();
  }
};

ResolvedAttrCache& resolved_attr_cache() {
  static ResolvedAttrCache cache;
  return cache;
}

// The descriptors naming a list of values, per server type name. The cache
// outlives sessions, so it keeps the server's list-of-values objects, never
// the host's wraps of them.
struct TypeDescriptors {
  std::unordered_map<std::string, ServerObject*> by_property;  // "not yet listed" in one look-up
};

std::unordered_map<std::string, TypeDescriptors>& prop_desc_cache() {
  static std::unordered_map<std::string, TypeDescriptors> cache;
  return cache;
}

// Read once per process; a read that raises is tried again next time.
bool site_allows_master_with_item() {
  static std::optional<bool> flag;
  if (!flag) {
    const auto values = KESTREL_ask_preference_values("site", kSiteFlagPreference);
    // Inverted as the site has always had it: only "NO" turns it on.
    flag = !values.empty() && strcasecmp(values.front().c_str(), "NO") == 0;
  }
  return *flag;
}

// ---------------------------------------------------------------------------
// Reading server objects

ServerObject* reference_of(ServerObject* object, const char* name) {
  if (!object) return nullptr;
  Property* p = kestrel::get_property_force_load(object, name);
  if (!p || p->getPropertyDescription().getValueType() != ValueType::Reference) return nullptr;
  const auto& objects = p->getModelObjectArrayValue();
  return objects.empty() ? nullptr : objects.front();
}

std::vector<ServerObject*> references_of(ServerObject* object, const char* name) {
  if (!object) return {};
  Property* p = kestrel::get_property_force_load(object, name);
  if (!p || p->getPropertyDescription().getValueType() != ValueType::Reference) return {};
  return p->getModelObjectArrayValue();
}

std::string text_of(ServerObject* object, const char* name) {
  if (!object) return {};
  Property* p = kestrel::get_property_force_load(object, name);
  if (!p || p->getPropertyDescription().getValueType() != ValueType::String) return {};
  const auto& values = p->getStringArrayValue();
  return values.empty() ? std::string() : values.front();
}

bool is_among(ServerObject* object, const std::vector<ServerObject*>& list) {
  for (ServerObject* o : list)
    if (o == object) return true;
  return false;
}

bool is_form(ServerObject* object) { return dynamic_cast<Halden::Soa::Client::Model::Form*>(object) != nullptr; }
bool is_pom_object(ServerObject* object) {
  return dynamic_cast<Halden::Soa::Client::Model::POM_object*>(object) != nullptr;
}

std::string dataset_type_name(ServerObject* dataset) {
  return text_of(reference_of(dataset, "dataset_type"), "datasettype_name");
}

// Whether the source object belongs to the CAD part of dataset and revision.
bool is_part_member(ServerObject* object, ServerObject* dataset, ServerObject* revision) {
  if (object == dataset) return true;
  if (is_among(object, references_of(dataset, "ref_list"))) return is_form(object);
  const std::string type = dataset_type_name(dataset);
  // The item is read where a test first needs it, and for no other type.
  const auto item_of = [revision] { return reference_of(revision, "items_tag"); };
  if (type == "TOVMASTER") {
    if (object == revision) return true;
    if (!is_form(object)) return false;
    if (is_among(object, references_of(revision, "OSTRA_master_form_rev"))) return true;
    if (!site_allows_master_with_item()) return false;
    ServerObject* item = item_of();
    if (object == item) return true;  // never reached: an item is no form; kept as the host has it
    if (!item) return false;
    return is_among(object, references_of(item, "OSTRA_master_form"));
  }
  if (type == "DFA_KF") {
    if (object == revision) return true;
    ServerObject* item = item_of();
    if (item && object == item) return true;
    if (is_among(object, references_of(revision, "OSTRA_master_form_rev"))) return true;
    if (!item) return false;
    return is_among(object, references_of(item, "OSTRA_master_form"));
  }
  return false;
}

// ---------------------------------------------------------------------------
// The part context

struct PartContext {
  Orvane::PdmSoa::Dataset* host_dataset = nullptr;
  ServerObject* dataset = nullptr;
  ServerObject* item_revision = nullptr;
  std::string dataset_type, item_type;
  std::vector<CadAttrMappingDefinition*> definitions;
  bool found = false;
};

using ContextDefinitions = std::map<std::pair<std::string, std::string>, std::vector<CadAttrMappingDefinition*>>;

// The definitions the host keeps for a context, asked once per call.
const std::vector<CadAttrMappingDefinition*>& context_definitions(ContextDefinitions& memo,
                                                                  const std::string& dataset_type,
                                                                  const std::string& item_type) {
  auto [it, inserted] = memo.try_emplace({dataset_type, item_type});
  if (!inserted) return it->second;
  int count = 0;
  CadAttrMappingDefinition** array = nullptr;
  TOVMGR__get_attr_map_defs_of_context(dataset_type.c_str(), item_type.c_str(), &count, &array);
  std::unique_ptr<void, void (*)(void*)> owned(array, SM_free);
  if (array && count > 0) it->second.assign(array, array + count);
  return it->second;
}

// The part's server objects, type names and context definitions; not found
// when a tag is NULL_TAG or names no host object, or a type cannot be read.
PartContext get_attr_mapping_for_virel_part(tag_t dataset_tag, tag_t item_revision_tag, ContextDefinitions& memo) {
  PartContext context;
  auto* manager = SoaManager::GetObjectManager();
  auto* host_dataset = dataset_tag == NULL_TAG ? nullptr
                                               : dynamic_cast<Orvane::PdmSoa::Dataset*>(manager->GetObjectByTagAndClass(
                                                     dataset_tag, Orvane::PdmSoa::Dataset::AskClassName()));
  auto* host_revision =
      item_revision_tag == NULL_TAG
          ? nullptr
          : manager->GetObjectByTagAndClass(item_revision_tag, Orvane::PdmSoa::ItemRevision::AskClassName());
  Orvane::PdmSoa::ModelObject* dataset_type =
      host_dataset ? KESTREL_get_object_property_object(host_dataset, "dataset_type", true) : nullptr;
  Orvane::PdmSoa::ModelObject* item =
      host_revision ? KESTREL_get_object_property_object(host_revision, "items_tag", true) : nullptr;
  if (!dataset_type || !item || !host_dataset->GetObjectPtr() || !host_revision->GetObjectPtr()) {
    ERROR_lprintf("WARNING, get_attr_mapping_for_virel_part: input datasetTag = %d or itemRevTag = %d is NULL_TAG\n",
                  static_cast<int>(dataset_tag), static_cast<int>(item_revision_tag));
    return context;
  }
  context.host_dataset = host_dataset;
  context.dataset = host_dataset->GetObjectPtr();
  context.item_revision = host_revision->GetObjectPtr();
  context.dataset_type = KESTREL_get_object_property_string(dataset_type, "datasettype_name", true);
  context.item_type = KESTREL_get_object_property_string(item, "object_type", true);
  context.definitions = context_definitions(memo, context.dataset_type, context.item_type);
  context.found = true;
  return context;
}

// ---------------------------------------------------------------------------
// Per-call state

class WriteAccess {
 public:
  // A failed look-up counts as no write access.
  bool of(tag_t dataset_tag) {
    auto [it, inserted] = access_.try_emplace(dataset_tag, false);
    if (inserted) {
      int flags = 0;
      it->second = PDI_ask_appdata_access(dataset_tag, &flags) == 0 && (flags & kWriteAccess) != 0;
    }
    return it->second;
  }

 private:
  std::unordered_map<tag_t, bool> access_;
};

RecordPtr local_record(CadAttrMappingDefinition* definition, tag_t dataset_tag, WriteAccess& access) {
  RecordPtr record = new_record(definition, definition->get_attr_title());
  const DefaultPropDescriptor* descriptor = definition->get_default_prop_desc();
  const std::string& value = !descriptor                           ? std::string()
                             : definition->get_mapping_type() == 3 ? descriptor->constant_value
                                                                   : descriptor->preference_value;
  kestrel::SmString text(SM_string_copy_persistent(value.c_str()));
  kestrel::SmString copy(SM_string_copy_persistent(value.c_str()));
  record->value_type = 2;
  record->text = text.release();
  record->value = copy.release();
  if (definition->get_freezable() && !access.of(dataset_tag)) {
    auto* dataset = dynamic_cast<Orvane::PdmSoa::Dataset*>(SoaManager::GetObjectManager()->GetObjectByTag(dataset_tag));
    record->frozen = dataset && !dataset->AskReleaseStatusText().empty();
  }
  record->master = definition->get_cad_master() || definition->get_write_once();
  record->ostra_master = definition->get_ostra_master();
  return record;
}

bool is_local(const CadAttrMappingDefinition* definition) {
  const int type = definition->get_mapping_type();
  return type == 3 || type == 4;
}

struct RequestEntry {
  tag_t dataset_tag, item_revision_tag;
  PartContext context;
  std::unordered_map<std::string, CadAttrMappingDefinition*> by_title;  // the first definition of each title
};

// A record waiting for its list of values.
struct ListedRecord {
  ResolvedAttr* record;
  const RequestEntry* entry;
};

// The host's list of values for a server one, in the session's registry.
ListOfValues* host_list_of_values(ServerObject* lov) {
  return dynamic_cast<ListOfValues*>(
      SoaManager::GetObjectManager()->WrapSoaObjectAsClass(lov, ListOfValues::AskClassName()));
}

// Asks the descriptors of the listed records' properties that no cache
// entry names yet, then attaches the lists of values found.
void attach_lists_of_values(const std::vector<ListedRecord>& listed, ResolvedAttrCache& records) {
  auto& cache = prop_desc_cache();
  std::vector<Halden::Services::Core::AttachedPropDescsInfo> requests;
  std::unordered_map<std::string, std::size_t> request_of_type;
  std::unordered_set<std::string> requested;  // "type\nproperty"
  for (const auto& l : listed) {
    const std::string& type = l.record->source_object->getType()->getName();
    auto cached = cache.find(type);
    if (cached != cache.end() && cached->second.by_property.count(l.record->property_name)) continue;
    if (!requested.insert(type + '\n' + l.record->property_name).second) continue;
    auto [it, inserted] = request_of_type.try_emplace(type, requests.size());
    if (inserted) requests.push_back({type, {}});
    requests[it->second].propNames.push_back(l.record->property_name);
  }
  if (!requests.empty() && SoaManager::IsServiceAvailable(kPropDescOperation)) {
    auto reply = kestrel::soa_request_unconverted<PropdescriptorService>(
        KESTREL_HERE, [&](PropdescriptorService& service) { return service.getAttachedPropDescs(requests); });
    for (const auto& [type, descriptors] : reply.inputTypeNameToPropDescOutput) {
      auto& entries = cache[type].by_property;
      for (const auto& d : descriptors) entries.emplace(d.propName, d.lov);
    }
  }
  // Every listed record takes its list from the cache, also when nothing
  // was asked now: a type cached by an earlier call serves this one too.
  std::vector<tag_t> tags;
  std::vector<const char*> dataset_types, item_types, titles;
  for (const auto& l : listed) {
    auto type = cache.find(l.record->source_object->getType()->getName());
    if (type == cache.end()) continue;
    auto found = type->second.by_property.find(l.record->property_name);
    if (found == type->second.by_property.end() || !found->second) continue;
    ListOfValues* lov = host_list_of_values(found->second);
    if (!lov) continue;  // the host holds that object as another class
    l.record->list_of_values = lov;
    records.lists_of_values[l.record] = found->second;
    tags.push_back(lov->GetPdiTag(true));
    dataset_types.push_back(l.entry->context.dataset_type.c_str());
    item_types.push_back(l.entry->context.item_type.c_str());
    titles.push_back(l.record->title.c_str());
  }
  if (!tags.empty())
    TOVMGR__add_lovs_to_cache(static_cast<int>(tags.size()), tags.data(), dataset_types.data(), item_types.data(),
                              titles.data());
}

RecordPtr server_record(CadAttrMappingDefinition* definition, const Halden::Services::Cad::ResolvedAttrValue& resolved,
                        const RequestEntry& entry, WriteAccess& access) {
  RecordPtr record = new_record(definition, resolved.title);
  record->property_name = resolved.propertyName;
  ServerObject* source = resolved.sourceObject;
  if (!source) {
    const bool master = definition->get_cad_master() || definition->get_write_once();
    const DefaultPropDescriptor* descriptor = definition->get_default_prop_desc();
    record->modifiable = master && (!descriptor || descriptor->flag_c);
    return record;
  }
  record->source_object = source;
  const Property* property = kestrel::get_property_force_load(source, resolved.propertyName);
  kestrel::AttrValue value;
  kestrel::get_property_value_type_and_value(property, value);
  value.move_into(*record);
  if (record->value_type == 9 && dynamic_cast<Halden::Soa::Client::Model::WorkspaceObject*>(source))
    record->display_text = text_of(source, "object_name");
  const bool write = access.of(entry.dataset_tag);
  if (definition->get_freezable() && !write)
    record->frozen = !references_of(entry.context.dataset, "release_status_list").empty();
  record->modifiable = kestrel::check_attr_modifiable(definition, entry.context.dataset, entry.context.item_revision,
                                                      write, source, property);
  record->master = definition->get_cad_master() || definition->get_write_once();
  record->ostra_master = definition->get_ostra_master();
  const int type = definition->get_mapping_type();
  if ((type == 1 || type == 2) && property && !property->getPropertyDescription().isModifiable()) {
    record->master = false;
    record->ostra_master = false;
  }
  return record;
}

void check_parts(const std::vector<AttrMappingPart*>& parts, const char* entry) {
  kestrel::require_no_nulls(KESTREL_HERE, parts, entry);
}

const std::vector<CadAttrMappingDefinition*>& definitions_of(const AttrMappingPart& part) {
  static const std::vector<CadAttrMappingDefinition*> none;
  return part.definitions ? *part.definitions : none;
}

}  // namespace

// ---------------------------------------------------------------------------
// Value conversion

namespace kestrel {

namespace {
void* persistent_copy(const void* data, std::size_t size) {
  void* block = SM_alloc_persistent(size);
  std::memcpy(block, data, size);
  return block;
}
char* persistent_text(const char* text) { return SM_string_copy_persistent(text); }
char* double_text(double number) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", 15, number);
  return persistent_text(buffer);
}
char* float_text(double number) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%#.*g", 6, number);
  return persistent_text(buffer);
}
}  // namespace

AttrValue::~AttrValue() { clear(); }

void AttrValue::clear() noexcept {
  SM_free(text_);
  if (type_ != 9) SM_free(value_);
  for (int i = 0; i < count_ && list_; ++i) SM_free(list_[i]);
  SM_free(list_);
  type_ = 6;
  text_ = nullptr;
  value_ = nullptr;
  count_ = 0;
  list_ = nullptr;
}

void AttrValue::move_into(ResolvedAttr& record) noexcept {
  release_owned(record);
  record.value_type = type_;
  record.text = text_;
  record.value = value_;
  record.count = count_;
  record.list = list_;
  text_ = nullptr;
  value_ = nullptr;
  list_ = nullptr;
  count_ = 0;
  type_ = 6;
}

void get_property_value_type_and_value(const Property* property, AttrValue& out) {
  out.clear();
  if (!property) return;
  const auto& description = property->getPropertyDescription();
  const int server_type = static_cast<int>(description.getValueType());
  if (server_type < 0 || server_type > 8) {
    out.type_ = 7;
    return;
  }
  const auto type = description.getValueType();
  const bool text_type = type == ValueType::Char || type == ValueType::String;
  if (description.isArray() && !text_type) {
    out.type_ = 7;
    return;
  }
  if (text_type && description.isArray()) {
    std::vector<std::string> values;
    if (type == ValueType::String) {
      values = property->getStringArrayValue();
    } else {
      for (char c : property->getCharArrayValue()) values.emplace_back(1, c);
    }
    out.type_ = 8;
    out.list_ = static_cast<char**>(SM_alloc_persistent(values.size() * sizeof(char*) + 1));
    for (const auto& v : values) out.list_[out.count_++] = persistent_text(v.c_str());
    return;
  }
  // A single value that holds none has no value.
  switch (type) {
    case ValueType::Int:
    case ValueType::Short: {
      std::int32_t number = 0;
      if (type == ValueType::Int) {
        if (property->getIntArrayValue().empty()) return;
        number = property->getIntArrayValue().front();
      } else {
        if (property->getShortArrayValue().empty()) return;
        number = property->getShortArrayValue().front();
      }
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "%d", number);
      out.type_ = 0;
      out.text_ = persistent_text(buffer);
      out.value_ = persistent_copy(&number, sizeof number);
      return;
    }
    case ValueType::Double: {
      if (property->getDoubleArrayValue().empty()) return;
      const double number = property->getDoubleArrayValue().front();
      out.type_ = 1;
      out.text_ = double_text(number);
      out.value_ = persistent_copy(&number, sizeof number);
      return;
    }
    case ValueType::Float: {
      if (property->getFloatArrayValue().empty()) return;
      out.type_ = 1;
      out.text_ = float_text(static_cast<double>(property->getFloatArrayValue().front()));
      // The six digits shown, not the float's bits.
      const double number = std::strtod(out.text_, nullptr);
      out.value_ = persistent_copy(&number, sizeof number);
      return;
    }
    case ValueType::Logical: {
      if (property->getBoolArrayValue().empty()) return;
      const unsigned char logical = property->getBoolArrayValue().front() ? 1 : 0;
      out.type_ = 5;
      out.text_ = persistent_text(logical ? "T" : "F");
      out.value_ = persistent_copy(&logical, 1);
      return;
    }
    case ValueType::Date: {
      if (property->getDateArrayValue().empty()) return;
      const std::string text = property->getDateArrayValue().front().toString();
      date_s date{};
      if (CLOCK_xml_dateTime_to_date(text.c_str(), nullptr, nullptr, &date) != 0) {
        ERROR_lprintf(
            "ERROR!!! get_property_value_type_and_value: error returned from calling CLOCK_xml_dateTime_to_date "
            "function\n");
        KESTREL_RAISE(940209, "get_property_value_type_and_value: invalid format or Date in XML dateTime string ");
      }
      out.type_ = 3;
      out.text_ = persistent_text(text.c_str());
      out.value_ = persistent_copy(&date, sizeof date);
      return;
    }
    case ValueType::Reference:
      out.type_ = 9;
      out.value_ =
          property->getModelObjectArrayValue().empty() ? nullptr : property->getModelObjectArrayValue().front();
      return;
    case ValueType::Char:
    case ValueType::String: {
      std::string text;
      if (type == ValueType::String) {
        if (property->getStringArrayValue().empty()) return;
        text = property->getStringArrayValue().front();
      } else {
        if (property->getCharArrayValue().empty()) return;
        text.assign(1, property->getCharArrayValue().front());
      }
      out.type_ = 2;
      out.text_ = persistent_text(text.c_str());
      out.value_ = persistent_text(text.c_str());
      return;
    }
  }
}

bool check_attr_modifiable(const CadAttrMappingDefinition* definition, ServerObject* dataset,
                           ServerObject* item_revision, bool write_access, ServerObject* source,
                           const Property* property) {
  if (!property) return false;
  const int type = definition->get_mapping_type();
  if (!write_access) {
    if (type >= 1 && type <= 4) return false;
    KESTREL_RAISE(940209, "Unknown mapping type %d of attr title = %s in check_attr_modifiable", type,
                  definition->get_attr_title().c_str());
  }
  if (type == 3 || type == 4) return false;
  if (type != 1 && type != 2)
    KESTREL_RAISE(940209, "Unknown mapping type %d of attr title = %s in check_attr_modifiable", type,
                  definition->get_attr_title().c_str());
  if (!property->getPropertyDescription().isModifiable()) return false;
  if (!definition->get_cad_master() && !definition->get_write_once()) return false;
  if (!definition->get_cad_master() && definition->get_write_once() && !is_pom_object(source) &&
      (!source->getType() || source->getType()->getName() != "ICSRuntimeICOIdAttr"))
    return false;
  if (is_pom_object(source)) return is_part_member(source, dataset, item_revision);
  return true;
}

}  // namespace kestrel

// ---------------------------------------------------------------------------
// Slot 123

std::vector<AttrMappingDefinitions*>* KESTREL_get_attr_mapping_definitions(
    const std::vector<AttrMappingContext*>& contexts) {
  if (contexts.empty()) return nullptr;
  std::vector<Halden::Services::Cad::AttrMappingContext> request;
  request.reserve(contexts.size());
  for (const auto* context : contexts) {
    if (!context) KESTREL_RAISE(940208, "KRAL SOA: Null object in %s", "KESTREL_get_attr_mapping_definitions");
    request.push_back({kestrel::or_empty(context->first), kestrel::or_empty(context->second), false});
  }
  auto reply = kestrel::soa_request<DatamanagementService>(
      KESTREL_HERE, [&](DatamanagementService& dm) { return dm.getAttrMappingDefinitions(request); });

  auto* manager = SoaManager::GetObjectManager();
  std::vector<std::unique_ptr<AttrMappingDefinitions>> records;
  records.reserve(reply.output.size());
  for (const auto& output : reply.output) {
    auto record = std::make_unique<AttrMappingDefinitions>();
    record->first = output.text1;
    record->second = output.text2;
    record->definitions.reserve(output.mappings.size());
    for (const auto& mapping : output.mappings) {
      ServerDefinition* definition = mapping.definition;
      if (!definition) continue;
      const auto& d = mapping.propDesc;
      auto descriptor = std::make_unique<DefaultPropDescriptor>();
      descriptor->text1 = d.text1;
      descriptor->text2 = d.text2;
      descriptor->text3 = d.text3;
      descriptor->value_type = host_value_type(d.valueType, d.isArray);
      descriptor->int1 = d.int1;
      descriptor->flag = d.flag;
      descriptor->is_array = d.isArray;
      if (d.lov)
        descriptor->list_of_values =
            dynamic_cast<ListOfValues*>(manager->WrapSoaObjectAsClass(d.lov, ListOfValues::AskClassName()));
      descriptor->flag_a = d.flagA;
      descriptor->flag_b = d.flagB;
      descriptor->flag_c = d.flagC;
      descriptor->int2 = d.int2;
      descriptor->int3 = d.int3;
      descriptor->texts = d.texts;
      const int type = definition->get_mapping_type();
      if (type == 3) descriptor->constant_value = definition->get_constant_value();
      if (type == 4) {
        const auto values = KESTREL_ask_preference_values("user", definition->get_preference_name());
        if (!values.empty()) descriptor->preference_value = values.front();
      }
      record->definitions.push_back(
          CadAttrMappingDefinition::CreateInstance(descriptor.release(), UString(definition->getUid()), definition));
    }
    records.push_back(std::move(record));
  }
  auto result = std::make_unique<std::vector<AttrMappingDefinitions*>>();
  result->reserve(records.size());
  for (auto& record : records) result->push_back(record.release());
  return result.release();
}

// ---------------------------------------------------------------------------
// Slot 124

std::vector<AttrMappingPartResult*>* KESTREL_resolve_attr_mappings(const std::vector<AttrMappingPart*>& parts) {
  if (parts.empty()) return nullptr;
  check_parts(parts, "KESTREL_resolve_attr_mappings");
  for (std::size_t p = 0; p < parts.size(); ++p) {
    AttrMappingPart& part = *parts[p];
    if (part.dataset_tag == NULL_TAG) {
      ERROR_lprintf("WARNING, KESTREL_resolve_attr_mappings: dataset tag is NULL_TAG in the = %d-th input part\n",
                    static_cast<int>(p));
      return nullptr;
    }
    if (part.item_revision_tag == NULL_TAG) {
      tag_t second = NULL_TAG;
      if (PDI_ask_appdata_partrev(part.dataset_tag, &part.item_revision_tag, &second) != 0 ||
          part.item_revision_tag == NULL_TAG)
        ERROR_lprintf("WARNING, KESTREL_resolve_attr_mappings: Can not obtain itemRev tag from Dataset tag\n");
    }
    const auto& definitions = definitions_of(part);
    for (std::size_t a = 0; a < definitions.size(); ++a) {
      if (definitions[a]) continue;
      ERROR_lprintf(
          "WARNING, KESTREL_resolve_attr_mappings: attr mapping def is NULL in the = %d-th attr of the %d-th part\n",
          static_cast<int>(a), static_cast<int>(p));
      return nullptr;
    }
  }

  auto& cache = resolved_attr_cache();
  WriteAccess access;
  ContextDefinitions memo;
  std::vector<RequestEntry> entries;
  for (const auto* part : parts) {
    const auto& definitions = definitions_of(*part);
    std::size_t resolved = 0;
    for (auto* definition : definitions) {
      const CacheKey key{definition, part->dataset_tag, part->item_revision_tag};
      if (cache.find(key)) {
        ++resolved;
      } else if (is_local(definition)) {
        cache.put(key, local_record(definition, part->dataset_tag, access));
        ++resolved;
      }
    }
    if (resolved == definitions.size()) continue;
    if (resolved > 0)
      ERROR_lprintf(
          "WARNING, KESTREL_resolve_attr_mappings: not every db attr in a part is resolved for ItemRev tag = %d , "
          "Dataset tag = %d\n",
          static_cast<int>(part->item_revision_tag), static_cast<int>(part->dataset_tag));
    PartContext context = get_attr_mapping_for_virel_part(part->dataset_tag, part->item_revision_tag, memo);
    if (!context.found) continue;
    entries.push_back({part->dataset_tag, part->item_revision_tag, std::move(context), {}});
  }

  if (!entries.empty()) {
    std::vector<Halden::Services::Cad::ResolveAttrMappingsInfo> request;
    request.reserve(entries.size());
    std::unordered_map<ServerObject*, std::size_t> entry_of_dataset;
    for (std::size_t e = 0; e < entries.size(); ++e) {
      auto& entry = entries[e];
      Halden::Services::Cad::ResolveAttrMappingsInfo info{entry.context.dataset, entry.context.item_revision, {}};
      for (auto* definition : entry.context.definitions) {
        if (!definition || is_local(definition)) continue;
        info.mappings.push_back(dynamic_cast<ServerDefinition*>(definition->GetObjectPtr()));
        entry.by_title.emplace(definition->get_attr_title(), definition);
      }
      request.push_back(std::move(info));
      entry_of_dataset[entry.context.dataset] = e;  // the later of two entries with one dataset
    }
    auto reply = kestrel::soa_request<DatamanagementService>(
        KESTREL_HERE, [&](DatamanagementService& dm) { return dm.resolveAttrMappings(request); });

    std::vector<ListedRecord> listed;
    for (const auto& output : reply.output) {
      auto found = entry_of_dataset.find(output.dataset);
      if (found == entry_of_dataset.end())
        KESTREL_RAISE(940209,
                      "KESTREL_resolve_attr_mappings, wrong dataset, name = %s, returned from SOA attr resolution\n",
                      text_of(output.dataset, "object_name").c_str());
      const RequestEntry& entry = entries[found->second];
      for (const auto& resolved : output.resolved) {
        auto definition = entry.by_title.find(resolved.title);
        if (definition == entry.by_title.end())
          KESTREL_RAISE(940209, "KESTREL_resolve_attr_mappings, resolved attr, title = %s, from SOA is not in input\n",
                        resolved.title.c_str());
        RecordPtr record = server_record(definition->second, resolved, entry, access);
        reserve_one_more(listed);
        ResolvedAttr* held =
            cache.put({definition->second, entry.dataset_tag, entry.item_revision_tag}, std::move(record));
        if (held->source_object) listed.push_back({held, &entry});
      }
    }
    attach_lists_of_values(listed, cache);
  }

  std::vector<std::unique_ptr<AttrMappingPartResult>> results;
  results.reserve(parts.size());
  for (const auto* part : parts) {
    auto result = std::make_unique<AttrMappingPartResult>();
    result->dataset_tag = part->dataset_tag;
    result->item_revision_tag = part->item_revision_tag;
    const auto& definitions = definitions_of(*part);
    result->attributes.reserve(definitions.size());
    for (auto* definition : definitions) {
      const CacheKey key{definition, part->dataset_tag, part->item_revision_tag};
      ResolvedAttr* record = cache.find(key);
      if (!record) {
        ERROR_lprintf(
            "WARNING, KESTREL_resolve_attr_mappings: attr title = %s for dataset tag = %d itemrev tag = %d failed to "
            "resolve\n",
            definition->get_attr_title().c_str(), static_cast<int>(part->dataset_tag),
            static_cast<int>(part->item_revision_tag));
        record = cache.put(key, new_record(definition, definition->get_attr_title()));
      }
      // A record cached in an earlier session names a host object its
      // registry has since freed.
      auto lov = cache.lists_of_values.find(record);
      if (lov != cache.lists_of_values.end()) record->list_of_values = host_list_of_values(lov->second);
      result->attributes.push_back(record);
    }
    results.push_back(std::move(result));
  }
  auto out = std::make_unique<std::vector<AttrMappingPartResult*>>();
  out->reserve(results.size());
  for (auto& result : results) out->push_back(result.release());
  return out.release();
}

// ---------------------------------------------------------------------------
// Slot 125

namespace {

constexpr const char* kUpdateEntry = "KESTREL_update_attr_values";

bool has_definitions(const AttrValueUpdate& part) { return part.definitions && !part.definitions->empty(); }

// The host object of a UID as its class, with its server object behind it.
template <class T>
T* host_of_uid(const std::string& uid) {
  auto* object = dynamic_cast<T*>(SoaManager::GetObjectManager()->GetObjectByUid(UString(uid), T::AskClassName()));
  if (!object || !object->GetObjectPtr())
    KESTREL_RAISE(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID %s\n", uid.c_str());
  return object;
}

}  // namespace

void KESTREL_update_attr_values(const std::vector<AttrValueUpdate*>& parts) {
  if (parts.empty()) return;
  kestrel::require_no_nulls(KESTREL_HERE, parts, kUpdateEntry);
  for (const auto* part : parts) {
    if (!has_definitions(*part)) continue;
    if (!part->values) KESTREL_RAISE(940208, "KRAL SOA: Null %s in %s", "values", kUpdateEntry);
    const auto& definitions = *part->definitions;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
      if (!definitions[i]) KESTREL_RAISE(940208, "KRAL SOA: Null %s in %s", "definition", kUpdateEntry);
      if (!part->values[i]) KESTREL_RAISE(940208, "KRAL SOA: Null %s in %s", "value", kUpdateEntry);
    }
  }

  namespace Cad = Halden::Services::Cad;
  auto& cache = resolved_attr_cache();
  auto* manager = SoaManager::GetObjectManager();
  std::vector<Cad::PartCreateInput> request;
  request.reserve(parts.size());
  std::vector<ResolvedAttr*> listed;  // a definition written twice lists its record twice
  for (const auto* part : parts) {
    if (!has_definitions(*part)) continue;
    auto* item = host_of_uid<Orvane::PdmSoa::Item>(part->item_uid);
    auto* revision = host_of_uid<Orvane::PdmSoa::ItemRevision>(part->item_revision_uid);
    auto* dataset = host_of_uid<Orvane::PdmSoa::Dataset>(part->dataset_uid);
    Orvane::PdmSoa::ModelObject* pair[] = {dataset, revision};
    manager->SetObjectList(2, pair);
    const tag_t dataset_tag = dataset->AskPdiTag();
    const tag_t revision_tag = revision->AskPdiTag();

    const auto& definitions = *part->definitions;
    Cad::PartDatasetInput section;
    section.text1 = part->dataset_text;
    section.object = dataset->GetObjectPtr();
    section.nameValues1.reserve(definitions.size());
    for (std::size_t i = 0; i < definitions.size(); ++i) {
      section.nameValues1.push_back({definitions[i]->get_attr_title(), part->values[i]});
      if (ResolvedAttr* record = cache.find({definitions[i], dataset_tag, revision_tag})) listed.push_back(record);
    }
    Cad::PartCreateInput input;
    input.item.object = item->GetObjectPtr();
    input.revision.object = revision->GetObjectPtr();
    input.datasets.push_back(std::move(section));
    request.push_back(std::move(input));
  }
  // The reply is not examined: its partial errors reach the host through
  // the listener, and the re-read shows what the server holds.
  kestrel::soa_request<Cad::DatamanagementService>(KESTREL_HERE,
                                                   [&](Cad::DatamanagementService& dm) { dm.createParts(request); });

  // Records without a source object (constants, preference values, no
  // value) have nothing to read again.
  std::vector<ResolvedAttr*> reread;
  reread.reserve(listed.size());
  std::vector<ServerObject*> sources;
  sources.reserve(listed.size());
  for (ResolvedAttr* record : listed) {
    if (!record->source_object) continue;
    reread.push_back(record);
    sources.push_back(record->source_object);
  }
  if (sources.empty()) return;
  kestrel::soa_request<Halden::Services::Core::DatamanagementService>(
      KESTREL_HERE, [&](Halden::Services::Core::DatamanagementService& dm) { dm.refreshObjects(sources); });

  // Every value is converted before any record changes, so a raise leaves
  // each record with its old values, never with released ones.
  std::vector<kestrel::AttrValue> values(reread.size());
  for (std::size_t i = 0; i < reread.size(); ++i)
    kestrel::get_property_value_type_and_value(
        kestrel::get_property_force_load(reread[i]->source_object, reread[i]->property_name), values[i]);
  for (std::size_t i = 0; i < reread.size(); ++i) values[i].move_into(*reread[i]);
}

// ---------------------------------------------------------------------------
// Slots 126 and 127

void KESTREL_clear_attr_mapping_cache() {
  resolved_attr_cache().release_all();
  // The cache holds the server's lists of values, which the framework owns;
  // their host wraps belong to the host's registry.
  prop_desc_cache().clear();
}

void KESTREL_clear_attr_mapping_cache_for_parts(const std::vector<AttrMappingPart*>& parts) {
  check_parts(parts, "KESTREL_clear_attr_mapping_cache_for_parts");
  auto& cache = resolved_attr_cache();
  ContextDefinitions memo;
  for (const auto* part : parts) {
    PartContext context = get_attr_mapping_for_virel_part(part->dataset_tag, part->item_revision_tag, memo);
    if (!context.found) continue;
    for (auto* definition : context.definitions) cache.remove({definition, part->dataset_tag, part->item_revision_tag});
  }
}
