#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/ModelManager.h"

namespace Orvane::PdmSoa {

// Forwards the framework's model events to the host's object registry; this
// is how every reply's partial errors reach the host.
class KestrelListener : public Halden::Soa::Client::DeleteListener,
                        public Halden::Soa::Client::ChangeListener,
                        public Halden::Soa::Client::PartialErrorListener {
 public:
  void onObjectsDeleted(const std::vector<std::string>& uids) override;
  void onObjectsChanged(const std::vector<Halden::Soa::Client::ModelObject*>& objects) override;
  void onPartialErrors(const std::vector<Halden::Soa::Client::ErrorStack>& stacks) override;
};

}  // namespace Orvane::PdmSoa
