// Server objects as this build's host objects, and back.
#pragma once

#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "kestrel_call.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace kestrel {

// The host object of a server object, of the host class the registry picks.
Orvane::PdmSoa::ModelObject* host_object_of(Halden::Soa::Client::ModelObject* object);

// The server object wrapped as host class T; null for no object, or when
// the host holds the object as another class.
template <class T>
T* wrap_as(Halden::Soa::Client::ModelObject* object) {
  return dynamic_cast<T*>(
      Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectAsClass(object, T::AskClassName()));
}

// The server object behind a host object. None, or no host object, raises
// the code from the site with the format given, whose one argument is the
// host object's UID ("" without a host object).
Halden::Soa::Client::ModelObject* server_object_of(Site site, Orvane::PdmSoa::ModelObject* object, int code,
                                                   const char* format) __attribute__((format(printf, 4, 0)));

// The server objects of the host objects, in order, all checked before the
// caller sends anything: a null host object raises 940208 "KRAL SOA: Null
// object in <entry>", one without a server object as server_object_of.
std::vector<Halden::Soa::Client::ModelObject*> server_objects_of(
    Site site, const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const char* entry, int code,
    const char* format) __attribute__((format(printf, 5, 0)));

}  // namespace kestrel
