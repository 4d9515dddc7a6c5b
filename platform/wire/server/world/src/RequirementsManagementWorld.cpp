#include "halden/server/world/RequirementsManagementWorld.h"

namespace Halden::Soa::Server {

ExportReply RequirementsManagementWorld::exportToApplication(const std::vector<FullTextExportRecord>& records) {
  ExportReply reply;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    const auto* object = store_.find(record.object_uid);
    if (!object || object->types.front() != "FullText" || record.application_format != "MSWord") {
      reply.data.errors.push_back(WorldStore::error_of(static_cast<int>(i), record.object_uid, 223201,
                                                       "Only full text can be exported to MSWord."));
      continue;
    }
    reply.texts.push_back("export-" + record.object_uid + ".docx");
  }
  return reply;
}

}  // namespace Halden::Soa::Server
