// The sample world's full-text export.
#pragma once

#include <vector>

#include "halden/server/RequirementsManagementStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class RequirementsManagementWorld : public RequirementsManagementStub {
 public:
  explicit RequirementsManagementWorld(WorldStore& store) : store_(store) {}
  ExportReply exportToApplication(const std::vector<FullTextExportRecord>& records) override;

 private:
  WorldStore& store_;
};

}  // namespace Halden::Soa::Server
