#include "platform/bus/InterfaceSelection.h"

#include <algorithm>

namespace Falcon {

std::string ReadBoundedOleString(const char16_t* pField, std::size_t nLength)
{
    if (!pField)
        return {};
    const char16_t* pEnd = std::find(pField, pField + nLength, u'\0');
    return platform::OleStringToUtf8(std::u16string_view(pField, static_cast<std::size_t>(pEnd - pField)));
}

bool WriteBoundedOleString(char16_t* pField, std::size_t nLength, std::string_view utf8)
{
    if (!pField || nLength == 0)
        return false;
    const std::u16string text = platform::Utf8ToOleString(utf8);
    // An embedded zero would end the text early for every reader.
    if (text.size() >= nLength || text.find(u'\0') != std::u16string::npos)
        return false;
    std::copy(text.begin(), text.end(), pField);
    std::fill(pField + text.size(), pField + nLength, u'\0');
    return true;
}

}  // namespace Falcon
