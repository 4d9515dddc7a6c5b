#include "halden/services/core/FilemanagementService.h"

#include "halden/server/FileManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
namespace Wire = Soa::Server;

namespace {

constexpr const char* kService = "Core-2006-03-FileManagement";

Wire::FileInfoRecord record_of(const FileInfoInput& info) {
  return {info.text1, info.text2, info.text3, info.flag1, info.flag2};
}

Wire::FileInfoExtRecord record_of(const FileInfoInputExt& info) {
  return {info.text1, info.text2, info.text3, info.flag1, info.flag2, info.text4};
}

template <class Record, class Info>
std::vector<Record> records_of(const std::vector<Info>& infos) {
  std::vector<Record> records;
  records.reserve(infos.size());
  for (const auto& info : infos) records.push_back(record_of(info));
  return records;
}

}  // namespace

FilemanagementService* FilemanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<FilemanagementService>(connection, kService);
}

GetFileReadTicketsResponse FilemanagementService::getFileReadTickets(
    const std::vector<Soa::Client::ModelObject*>& files) {
  const auto uids = Soa::Client::Internal::uidsOf(files);
  auto reply = invoke(*connection_, kService, "getFileReadTickets", [&](Wire::Server& server) {
    return require<Wire::FileManagementStub>(server, kService).getFileReadTickets(uids);
  });
  GetFileReadTicketsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [uid, ticket] : reply.tickets) out.tickets[objectOf(models, uid)] = ticket;
  return out;
}

GetDatasetWriteTicketsResponse FilemanagementService::getDatasetWriteTickets(
    const std::vector<WriteTicketInput>& inputs) {
  std::vector<Wire::WriteTicketRecord> records;
  records.reserve(inputs.size());
  for (const auto& input : inputs)
    records.push_back({uidOf(input.dataset), input.flag, records_of<Wire::FileInfoRecord>(input.fileInfos)});
  auto reply = invoke(*connection_, kService, "getDatasetWriteTickets", [&](Wire::Server& server) {
    return require<Wire::FileManagementStub>(server, kService).getDatasetWriteTickets(records);
  });
  GetDatasetWriteTicketsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.commitInfos.reserve(reply.commit_infos.size());
  for (const auto& info : reply.commit_infos) {
    CommitInfo commit{objectOf(models, info.dataset_uid), info.flag, {}};
    commit.fileInfos.reserve(info.file_infos.size());
    for (const auto& f : info.file_infos)
      commit.fileInfos.push_back({f.text1, f.text2, f.text3, f.flag1, f.flag2, f.text4});
    out.commitInfos.push_back(std::move(commit));
  }
  return out;
}

Soa::Client::ServiceData FilemanagementService::commitDatasetFiles(const std::vector<CommitInput>& inputs) {
  std::vector<Wire::CommitRecord> records;
  records.reserve(inputs.size());
  for (const auto& input : inputs)
    records.push_back({uidOf(input.dataset), input.flag, records_of<Wire::FileInfoExtRecord>(input.fileInfos)});
  auto reply = invoke(*connection_, kService, "commitDatasetFiles", [&](Wire::Server& server) {
    return require<Wire::FileManagementStub>(server, kService).commitDatasetFiles(records);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core
