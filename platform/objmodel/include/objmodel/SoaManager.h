#pragma once

#include <string>
#include <vector>

#include "corerun/ustring.h"
#include "objmodel/ModelObjectManager.h"

struct KESTREL_interface_s;

namespace Orvane::PdmSoa {

class SoaManager {
 public:
  static ModelObjectManager* GetObjectManager();
  // Asks the server, through the loaded library, which services it offers.
  static const std::vector<std::string>& GetAvailableSoaServices();
  // Whether the last list of services names this one.
  static bool IsServiceAvailable(const char* name);
  // The objects related to the object as secondaries under the relation
  // ("" for every relation), asked through the loaded library's table.
  static std::vector<ModelObject*> GetSecondaryObjects(ModelObject* object, const std::string& relation_name);
  static std::string GetDefaultIiopString();
  // Whether the host's PDM interface works through this library's session.
  static bool UseSoaInPdi();
  // The table of the loaded library; the host keeps what the library's
  // init function returned.
  static const KESTREL_interface_s* GetSoaInterface();
  static void SetSoaInterface(const KESTREL_interface_s* table);
};

}  // namespace Orvane::PdmSoa

// The property policy the framework stamps on the following requests.
void SetActivePropertyPolicy(int policy);

// Conversions between the host's and the standard library's strings.
std::string UStringToString(const UString& text);
UString StringToUString(const std::string& text);
std::vector<std::string> UStringVecToStringVec(const std::vector<UString>& texts);
std::vector<UString> StringVecToUStringVec(const std::vector<std::string>& texts);

// Host settings of the running PDM layer.
bool PDI_ask_HTTP();
bool PDI_get_start_hxserver();
