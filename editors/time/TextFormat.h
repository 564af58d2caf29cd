#pragma once
// Filling the number fields of resource texts. A translated text is never
// handed to printf: only its "%d" fields are replaced, in order, so a stray
// field in a translation cannot read past the values given.

#include <initializer_list>
#include <string>

std::string FormatIntFields(const std::string& strFormat, std::initializer_list<int> values);
