// Related-object requests, free of host classes and of the property policy,
// so both builds share them.
#pragma once

#include <string>
#include <vector>

#include "halden/services/cad/DatamanagementService.h"
#include "halden/services/core/RelationFilter.h"
#include "halden/soa/client/ModelObject.h"

namespace kestrel {

// One filter per relation name, in order, with no type names.
std::vector<Halden::Services::Core::RelationFilter> relation_filters(const std::vector<std::string>& names);

// Sends the CAD related-objects request for one object under one relation
// and answers the objects of the first group of the first output, nulls
// included; empty when the reply has no output or no group.
std::vector<Halden::Soa::Client::ModelObject*> first_cad_related_group(
    Halden::Services::Cad::DatamanagementService& service, Halden::Soa::Client::ModelObject* object,
    const std::string& relation_name);

}  // namespace kestrel
