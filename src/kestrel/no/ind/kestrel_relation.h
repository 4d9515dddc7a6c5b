// Requirement trace links, the server-generation probe and the export of
// requirement full text.
#pragma once

namespace kestrel {

// True when the session's server is of the 2007 generation (its version text
// begins with "V2007" or "P2007"). Asked of the server once per process: the
// answer outlives logout and later connections. A failed request leaves it
// unasked, so the next call asks again.
bool is_server_version_2007();

}  // namespace kestrel
