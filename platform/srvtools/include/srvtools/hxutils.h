#pragma once

// Fresh single-sign-on credentials: user and password, copied into the base
// library's memory (freed with SM_free). 0 on success; on failure both stay null.
int HXUTILS_get_SSO_credentials(char** user, char** password);
