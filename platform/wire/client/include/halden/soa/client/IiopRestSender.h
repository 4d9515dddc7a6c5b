// The framework's gateway of IIOP clients to the REST tier.
#pragma once

struct CORBA_Object;

namespace Halden::Soa::Client {

class IiopRestSender {
 public:
  // The IOR of the gateway that serves the object, or null when it has none
  // yet. The text is the framework's.
  static char* getGatewayIOR(CORBA_Object* object);
};

}  // namespace Halden::Soa::Client
