// The legacy 48-entry table, and the build's own connect, logout and
// operations.
#include "kestrel/legacy/kestrel_interface.h"

#include <memory>

#include "corba/corba.h"
#include "corerun/error.h"
#include "corerun/system.h"
#include "halden/services/core/SessionService.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/IiopRestSender.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_call.h"
#include "kestrel_legacy.h"
#include "kestrel_legacy_classification.h"
#include "kestrel_login.h"
#include "kestrel_scoped.h"
#include "srvtools/hxutils.h"

using Halden::Services::Core::SessionService;
using Halden::Soa::Client::Connection;
using kestrel::or_empty;
namespace Exceptions = Halden::Soa::Common::Exceptions;

namespace {

// Set by the first connect for the rest of the process; never deleted.
Connection* session_connection = nullptr;
LoginCredentials* session_credentials = nullptr;

// The session's object property policy, set once; a refusal is only logged.
void set_session_policy(Connection& connection) {
  try {
    const bool set = kestrel::soa_request_on<SessionService>(
        connection, [](SessionService& session) { return session.setObjectPropertyPolicy("VirelManagerDefault"); });
    if (set)
      ERROR_lprintf("SOA: Successfully set property policy\n");
    else
      ERROR_lprintf("SOA: setObjectPropertyPolicy returned false for success\n");
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    ERROR_lprintf("SOA: runtime error calling setObjectPropertyPolicy: %s\n", e.what());
  } catch (const Exceptions::SoaException& e) {
    ERROR_lprintf("SOA: exception calling setObjectPropertyPolicy: %s\n", e.what());
  }
}

}  // namespace

Connection* KESTREL_ask_connection() { return session_connection; }

void KESTREL_create_connection(const char* host, const char* protocol, const char* user, const char* password,
                               const char* group, const char* role, const char* discriminator) {
  if (session_connection) return;
  try {
    // Goes with this scope unless a connection holds it.
    auto credentials = std::make_unique<LoginCredentials>(new Halden::Soa::Client::CredentialManager::Credentials(
        or_empty(user), or_empty(password), or_empty(group), or_empty(role), or_empty(discriminator)));
    session_connection = new Connection(or_empty(host), credentials.get(), kestrel::protocol_of(protocol),
                                        Halden::Soa::Client::REST, true);
    session_credentials = credentials.release();
    ERROR_lprintf("SOA connection created for user %s, group %s, role %s\n", or_empty(user), or_empty(group),
                  or_empty(role));
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    session_connection = nullptr;
    KESTREL_LEGACY_RAISE(940207, "SOA runtime exception creating connection: %s", e.what());
  } catch (const Exceptions::SoaException& e) {
    session_connection = nullptr;
    KESTREL_LEGACY_RAISE(940207, "SOA exception creating connection: %s", e.what());
  }
  set_session_policy(*session_connection);
}

int KESTREL_logout() {
  if (!session_connection) return 0;
  try {
    // Only reaches the session service: the connection stays for the process.
    kestrel::service_of<SessionService>(*session_connection);
    return 0;
  } catch (const Halden::Soa::Client::RuntimeException& e) {
    ERROR_lprintf("SOA runtime error on logout: %s\n", e.what());
  } catch (const Exceptions::SoaException& e) {
    ERROR_lprintf("SOA exception on logout: %s %s\n", e.getDetail().c_str(), e.what());
  }
  return 940205;
}

const std::string& KESTREL_ask_type_name_of_uid(const std::string& uid) {
  Halden::Soa::Client::ModelObject* object = kestrel::get_model_manager(KESTREL_LEGACY_HERE)->findObject(uid);
  if (!object) KESTREL_LEGACY_RAISE(940209, "SOA: No SOA object found for input uid");
  return object->getType()->getName();
}

void KESTREL_get_cookie_info(const char* key, std::string& out1, std::string& out2, std::string& out3,
                             std::string& out4, std::string& out5) {
  // The third and fourth parts come in the other order; the older host
  // reads them so.
  HXUTILS_GetCookieInfo(key, out1, out2, out4, out3, out5);
}

