// The framework's file client: moves local files to and from the server's
// file store with the tickets the file-management service hands out.
#pragma once

#include <map>
#include <string>

namespace Halden::Soa::Client {

class FccProxy {
 public:
  FccProxy() = default;
  // Uploads each file (ticket -> local path); statuses gets one entry per
  // ticket, 0 for a file uploaded.
  void uploadFiles(const std::map<std::string, std::string>& tickets, std::map<std::string, int>& statuses) const;
};

}  // namespace Halden::Soa::Client
