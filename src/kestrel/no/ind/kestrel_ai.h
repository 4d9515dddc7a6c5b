// Structure generation through the AI service.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pairs label and version UIDs (an empty one takes the other's value, a pair
// of two empty ones is left out) and answers the service's text; 940208 for
// empty or unequal lists, 940209 when the service answers nothing.
std::string KESTREL_generate_structure(const std::vector<std::string>& label_uids,
                                       const std::vector<std::string>& version_uids, std::int64_t value,
                                       const std::string& text, int option);
