// The two CORBA types the legacy build names. The build hands a CORBA_Object
// through to the framework's gateway-IOR call and uses nothing else of an
// ORB, so no ORB stands behind these: the legacy library links none.
#pragma once

#include <string>

// An object reference of the host's ORB; opaque to the library.
struct CORBA_Object {
  std::string reference;
};

// What an ORB tells of one of its services.
struct CORBA_ServiceDetail {
  unsigned long service_detail_type = 0;
  std::string service_detail;
};
