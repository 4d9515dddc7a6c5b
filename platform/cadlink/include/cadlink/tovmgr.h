// The host's PDM manager layer.
#pragma once

// Root of the host's advanced-search state.
class TOVMGR_AdvancedSearchRoot {
 public:
  virtual ~TOVMGR_AdvancedSearchRoot() = default;
  // Forgets the search results that came from the session's server.
  virtual void Invalidate() = 0;
};

bool TOVMGR_ask_enable_AdvancedSearch();
TOVMGR_AdvancedSearchRoot* TOVMGR__ask_advsearch_root();
void TOVMGR_reset_advsearch_valid();

// Asks the user what to do about a lost web tier; 1 means give up.
int TOVMGR_display_webtier_disconnect_dialog();
