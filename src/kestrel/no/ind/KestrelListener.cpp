#include "KestrelListener.h"

#include <memory>

#include "kestrel_call.h"
#include "kestrel_host.h"
#include "objmodel/ErrorStack.h"
#include "objmodel/SoaManager.h"

namespace Orvane::PdmSoa {

void KestrelListener::onObjectsDeleted(const std::vector<std::string>& uids) {
  SoaManager::GetObjectManager()->objectsDeleted(uids);
}

void KestrelListener::onObjectsChanged(const std::vector<Halden::Soa::Client::ModelObject*>& objects) {
  std::vector<std::string> uids;
  uids.reserve(objects.size());
  for (const auto* object : objects) uids.push_back(object->getUid());
  SoaManager::GetObjectManager()->objectsChanged(uids);
}

void KestrelListener::onPartialErrors(const std::vector<Halden::Soa::Client::ErrorStack>& stacks) {
  auto* objects = SoaManager::GetObjectManager();
  const bool debug = kestrel::debug_enabled(kestrel::kDebugSoa);

  // Owned here until the host takes it.
  auto release = [](ErrorStackList* list) {
    for (auto* stack : *list) delete stack;
    delete list;
  };
  std::unique_ptr<ErrorStackList, decltype(release)> list(new ErrorStackList(stacks.size(), nullptr), release);

  for (std::size_t i = 0; i < stacks.size(); ++i) {
    const auto& stack = stacks[i];
    auto host_stack = std::make_unique<ErrorStack>();
    if (auto* associated = stack.getAssociatedModelObject()) {
      host_stack->SetAssociatedObject(kestrel::host_object_of(associated));
      if (debug)
        RDEBUG_print_message("KRAL SOA debug: Partial Errors received from SOA for - object = %s\n",
                             associated->getUid().c_str());
    }
    for (const auto& value : stack.getErrorValues()) {
      host_stack->AddErrorValue(ErrorValue(value.getCode(), UString(value.getMessage()), value.getLevel()));
      if (debug)
        RDEBUG_print_message("KRAL SOA debug: Partial Errors received from SOA - code = %d, level = %d, message = %s\n",
                             value.getCode(), value.getLevel(), value.getMessage().c_str());
    }
    (*list)[i] = host_stack.release();
  }
  objects->handleErrors(list.release());
}

}  // namespace Orvane::PdmSoa
