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

// text2 is the file name; the named reference that receives the file is
// text3, or text1 when text3 is empty (the CAD creation's hosts send it
// there); flag1 tells a text file.
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

template <class Info>
const std::string& reference_name_of(const Info& info) {
  return info.text3.empty() ? info.text1 : info.text3;
}

// A dataset with the file infos to upload into it and commit.
struct CommitInfoRecord {
  std::string dataset_uid;
  bool flag = false;
  std::vector<FileInfoExtRecord> file_infos;
};

}  // namespace Halden::Soa::Server
