#pragma once
// How the tools tell an option from a file name on their command lines.

// An argument that begins with '-' (other than "-" alone) is an option: a
// tool that takes a path never takes one for it, so a mistyped option makes
// no file of that name. A file whose name begins with '-' is given as
// "./-name".
inline bool IsOptionArgument(const char* pszArg)
{
    return pszArg != nullptr && pszArg[0] == '-' && pszArg[1] != '\0';
}