char* KESTREL_get_gateway_ior(CORBA_Object* object, int tries, int sleep_seconds) {
  const int attempts = tries > 0 ? tries : 1;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    try {
      if (char* ior = Halden::Soa::Client::IiopRestSender::getGatewayIOR(object)) return ior;
    } catch (...) {
      // Any failure counts as a failed attempt; the gateway gets time to come up.
      if (sleep_seconds > 0) POSIX_sleep(sleep_seconds);
    }
  }
  return nullptr;
}

namespace {

KESTREL_interface_s table = {
    // Session
    /*  0 */ KESTREL_ask_connection,
    /*  1 */ KESTREL_create_connection,
    /*  2 */ KESTREL_logout,
    // Server objects by UID
    /*  3 */ constructObject,
    /*  4 */ KESTREL_get_properties,
    // Saved queries and search criteria
    /*  5 */ KESTREL_list_saved_queries,
    /*  6 */ KESTREL_describe_saved_queries,
    /*  7 */ KESTREL_execute_saved_query,
    /*  8 */ KESTREL_save_search_criteria,
    /*  9 */ KESTREL_delete_search_criteria,
    /* 10 */ KESTREL_retrieve_search_criteria,
    // BOM windows and lines
    /* 11 */ KESTREL_create_bom_window,
    /* 12 */ KESTREL_close_bom_window,
    /* 13 */ KESTREL_ask_bom_top_line,
    /* 14 */ KESTREL_expand_bom_line,
    // Classification
    /* 15 */ KESTREL_write_classification_objects,
    /* 16 */ KESTREL_write_classification_objects_2,
    /* 17 */ KESTREL_send_classification_object_uids,
    /* 18 */ KESTREL_ask_classification_classes,
    /* 19 */ KESTREL_ask_class_descriptions,
    /* 20 */ KESTREL_ask_classification_table,
    /* 21 */ KESTREL_ask_objects_of_classification_ids,
    /* 22 */ KESTREL_ask_class_attributes,
    /* 23 */ KESTREL_find_classes,
    /* 24 */ KESTREL_find_classification_objects,
    /* 25 */ KESTREL_ask_classification_pom_objects,
    /* 26 */ KESTREL_ask_classifications_of_objects,
    /* 27 */ KESTREL_load_classification_objects,
    /* 28 */ KESTREL_ask_classification_value_tables,
    // Preferences and types
    /* 29 */ KESTREL_ask_preference_values,
    /* 30 */ KESTREL_ask_type_name_of_uid,
    // Typed properties of the object of a UID
    /* 31 */ KESTREL_get_object_property_string_by_uid,
    /* 32 */ KESTREL_get_object_property_int_by_uid,
    /* 33 */ KESTREL_get_object_property_double_by_uid,
    /* 34 */ KESTREL_get_object_property_logical_by_uid,
    /* 35 */ KESTREL_get_object_property_char_by_uid,
    /* 36 */ KESTREL_get_object_property_date_by_uid,
    /* 37 */ KESTREL_get_object_property_object_by_uid,
    /* 38 */ KESTREL_get_object_property_string_array_by_uid,
    /* 39 */ KESTREL_get_object_property_int_array_by_uid,
    /* 40 */ KESTREL_get_object_property_double_array_by_uid,
    /* 41 */ KESTREL_get_object_property_logical_array_by_uid,
    /* 42 */ KESTREL_get_object_property_char_array_by_uid,
    /* 43 */ KESTREL_get_object_property_date_array_by_uid,
    /* 44 */ KESTREL_get_object_property_object_array_by_uid,
    // Related objects
    /* 45 */ KESTREL_get_related_objects_cad,
    // Single sign-on and the gateway
    /* 46 */ KESTREL_get_cookie_info,
    /* 47 */ KESTREL_get_gateway_ior,
};

}  // namespace

extern "C" KESTREL_interface_s* KESTREL_init_module(int* version) {
  if (version) *version = KESTREL_INTERFACE_VERSION;
  return &table;
}
