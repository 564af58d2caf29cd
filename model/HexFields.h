#pragma once
// The fixed-width hexadecimal fields of the host parameter records: read by
// base-16 conversion (either case), written in lower case.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>

// The field of nWidth characters at pos; pos moves past it. False, with pos
// unchanged, when the text ends before the field does.
bool ParseHexField(const std::string& strText, std::size_t& pos, std::size_t nWidth, DWORD& dwValue);

// The value of nWidth characters at p as strtoul reads them in base 16.
DWORD HexFieldValue(const char* p, std::size_t nWidth);

// Appends the low nWidth hex digits of the value ("%02x", "%04x").
void AppendHexField(std::string& strText, DWORD dwValue, int nWidth);

// Appends the value as "%0<nWidth>x" writes it: at least nWidth digits.
void AppendHexPadded(std::string& strText, unsigned nValue, int nWidth);
