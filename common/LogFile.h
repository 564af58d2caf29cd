#pragma once
// The log file of a standalone run. Every line is appended on its own: the
// file is opened, written and closed again per line, so it is complete up to
// the last line whatever happens to the process, and collects all runs one
// after the other.

#include <string>

class CLogFile {
public:
    CLogFile() = default;

    // Stores the path and appends "Start logging date: yyyy-mm-dd", on a
    // line of its own even when a killed run left its last line cut.
    void Start(const std::string& strPath);

    // Appends "hh:mm:ss.mmm  " with the local time, the tag of the level
    // ("E ", "W ", "I ", "1 ", "2 " for levels 2 to 6, none otherwise) and
    // the text.
    void WriteLine(int nLevel, const char* pszText);

    // Appends the line and CR LF. A file that cannot be opened drops the
    // line without a report; so does a write that fails partway, which
    // takes back what it wrote of the line.
    void Append(const std::string& strLine);

    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strPath;
    // The last line was cut and could not be taken back.
    bool m_bLineCut = false;
};

// The log file of the standalone run in progress, null otherwise.
extern CLogFile* g_pLogFile;
