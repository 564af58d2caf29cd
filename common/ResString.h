#pragma once
// Strings of the string table of the active resource module (the built-in
// German resources or the English library), read at the moment of the call.

#include "platform/base/WinTypes.h"

#include <string>

// The entry with that id, or the built-in (German) text when the active
// module has none.
std::string GetResString(UINT nId, const char* pszDefault);
std::string GetResString(UINT nId, const std::string& strDefault);
// The same text appended to strOut, without a string of its own.
void AppendResString(std::string& strOut, UINT nId, const char* pszDefault);

// The entry with that id; empty when the active module has none.
std::string LoadResString(UINT nId);
