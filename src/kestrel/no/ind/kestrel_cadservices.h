// CAD data management: dataset files and tickets, and the turn of a server
// object into the host's workspace object.
#pragma once

namespace Halden::Soa::Client {
class ModelObject;
}
namespace Orvane::PdmSoa {
class WorkspaceObject;
}

// The host's workspace object of a server object; null for none, or when
// the host object is no workspace object.
Orvane::PdmSoa::WorkspaceObject* KESTREL_ask_workspace_object(Halden::Soa::Client::ModelObject* object);
