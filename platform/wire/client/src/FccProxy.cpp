#include "halden/soa/client/FccProxy.h"

#include <vector>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"

namespace Halden::Soa::Client {

namespace {
std::vector<std::map<std::string, std::string>> upload_calls;
std::map<std::string, int> scripted_statuses;
std::string upload_failure;
}  // namespace

void FccProxy::uploadFiles(const std::map<std::string, std::string>& tickets,
                           std::map<std::string, int>& statuses) const {
  upload_calls.push_back(tickets);
  if (!upload_failure.empty()) throw RuntimeException(upload_failure);
  for (const auto& [ticket, path] : tickets) {
    auto scripted = scripted_statuses.find(ticket);
    statuses[ticket] = scripted == scripted_statuses.end() ? 0 : scripted->second;
  }
}

namespace testing {
const std::vector<std::map<std::string, std::string>>& uploads() { return upload_calls; }
void set_upload_status(const std::string& ticket, int status) { scripted_statuses[ticket] = status; }
void set_upload_failure(const std::string& message) { upload_failure = message; }
void reset_uploads() {
  upload_calls.clear();
  scripted_statuses.clear();
  upload_failure.clear();
}
}  // namespace testing

}  // namespace Halden::Soa::Client
