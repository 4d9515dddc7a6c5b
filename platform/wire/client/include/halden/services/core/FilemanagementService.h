// File management: read tickets of file objects, write tickets for files to
// upload into datasets, and the commit of uploaded files. The host moves the
// file contents itself with the tickets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct FileInfoInput {
  std::string text1;
  std::string text2;
  std::string text3;
  bool flag1 = false;
  bool flag2 = false;
};

struct FileInfoInputExt {
  std::string text1;
  std::string text2;
  std::string text3;
  bool flag1 = false;
  bool flag2 = false;
  std::string text4;
};

// An extended file info of a reply.
struct FileInfoOutput {
  std::string text1;
  std::string text2;
  std::string text3;
  bool flag1 = false;
  bool flag2 = false;
  std::string text4;
};

// A dataset with the file infos to upload into it and commit.
struct CommitInfo {
  Soa::Client::ModelObject* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoOutput> fileInfos;
};

struct WriteTicketInput {
  Soa::Client::ModelObject* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoInput> fileInfos;
};

struct CommitInput {
  Soa::Client::ModelObject* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoInputExt> fileInfos;
};

struct GetFileReadTicketsResponse {
  std::map<Soa::Client::ModelObject*, std::string> tickets;  // file object (null for none) -> ticket
  Soa::Client::ServiceData serviceData;
};

struct GetDatasetWriteTicketsResponse {
  std::vector<CommitInfo> commitInfos;  // one per input, in order
  Soa::Client::ServiceData serviceData;
};

class FilemanagementService {
 public:
  static FilemanagementService* getService(Soa::Client::Connection* connection);
  explicit FilemanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  GetFileReadTicketsResponse getFileReadTickets(const std::vector<Soa::Client::ModelObject*>& files);
  GetDatasetWriteTicketsResponse getDatasetWriteTickets(const std::vector<WriteTicketInput>& inputs);
  Soa::Client::ServiceData commitDatasetFiles(const std::vector<CommitInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
