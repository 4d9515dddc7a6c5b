// What the project suites share: a logged-in session over the sample
// projects, host objects by UID, and the lists the entries hand over.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "docsvc/testing.h"
#include "objmodel/ModelObject.h"
#include "support/session_fixture.h"

namespace kestrel::test {

// The sample projects in the server's order, by label, and their ids.
inline const std::vector<std::string> kLabels = {"K100-Utility cart", "K200", "S900-Standard parts"};
inline const std::vector<std::string> kIds = {"K100", "K200", "S900"};

inline std::string Uid(const Orvane::PdmSoa::ModelObject* object) {
  return object ? object->GetUid().utf8() : "(null)";
}

template <class List>
std::vector<std::string> Uids(const List& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(Uid(o));
  return uids;
}

// Takes a text list the library handed over.
inline std::vector<std::string> Take(std::vector<std::string>* list) {
  std::unique_ptr<std::vector<std::string>> owned(list);
  return owned ? *owned : std::vector<std::string>{"(no list)"};
}

inline std::vector<std::string> TakeUids(KESTREL_host_object_list* list) {
  std::unique_ptr<KESTREL_host_object_list> owned(list);
  return owned ? Uids(*owned) : std::vector<std::string>{"(no list)"};
}

class ProjectTest : public SessionTest {
 protected:
  ProjectTest() {
    docsvc::testing::reset();
    ConnectAndLogin();
    ClearRequests();
    clear_log();
  }

  // Host objects of the UIDs, loaded in one request that is then forgotten.
  KESTREL_host_object_list Load(const std::vector<std::string>& uids) {
    std::vector<UString> names(uids.begin(), uids.end());
    std::vector<Orvane::PdmSoa::ModelObject*> loaded;
    table->KESTREL_load_objects(names, &loaded);
    ClearRequests();
    return KESTREL_host_object_list(loaded.begin(), loaded.end());
  }

  // The property policy each request ran under, in order.
  std::vector<int> Policies() const {
    std::vector<int> policies;
    for (const auto& r : server.requests) policies.push_back(r.policy);
    return policies;
  }
};

}  // namespace kestrel::test
