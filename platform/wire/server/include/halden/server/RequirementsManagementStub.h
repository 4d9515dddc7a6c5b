// The requirements-management family: exporting full text to applications.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct FullTextExportRecord {
  std::string object_uid;
  std::string application_format;
  std::string text;
};

struct ExportReply {
  std::vector<std::string> texts;
  WireServiceData data;
};

// What the sample world answers: one text per "FullText" object exported as
// "MSWord", "export-<uid>.docx"; anything else is a partial error.
class RequirementsManagementStub {
 public:
  virtual ~RequirementsManagementStub() = default;
  virtual ExportReply exportToApplication(const std::vector<FullTextExportRecord>& records) = 0;
};

}  // namespace Halden::Soa::Server
