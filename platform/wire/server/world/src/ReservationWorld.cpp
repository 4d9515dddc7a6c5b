#include "halden/server/world/ReservationWorld.h"

#include "StoredObjects.h"

namespace Halden::Soa::Server {

using namespace stored;
using namespace props;

namespace {
const std::vector<std::string> kReservation = {"checked_out", "checked_out_user", "checkout_comment",
                                               "checkout_change_id"};
}  // namespace

WireServiceData ReservationWorld::checkout(const std::vector<std::string>& uids, const std::string& comment,
                                           const std::string& change_id) {
  UidList changed;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    WorldStore::StoredObject* object = store_.find(uids[i]);
    if (!object) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    const std::string* state = string_value(*object, "checked_out");
    if (state && *state == "Y") {
      errors.push_back(
          error_on(uids[i], static_cast<int>(i), 32009, "The object " + uids[i] + " is already checked out."));
      continue;
    }
    auto& properties = object->properties;
    properties["checked_out"] = str("checked_out", "Y");
    properties["checked_out_user"] =
        ref("checked_out_user", session_.session_user().empty() ? "" : "user-" + session_.session_user());
    properties["checkout_comment"] = str("checkout_comment", comment);
    properties["checkout_change_id"] = str("checkout_change_id", change_id);
    changed.add(uids[i]);
  }
  WireServiceData data = store_.reply_with(changed.uids(), kReservation);
  data.updated = changed.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData ReservationWorld::release(const std::vector<std::string>& uids) {
  UidList changed;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    WorldStore::StoredObject* object = store_.find(uids[i]);
    if (!object) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    const std::string* state = string_value(*object, "checked_out");
    if (!state || *state != "Y") {
      errors.push_back(error_on(uids[i], static_cast<int>(i), 32010, "The object " + uids[i] + " is not checked out."));
      continue;
    }
    auto& properties = object->properties;
    properties["checked_out"] = str("checked_out", "");
    properties["checked_out_user"] = ref("checked_out_user", "");
    properties["checkout_comment"] = str("checkout_comment", "");
    properties["checkout_change_id"] = str("checkout_change_id", "");
    changed.add(uids[i]);
  }
  WireServiceData data = store_.reply_with(changed.uids(), kReservation);
  data.updated = changed.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData ReservationWorld::checkin(const std::vector<std::string>& uids) { return release(uids); }

WireServiceData ReservationWorld::cancelCheckout(const std::vector<std::string>& uids) { return release(uids); }

}  // namespace Halden::Soa::Server
