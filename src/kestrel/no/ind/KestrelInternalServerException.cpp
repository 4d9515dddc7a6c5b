#include "KestrelInternalServerException.h"

#include <exception>

#include "cadlink/tovmgr.h"
#include "corerun/error.h"
#include "kestrel_call.h"
#include "kestrel_scoped.h"
#include "objmodel/SoaManager.h"

namespace Orvane::PdmSoa {

namespace {

// True while the disconnect dialog is up: a request failing meanwhile must not
// open a second one.
bool disconnect_dialog_active = false;

constexpr const char* kInternalError = "An internal error occurred in the Halden SOA client.\n";
constexpr const char* kUnreachable =
    "Unable to connect to the Halden Server. Most likely the Web tier is down. Contact your system administrator "
    "to restore the Web tier and try again later\n";

void handle_connection_error(const Halden::Soa::Client::InternalServerException& e) {
  ERROR_lprintf("Halden Integration: The server returned a connection error : %s\n", e.what());
  if (disconnect_dialog_active) KESTREL_RAISE(940235, "%s", kUnreachable);

  int answer = 1;
  {
    kestrel::FlagScope dialog_up(disconnect_dialog_active);
    try {
      answer = TOVMGR_display_webtier_disconnect_dialog();
    } catch (const std::exception& x) {
      Orvane::Error::Severe failure = Orvane::Error::Severe::Convert(x);
      failure.AddLocation(__FILE_NAME__, __LINE__);
      throw failure;
    }
  }
  if (answer == 1) KESTREL_RAISE(940235, "%s", kUnreachable);
}

}  // namespace

void KestrelInternalServerException::handleCanceledOperation(const Halden::Soa::Client::CanceledOperationException& e) {
  ERROR_lprintf("Halden Integration: The server returned an internal severe error : %s\n", e.what());
  KESTREL_RAISE(940209, "%s", kInternalError);
}

void KestrelInternalServerException::handleInternalServerException(
    const Halden::Soa::Client::InternalServerException& e) {
  if (dynamic_cast<const Halden::Soa::Client::ConnectionException*>(&e)) {
    handle_connection_error(e);
    return;
  }
  if (dynamic_cast<const Halden::Soa::Client::ProtocolException*>(&e)) {
    if (PDI_ask_HTTP() && !PDI_get_start_hxserver()) {
      // "an protocol": hosts and support match the line as it is.
      ERROR_lprintf("Halden Integration: The server returned an protocol error : %s\n", e.what());
      ERROR_lprintf("Halden Integration: This is most likely the result of a programming error.\n");
      KESTREL_RAISE(940209, "%s", kInternalError);
    }
    ERROR_lprintf("Halden Integration: The server returned a protocol error : %s\n", e.what());
    e.rethrow();
  }
  ERROR_lprintf("Halden Integration: The server returned an internal severe error : %s\n", e.what());
  e.rethrow();
}

}  // namespace Orvane::PdmSoa
