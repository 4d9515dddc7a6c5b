// Saving assembly structure in batches. The host describes, parent by parent
// (its AssyId), the child occurrences (its CompId) to create or change, or
// the occurrence threads to remove, and sends each batch in one request at
// its commit. A batch lives from its Start to its Commit; a new Start
// discards one that was not committed. The record layout (the 2007-12 one or
// the older one) is chosen once, at Start.
#pragma once

#include <map>
#include <string>

struct date_s;
namespace Orvane::PdmSoa {
class ModelObject;
class Component;
}  // namespace Orvane::PdmSoa

int KESTREL_RelativeStructureUpdateStart();
// A parent's record; a null date is the null date. The date is used by the
// 2007-12 layout alone, which refuses one that is not valid (940208).
int KESTREL_RelativeStructureUpdateStartAssy(int assy_id, Orvane::PdmSoa::ModelObject* parent, bool precise,
                                             date_s* reprev_date_on_sync);
// Adds a child to the parent StartAssy registered for assy_id, or changes
// the one added before with the same comp_id: a given child and a non-empty
// cadOccId replace the old ones, a transform (16 values) replaces the old
// one, notes and attributes replace the texts of the first entry of the same
// type or name and add the others, and a true as_required stays true.
// Answers the child's client id, "<AssyId>_<CompId>".
std::string KESTREL_RelativeStructureAddChild(int assy_id, int comp_id, Orvane::PdmSoa::ModelObject* child,
                                              std::string cad_occ_id, const double* transform, bool as_required,
                                              const std::map<std::string, std::string>* notes,
                                              const std::map<std::string, std::string>* attributes);
// Sends the parents that have children and ends the batch. Answers a new map
// from client id to the occurrence's handle, "<parent> <BOM view> <thread>"
// (empty when the host gives the parent no BOM view), or null when nothing
// was sent; *components_out gets a new map from client id to the created
// occurrences (null when the commit raises). Both maps are the host's.
std::map<std::string, std::string>* KESTREL_RelativeStructureUpdateCommit(
    bool complete, std::map<std::string, Orvane::PdmSoa::Component*>** components_out);

int KESTREL_RelativeStructureDeleteStart();
int KESTREL_RelativeStructureDeleteStartAssy(int assy_id, Orvane::PdmSoa::ModelObject* parent,
                                             date_s* reprev_date_on_sync);
// Adds an occurrence thread to remove from the parent of assy_id; an empty
// uid adds nothing.
int KESTREL_RelativeStructureDeleteChild(int assy_id, std::string occurrence_uid);
int KESTREL_RelativeStructureDeleteCommit();
