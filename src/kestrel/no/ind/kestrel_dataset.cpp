#include "kestrel_dataset.h"

#include "halden/services/core/DatamanagementService.h"
#include "kestrel_call.h"
#include "kestrel_request.h"

using Halden::Services::Core::DatamanagementService;

std::vector<DatasetReferences> KESTREL_ask_dataset_references(
    const std::vector<Halden::Soa::Client::ModelObject*>& datasets) {
  for (const auto* dataset : datasets)
    if (!dataset) KESTREL_RAISE(940208, "KRAL SOA: Null dataset in KESTREL_ask_dataset_references");
  // The copy of the reply stands inside the conversion too.
  return kestrel::soa_request<DatamanagementService>(KESTREL_HERE, [&](DatamanagementService& dm) {
    const auto reply = dm.getDatasetReferences(datasets);
    std::vector<DatasetReferences> result;
    result.reserve(reply.output.size());
    for (const auto& output : reply.output) {
      DatasetReferences entry{output.dataset ? output.dataset->getUid() : std::string(), {}};
      entry.references.reserve(output.references.size());
      for (const auto& r : output.references)
        entry.references.push_back({r.referenceName, r.isFile, r.fileName, r.referencedUid});
      result.push_back(std::move(entry));
    }
    return result;
  });
}
