#pragma once
// BSTR: the length-prefixed UTF-16 string that crosses object interfaces.
// The pointer addresses the first character; the four bytes before it hold
// the length in bytes and a zero character follows the text, so a BSTR is
// also a zero-terminated wide string. A null BSTR is a valid empty string.
// Memory comes from the C heap, so any module of the process may free a BSTR
// another one allocated.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;

// A copy of a zero-terminated string; null for a null source.
BSTR SysAllocString(LPCOLESTR psz);
// `cch` characters copied from `pch`, or zeroed when `pch` is null; the
// string may hold zero characters of its own.
BSTR SysAllocStringLen(LPCOLESTR pch, UINT cch);
// Replaces *pbstr by a copy of psz; FALSE (and *pbstr unchanged) on failure.
BOOL SysReAllocString(BSTR* pbstr, LPCOLESTR psz);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);

namespace platform {

// UTF-8 <-> UTF-16 for texts that cross interfaces. Malformed UTF-8 and
// unpaired surrogates become U+FFFD, so nothing is dropped silently.
std::u16string Utf8ToOleString(std::string_view utf8);
std::string OleStringToUtf8(std::u16string_view text);
// A zero-terminated wide string (null gives "").
std::string OleStringToUtf8(LPCOLESTR psz);

// A new BSTR holding the UTF-8 text (null only when memory runs out).
BSTR BstrFromUtf8(std::string_view utf8);
// The whole BSTR by its length prefix, embedded zeros included.
std::string BstrToUtf8(BSTR bstr);

}  // namespace platform
