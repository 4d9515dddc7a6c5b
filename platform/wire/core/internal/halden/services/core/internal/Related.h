// Between the related-objects records of the services and the wire. Shared
// by core and CAD data management only.
#pragma once

#include <vector>

#include "halden/server/Wire.h"
#include "halden/services/core/RelatedObjects.h"
#include "halden/services/core/RelationFilter.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core::Internal {

inline std::vector<Soa::Server::RelationFilterRecord> filterRecordsOf(const std::vector<RelationFilter>& filters) {
  std::vector<Soa::Server::RelationFilterRecord> records;
  records.reserve(filters.size());
  for (const auto& f : filters) records.push_back({f.relationName, f.objectTypeNames});
  return records;
}

inline RelatedObjectsResponse relatedObjectsOf(Soa::Client::Connection& connection,
                                               const Soa::Server::RelatedObjectsReply& reply) {
  RelatedObjectsResponse out;
  out.serviceData = Soa::Client::Internal::absorb(connection, reply.data);
  auto& models = *connection.getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& output : reply.outputs) {
    RelatedObjectsOutput entry{Soa::Client::Internal::objectOf(models, output.object_uid), {}};
    entry.groups.reserve(output.groups.size());
    for (const auto& group : output.groups)
      entry.groups.push_back({Soa::Client::Internal::objectsOf(models, group.uids), group.name});
    out.output.push_back(std::move(entry));
  }
  return out;
}

}  // namespace Halden::Services::Core::Internal
