#include "halden/soa/client/IiopRestSender.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/internal/Request.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"

namespace Halden::Soa::Client {

namespace {
struct Gateway {
  std::vector<testing::GatewayAnswer> answers;
  std::vector<CORBA_Object*> asked;
  std::string text;  // the last IOR handed out, valid until the next call
};

Gateway& gateway() {
  static Gateway g;
  return g;
}
}  // namespace

namespace testing {
void set_gateway_answers(std::vector<GatewayAnswer> answers) { gateway().answers = std::move(answers); }
const std::vector<CORBA_Object*>& gateway_requests() { return gateway().asked; }
void reset_gateway() { gateway() = Gateway{}; }
}  // namespace testing

char* IiopRestSender::getGatewayIOR(CORBA_Object* object) {
  auto& g = gateway();
  const std::size_t attempt = g.asked.size();
  g.asked.push_back(object);
  // Past the script, the last answer holds; no script: no gateway yet.
  if (g.answers.empty()) return nullptr;
  const auto& answer = g.answers[attempt < g.answers.size() ? attempt : g.answers.size() - 1];
  switch (answer.kind) {
    case testing::GatewayAnswer::Kind::Null:
      return nullptr;
    case testing::GatewayAnswer::Kind::Throw:
      throw RuntimeException("gateway not reachable");
    case testing::GatewayAnswer::Kind::Text:
      break;
  }
  g.text = answer.text;
  return g.text.data();
}

}  // namespace Halden::Soa::Client

namespace Halden::Soa::Client::Internal {

namespace {
struct ScriptedServiceFailure {
  std::string service;
  testing::ServiceFailure failure = testing::ServiceFailure::None;
  std::string detail;
};
ScriptedServiceFailure& service_failure() {
  static ScriptedServiceFailure f;
  return f;
}
}  // namespace

void failIfScripted(const char* service) {
  const auto& f = service_failure();
  if (f.failure == testing::ServiceFailure::None || f.service != service) return;
  if (f.failure == testing::ServiceFailure::Runtime) throw RuntimeException(std::string("no service ") + service);
  throw Common::Exceptions::SoaException(std::string("service ") + service + " refused", f.detail);
}

}  // namespace Halden::Soa::Client::Internal

namespace Halden::Soa::Client::testing {
void set_get_service_failure(const std::string& service, ServiceFailure failure, const std::string& detail) {
  Internal::service_failure() = {service, failure, detail};
}
}  // namespace Halden::Soa::Client::testing
