// Records of CAD data management's attribute-mapping operations.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/client/model/CadAttrMapping.h"

namespace Halden::Services::Cad {

struct AttrMappingContext {
  std::string text1;
  std::string text2;
  bool flag = false;
};

struct AttrMappingPropDesc {
  std::string text1, text2, text3;
  int valueType = 7;  // a value-type code of the framework; may lie above 8
  int int1 = 0;
  bool flag = false;
  bool isArray = false;
  Soa::Client::ModelObject* lov = nullptr;
  bool flagA = false, flagB = false, flagC = false;
  int int2 = 0, int3 = 0;
  std::vector<std::string> texts;
};

struct AttrMappingInfo {
  Soa::Client::Model::CadAttrMappingDefinition* definition = nullptr;
  AttrMappingPropDesc propDesc;
};

struct AttrMappingDefinitionsOutput {
  std::string text1;
  std::string text2;
  std::vector<AttrMappingInfo> mappings;
};

struct GetAttrMappingDefinitionsResponse {
  std::vector<AttrMappingDefinitionsOutput> output;  // one per context
  Soa::Client::ServiceData serviceData;
};

struct ResolveAttrMappingsInfo {
  Soa::Client::ModelObject* dataset = nullptr;
  Soa::Client::ModelObject* itemRevision = nullptr;
  std::vector<Soa::Client::Model::CadAttrMappingDefinition*> mappings;
};

struct ResolvedAttrValue {
  std::string title;
  Soa::Client::ModelObject* sourceObject = nullptr;  // holds the property; null when the value has none
  std::string propertyName;
};

struct ResolveAttrMappingsOutput {
  Soa::Client::ModelObject* dataset = nullptr;
  std::vector<ResolvedAttrValue> resolved;
};

struct ResolveAttrMappingsResponse {
  std::vector<ResolveAttrMappingsOutput> output;
  Soa::Client::ServiceData serviceData;
};

}  // namespace Halden::Services::Cad
