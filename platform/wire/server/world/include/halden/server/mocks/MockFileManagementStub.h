// GoogleMock stub of file management; by default it answers as the given
// implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/FileManagementStub.h"

namespace Halden::Soa::Server {

class MockFileManagementStub : public FileManagementStub {
 public:
  using Stub = FileManagementStub;
  explicit MockFileManagementStub(FileManagementStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getFileReadTickets).WillByDefault(Invoke(&answers, &FileManagementStub::getFileReadTickets));
    ON_CALL(*this, getDatasetWriteTickets).WillByDefault(Invoke(&answers, &FileManagementStub::getDatasetWriteTickets));
    ON_CALL(*this, commitDatasetFiles).WillByDefault(Invoke(&answers, &FileManagementStub::commitDatasetFiles));
  }
  MOCK_METHOD(ReadTicketsReply, getFileReadTickets, (const std::vector<std::string>& file_uids), (override));
  MOCK_METHOD(WriteTicketsReply, getDatasetWriteTickets, (const std::vector<WriteTicketRecord>& inputs), (override));
  MOCK_METHOD(WireServiceData, commitDatasetFiles, (const std::vector<CommitRecord>& inputs), (override));
};

}  // namespace Halden::Soa::Server
