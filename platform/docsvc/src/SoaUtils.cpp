#include "docsvc/SoaUtils.h"

#include "docsvc/testing.h"
#include "objmodel/SoaManager.h"

namespace Orvane::PDM::Services {

namespace {
std::vector<docsvc::testing::Check>& seen() {
  static std::vector<docsvc::testing::Check> checks;
  return checks;
}

void append_host_objects(const std::vector<Halden::Soa::Client::ModelObject*>& objects, SoaUtils::HostObjects* out) {
  if (!out) return;
  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  for (auto* object : objects)
    if (object) out->push_back(manager->WrapSoaObject(object));
}
}  // namespace

bool SoaUtils::CheckServiceData(const Halden::Soa::Client::ServiceData& data,
                                Orvane::DataManagement::OperationError* error, HostObjects* created,
                                HostObjects* updated) {
  seen().push_back({data.sizeOfPartialErrors(), error != nullptr, created || updated});
  append_host_objects(data.getCreatedObjects(), created);
  append_host_objects(data.getUpdatedObjects(), updated);
  if (error)
    for (const auto& stack : data.getPartialErrors())
      for (const auto& value : stack.getErrorValues()) error->Add(value.getCode(), value.getMessage());
  return data.sizeOfPartialErrors() == 0;
}

}  // namespace Orvane::PDM::Services

namespace docsvc::testing {
const std::vector<Check>& checks() { return Orvane::PDM::Services::seen(); }
void reset() { Orvane::PDM::Services::seen().clear(); }
}  // namespace docsvc::testing
