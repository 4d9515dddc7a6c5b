#include "halden/server/world/CadDataManagementWorld.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace Halden::Soa::Server {

namespace {
const std::vector<std::string> kSettings = {"mapping_type", "attr_title", "constant_value", "preference_name",
                                            "freezable",    "cad_master", "write_once",     "ostra_master"};

std::string first_text(const WorldStore& store, const std::string& uid, const std::string& property) {
  const auto* object = store.find(uid);
  if (!object) return {};
  auto it = object->properties.find(property);
  if (it == object->properties.end() || it->second.strings.empty()) return {};
  return it->second.strings.front();
}

bool read_long(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

bool read_double(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0') return false;
  out = value;
  return true;
}

// The text as one value of the property's type; false when it does not read
// as one. An array property gets the one value.
bool assign(const WorldStore& store, WireProperty& property, const std::string& text) {
  WireProperty p = property;
  p.is_null = false;
  p.display.clear();
  p.strings.clear();
  p.ints.clear();
  p.doubles.clear();
  p.floats.clear();
  p.shorts.clear();
  p.logicals.clear();
  p.chars.clear();
  p.dates.clear();
  p.references.clear();
  long number = 0;
  double real = 0;
  switch (property.type) {
    case ValueType::String:
      p.strings = {text};
      break;
    case ValueType::Char:
      if (text.size() != 1) return false;
      p.chars = {text[0]};
      break;
    case ValueType::Int:
      if (!read_long(text, INT_MIN, INT_MAX, number)) return false;
      p.ints = {static_cast<int>(number)};
      break;
    case ValueType::Short:
      if (!read_long(text, SHRT_MIN, SHRT_MAX, number)) return false;
      p.shorts = {static_cast<short>(number)};
      break;
    case ValueType::Double:
      if (!read_double(text, real)) return false;
      p.doubles = {real};
      break;
    case ValueType::Float:
      if (!read_double(text, real)) return false;
      p.floats = {static_cast<float>(real)};
      break;
    case ValueType::Logical:
      if (text == "T" || text == "true" || text == "1") {
        p.logicals = {true};
      } else if (text == "F" || text == "false" || text == "0") {
        p.logicals = {false};
      } else {
        return false;
      }
      break;
    case ValueType::Date: {
      Common::DateTime date(text);
      if (date.isNullDate()) return false;
      p.dates = {date};
      break;
    }
    case ValueType::Reference:
      if (!store.find(text)) return false;
      p.references = {text};
      break;
    default:
      return false;
  }
  property = std::move(p);
  return true;
}
}  // namespace

void CadDataManagementWorld::add_definition(const Definition& d) {
  using namespace props;
  store_.add_object(d.uid, {"CadAttrMappingDefinition", "POM_object"},
                    {integer("mapping_type", d.mapping_type), str("attr_title", d.title),
                     str("constant_value", d.constant_value), str("preference_name", d.preference_name),
                     logical("freezable", d.freezable), logical("cad_master", d.cad_master),
                     logical("write_once", d.write_once), logical("ostra_master", d.ostra_master)});
  definitions_[d.uid] = d;
}

void CadDataManagementWorld::set_context(const std::string& text1, const std::string& text2,
                                         std::vector<std::string> definition_uids) {
  contexts_[{text1, text2}] = std::move(definition_uids);
}

AttrMappingDefinitionsReply CadDataManagementWorld::getAttrMappingDefinitions(
    const std::vector<AttrMappingContextRecord>& contexts) {
  AttrMappingDefinitionsReply reply;
  UidList carried;
  for (const auto& context : contexts) {
    AttrMappingContextOutput output{context.text1, context.text2, {}};
    auto it = contexts_.find({context.text1, context.text2});
    if (it != contexts_.end()) {
      for (const auto& uid : it->second) {
        const Definition& d = definitions_.at(uid);
        output.mappings.push_back({uid, d.description});
        carried.add(uid);
        carried.add(d.description.lov_uid);
      }
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), kSettings);
  return reply;
}

std::string CadDataManagementWorld::first_reference(const std::string& uid, const std::string& property) const {
  const auto* object = store_.find(uid);
  if (!object) return {};
  auto it = object->properties.find(property);
  if (it == object->properties.end() || it->second.is_null || it->second.references.empty()) return {};
  return it->second.references.front();
}

std::string CadDataManagementWorld::source_of(const Definition& d, const ResolveAttrMappingsRequest& request) const {
  std::string uid;
  if (d.source == "revision") uid = request.item_revision_uid;
  if (d.source == "dataset") uid = request.dataset_uid;
  if (d.source == "item") uid = first_reference(request.item_revision_uid, "items_tag");
  if (d.source == "master_form") uid = first_reference(request.item_revision_uid, "OSTRA_master_form_rev");
  if (d.source == "item_form")
    uid = first_reference(first_reference(request.item_revision_uid, "items_tag"), "OSTRA_master_form");
  const auto* object = uid.empty() ? nullptr : store_.find(uid);
  if (!object || !object->properties.count(d.property)) return {};
  return uid;
}

ResolveAttrMappingsReply CadDataManagementWorld::resolveAttrMappings(
    const std::vector<ResolveAttrMappingsRequest>& requests) {
  ResolveAttrMappingsReply reply;
  UidList carried;
  UidList names;
  for (const auto& request : requests) {
    ResolveAttrMappingsOutput output{request.dataset_uid, {}};
    carried.add(request.dataset_uid);
    for (const auto& uid : request.definition_uids) {
      auto it = definitions_.find(uid);
      if (it == definitions_.end()) continue;
      const Definition& d = it->second;
      std::string source = source_of(d, request);
      carried.add(source);
      if (!source.empty()) names.add(d.property);
      output.resolved.push_back({d.title, std::move(source), d.property});
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), names.uids());
  return reply;
}

const CadDataManagementWorld::Definition* CadDataManagementWorld::definition_titled(const std::string& item_uid,
                                                                                    const std::string& dataset_uid,
                                                                                    const std::string& title) const {
  const std::string dataset_type = first_text(store_, first_reference(dataset_uid, "dataset_type"), "datasettype_name");
  auto context = contexts_.find({first_text(store_, item_uid, "object_type"), dataset_type});
  if (context == contexts_.end()) return nullptr;
  for (const auto& uid : context->second) {
    const Definition& d = definitions_.at(uid);
    if (d.title == title) return &d;
  }
  return nullptr;
}

PartOutputRecord CadDataManagementWorld::write_attributes(const PartCreateRecord& part, int index, Written& written) {
  PartOutputRecord output{part.text, part.item.object_uid, part.revision.object_uid, {}, {}, {}};
  auto fail = [&](const std::string& message) {
    written.errors.push_back(WorldStore::error_of(index, part.text, 214321, message));
  };
  for (const auto& section : part.datasets) {
    output.datasets.push_back({section.text1, section.object_uid, {}, {}, {}});
    for (const auto& pair : section.name_values1) {
      const Definition* d = definition_titled(part.item.object_uid, section.object_uid, pair.name);
      if (!d) {
        fail("The attribute \"" + pair.name + "\" is not mapped for this part.");
        continue;
      }
      const std::string source = source_of(*d, {section.object_uid, part.revision.object_uid, {}});
      if (source.empty()) continue;
      WireProperty& property = store_.find(source)->properties.at(d->property);
      if (!property.modifiable) {
        fail("The property \"" + d->property + "\" may not be modified.");
        continue;
      }
      if (!assign(store_, property, pair.value)) {
        fail("\"" + pair.value + "\" is no value of the property \"" + d->property + "\".");
        continue;
      }
      written.objects.add(source);
      written.names.add(d->property);
    }
  }
  return output;
}

}  // namespace Halden::Soa::Server
