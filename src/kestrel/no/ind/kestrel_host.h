// Server objects as this build's host objects, and back.
#pragma once

#include <cstddef>
#include <string>
#include <typeinfo>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "kestrel_call.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace kestrel {

// The host object of a server object, of the host class the registry picks.
Orvane::PdmSoa::ModelObject* host_object_of(Halden::Soa::Client::ModelObject* object);

// The server objects of a long reply lie all over memory, and reading each
// one's UID in turn would wait on memory each time: asking for the one some
// places ahead while handling this one overlaps the waits.
inline void prefetch_ahead(const std::vector<Halden::Soa::Client::ModelObject*>& objects, std::size_t i) {
  constexpr std::size_t kAhead = 8;
  if (i + kAhead >= objects.size()) return;
  const char* object = reinterpret_cast<const char*>(objects[i + kAhead]);
  __builtin_prefetch(object);
  __builtin_prefetch(object + sizeof(void*) + sizeof(std::string));  // the UID's own text
}

// Host objects as host class T, exactly as dynamic_cast answers, for the
// objects of one reply: the answer for the last dynamic type is kept, as a
// reply's objects are mostly of one or two classes and a cast across the
// host's libraries compares type names.
template <class T>
class AsHostClass {
 public:
  T* operator()(Orvane::PdmSoa::ModelObject* object) {
    if (!object) return nullptr;
    const std::type_info* type = &typeid(*object);
    if (type != type_) {
      T* cast = dynamic_cast<T*>(object);
      type_ = type;
      is_ = cast != nullptr;
      offset_ = is_ ? reinterpret_cast<char*>(cast) - reinterpret_cast<char*>(object) : 0;
      return cast;
    }
    return is_ ? reinterpret_cast<T*>(reinterpret_cast<char*>(object) + offset_) : nullptr;
  }

 private:
  const std::type_info* type_ = nullptr;
  bool is_ = false;
  std::ptrdiff_t offset_ = 0;
};

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
