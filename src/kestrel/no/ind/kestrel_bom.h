// BOM windows under the current revision rule, their top lines, line
// expansion with the related data of each line, and lines found by paths.
// A null window, line, scope or output list raises 940208.
#pragma once

#include <string>
#include <vector>

#include "objmodel/ModelObject.h"

// Opens a window on the server for the revision of the UID.
Orvane::PdmSoa::BomWindow* KESTREL_create_bom_window(const std::string& item_revision_uid);
void KESTREL_close_bom_window(Orvane::PdmSoa::BomWindow* window);
Orvane::PdmSoa::BomLine* KESTREL_ask_bom_top_line(Orvane::PdmSoa::BomWindow* window);

// Related-data modes of an expansion: 1 the six relations of the host's
// related data, 2 the master models alone, 3 the lines alone (several
// lines only); any other value every related dataset.
//
// The lists are new and the host's, and so is every child line in them.
std::vector<Orvane::PdmSoa::BomLine*>* KESTREL_expand_bom_line(Orvane::PdmSoa::BomLine* line, int related_data_mode);
// One list of children per output of the reply.
std::vector<std::vector<Orvane::PdmSoa::BomLine*>*>* KESTREL_expand_bom_lines(
    const std::vector<Orvane::PdmSoa::BomLine*>& lines, int related_data_mode);

// Appends, per path, the line whose key is the path's last string; a path
// that finds nothing appends nothing.
void KESTREL_ask_bom_lines_by_path(Orvane::PdmSoa::ModelObject* scope,
                                   const std::vector<std::vector<std::string>>& paths,
                                   std::vector<Orvane::PdmSoa::BomLine*>* out);
