#pragma once

#include <string>

// Fresh single-sign-on credentials: user and password, copied into the base
// library's memory (freed with SM_free). 0 on success; on failure both stay null.
int HXUTILS_get_SSO_credentials(char** user, char** password);

// The single-sign-on cookie of the key, in five parts; what each part means
// is the sign-on service's.
void HXUTILS_GetCookieInfo(const char* key, std::string& first, std::string& second, std::string& third,
                           std::string& fourth, std::string& fifth);
