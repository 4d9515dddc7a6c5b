#include "kestrel_host.h"

namespace kestrel {

Orvane::PdmSoa::ModelObject* host_object_of(Halden::Soa::Client::ModelObject* object) {
  return Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectWithUid(UString(object->getUid()), object);
}

// The format is the caller's own constant, checked at its call by the
// format attribute of the declaration.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

Halden::Soa::Client::ModelObject* server_object_of(Site site, Orvane::PdmSoa::ModelObject* object, int code,
                                                   const char* format) {
  Halden::Soa::Client::ModelObject* server_object = object ? object->GetObjectPtr() : nullptr;
  if (!server_object)
    ERROR_raise(site.file, site.line, code, format, object ? UStringToString(object->GetUid()).c_str() : "");
  return server_object;
}

#pragma GCC diagnostic pop

std::vector<Halden::Soa::Client::ModelObject*> server_objects_of(
    Site site, const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const char* entry, int code,
    const char* format) {
  std::vector<Halden::Soa::Client::ModelObject*> server_objects;
  server_objects.reserve(objects.size());
  for (Orvane::PdmSoa::ModelObject* object : objects) {
    if (!object) ERROR_raise(site.file, site.line, 940208, "KRAL SOA: Null object in %s", entry);
    server_objects.push_back(server_object_of(site, object, code, format));
  }
  return server_objects;
}

}  // namespace kestrel
