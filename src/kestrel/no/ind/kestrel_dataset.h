// Named references of datasets.
#pragma once

#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_types.h"

// One record per output of the reply, in reply order, with copies of the
// dataset's references. A null dataset in the list raises 940208.
std::vector<DatasetReferences> KESTREL_ask_dataset_references(
    const std::vector<Halden::Soa::Client::ModelObject*>& datasets);
