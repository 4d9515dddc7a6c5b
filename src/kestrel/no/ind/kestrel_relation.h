// Requirement trace links, the server-generation probe and the export of
// requirement full text.
#pragma once

#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"

namespace Halden::Soa::Client {
class ModelObject;
}

namespace kestrel {

// True when a server-version text is of the 2007 generation: it begins with
// "V2007" or "P2007" (case counts).
bool is_version_2007(const std::string& version);

// True when the session's server is of the 2007 generation (its version text
// begins with "V2007" or "P2007"). Asked of the server once per process: the
// answer outlives logout and later connections. A failed request leaves it
// unasked, so the next call asks again.
bool is_server_version_2007();

// The session's server objects of the host objects, by UID, in order; all
// are checked before the caller sends anything.
std::vector<Halden::Soa::Client::ModelObject*> get_server_objects(
    const std::vector<Orvane::PdmSoa::ModelObject*>& objects, const char* entry);

}  // namespace kestrel

// New lists the host owns: one entry per trace link the report reaches.
std::vector<TraceLinkEntry>* KESTREL_ask_defining_tree(Orvane::PdmSoa::ModelObject* object);
std::vector<TraceLinkEntry>* KESTREL_ask_defining_objects(Orvane::PdmSoa::ModelObject* object);
std::vector<TraceLinkEntry>* KESTREL_ask_complying_objects(Orvane::PdmSoa::ModelObject* object);

// The created links, in a new list the host owns.
std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_create_trace_links(
    const std::string& text1, const std::string& text2, const std::vector<Orvane::PdmSoa::ModelObject*>& primaries,
    const std::vector<Orvane::PdmSoa::ModelObject*>& secondaries);
// On a 2007 server modifies the link with the four lists; on a newer server
// removes the link and ignores the lists.
void KESTREL_modify_trace_link(Orvane::PdmSoa::ModelObject* link,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list1,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list2,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list3,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list4);

// Exports the full text attached to the objects as word-processor documents.
FullTextExport KESTREL_export_fulltext_to_word(const std::vector<std::string>& uids);
