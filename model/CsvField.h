#pragma once
// One cell of a text-export line: the text between double quotes, a double
// quote inside it doubled so that the cell reads back whole.

#include <string>

std::string CsvField(const std::string& strText);

// The same cell appended to a text.
void AppendCsvField(std::string& strOut, const std::string& strText);
