// File information as the wire carries it, shared by the families that hand
// out or take back dataset files (file management, CAD data management).
// Objects are UIDs, "" for none.
#pragma once

#include <string>
#include <vector>

namespace Halden::Soa::Server {

struct NameValueRecord {
  std::string name;
  std::string value;
};

struct FileInfoRecord {
  std::string text1;
  std::string text2;
  std::string text3;
  bool flag1 = false;
  bool flag2 = false;
};

struct FileInfoExtRecord {
  std::string text1;
  std::string text2;
  std::string text3;
  bool flag1 = false;
  bool flag2 = false;
  std::string text4;
};

// A dataset with the file infos to upload into it and commit.
struct CommitInfoRecord {
  std::string dataset_uid;
  bool flag = false;
  std::vector<FileInfoExtRecord> file_infos;
};

}  // namespace Halden::Soa::Server
