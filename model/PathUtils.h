#pragma once
// Small helpers on file paths and texts: joining and splitting paths,
// reading integers out of a text, writing lists of integers and cleaning
// control characters out of a text. Splitting accepts '/' and '\' as
// separators, since paths may come from files written on the original
// platform; joining writes '/'.

#include "platform/base/WinTypes.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// directory + separator + name; the separator is left out when the directory
// already ends in one. Empty when the directory or the name is empty.
std::string PathJoin(std::string_view directory, std::string_view name);

// Splits "dir/name.ext" into "dir", "name" and "ext" and returns 1. Returns 0
// and leaves the outputs untouched when the path is empty, has no separator
// or its file name has no '.' (a '.' in a folder name does not count: such a
// path is one whose file has no extension).
int PathSplit(std::string_view path, std::string& directory, std::string& name, std::string& extension);

// Skips blanks, tabs and commas, then reads a decimal integer with optional
// sign and moves `text` behind it. When no digits follow, `text` stays after
// the skipped separators and `nDefault` is returned. Values beyond 32 bits
// give the nearest 32-bit value.
LONG ParseNextInt(std::string_view& text, LONG nDefault);

// `count` integers read with ParseNextInt; 0 for each missing one.
std::vector<LONG> ParseIntList(std::string_view text, std::size_t count);

// Appends the decimal text of `value`; returns the new length.
std::size_t AppendLong(std::string& buffer, LONG value);

// The values in decimal, separated by single blanks; empty for no values.
std::string FormatIntList(std::span<const LONG> values);

// Replaces every tab, backspace, carriage return, line feed, form feed and
// vertical tab by a blank.
void ReplaceControlChars(std::string& text);

// The text with its last `count` characters replaced by `replacement`; a text
// shorter than `count` is replaced whole.
std::string ReplaceLastChars(std::string_view text, std::size_t count, std::string_view replacement);

// The path with the extension of its file name (what follows the last '.'
// after the last separator) replaced by `extension`; a file name without one
// gets "." and the extension appended.
std::string ReplaceExtension(std::string_view path, std::string_view extension);
