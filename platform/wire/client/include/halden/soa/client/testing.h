// Controls of the client framework stand-in for tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"

struct CORBA_Object;

namespace Halden::Soa::Client::testing {

// UIDs the model manager rejects as malformed: looking one up or constructing
// it throws RuntimeException, as the framework does for a bad UID.
void set_malformed_uids(std::vector<std::string> uids);

// UIDs for which constructTypedObject answers null, as the framework does for
// an object it cannot build.
void set_unconstructible_uids(std::vector<std::string> uids);

// Property names whose read throws RuntimeException, as the framework does for
// a value it cannot decode.
void set_unreadable_properties(std::vector<std::string> names);

// What IiopRestSender::getGatewayIOR answers, attempt by attempt; past the
// list the last answer holds, and with none it answers null.
struct GatewayAnswer {
  enum class Kind { Text, Null, Throw };
  Kind kind = Kind::Null;
  std::string text;
};
void set_gateway_answers(std::vector<GatewayAnswer> answers);
// The objects getGatewayIOR was asked for, one per call.
const std::vector<CORBA_Object*>& gateway_requests();
void reset_gateway();

// Makes getService of the named service throw: a RuntimeException, or a
// SoaException with the detail text given.
enum class ServiceFailure { None, Runtime, Soa };
void set_get_service_failure(const std::string& service, ServiceFailure failure, const std::string& detail = "");
// Makes every Connection constructed from now on throw, as a framework that
// cannot set up its transport does: a RuntimeException or a SoaException
// with the message given; None builds them again.
void set_connection_failure(ServiceFailure failure, const std::string& message = "");
// The binding and the keep-alive flag a connection was made with.
Binding binding_of(const Connection& connection);
bool keep_alive_of(const Connection& connection);
// Whether removing a delete listener throws RuntimeException.
void set_listener_removal_failure(bool fail);

// The connection whose getOption is under way (for a stub answering it), or null.
const Connection* option_connection();

// The ticket maps FccProxy::uploadFiles was given, one per call.
const std::vector<std::map<std::string, std::string>>& uploads();
// The status uploadFiles answers for a ticket (0 unless set).
void set_upload_status(const std::string& ticket, int status);
// Makes uploadFiles throw RuntimeException with this text; empty: it uploads.
void set_upload_failure(const std::string& message);
void reset_uploads();

// None of the above.
void reset();

}  // namespace Halden::Soa::Client::testing
