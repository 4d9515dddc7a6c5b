// Descriptions of server types.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"

// A new map, owned by the caller, from each type the server described to its
// entries; one request even for an empty list.
std::map<std::string, std::vector<TypeDescriptionEntry>>* KESTREL_ask_type_descriptions(
    const std::vector<TypeDescriptionRequest>& requests);
