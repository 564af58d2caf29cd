#pragma once
// Scoped pieces of the process state for the window tests: a temporary
// folder, an environment variable, the log of a standalone run captured in a
// file, and the globals of an editing run.

#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "common/Globals.h"
#include "common/LogFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace uitest {

class CTempDir {
public:
    CTempDir() {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "chrono-ui-XXXXXX").string();
        if (::mkdtemp(strTemplate.data()) != nullptr) {
            m_strPath = strTemplate;
        }
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_strPath, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }

private:
    std::string m_strPath;
};

class CScopedEnv {
public:
    CScopedEnv(const char* pszName, const char* pszValue) : m_strName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_oldValue = pszOld;
        }
        if (pszValue != nullptr) {
            ::setenv(pszName, pszValue, 1);
        } else {
            ::unsetenv(pszName);
        }
    }
    ~CScopedEnv() {
        if (m_oldValue) {
            ::setenv(m_strName.c_str(), m_oldValue->c_str(), 1);
        } else {
            ::unsetenv(m_strName.c_str());
        }
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_strName;
    std::optional<std::string> m_oldValue;
};

// The log lines of a standalone run, written to a file of a temporary folder.
class CLogCapture {
public:
    CLogCapture() : m_bStandalone(g_bStandalone), m_pPrevious(g_pLogFile) {
        g_bStandalone = true;
        m_logFile.Start(m_dir.File("test.log"));
        g_pLogFile = &m_logFile;
    }
    ~CLogCapture() {
        g_pLogFile = m_pPrevious;
        g_bStandalone = m_bStandalone;
    }
    CLogCapture(const CLogCapture&) = delete;
    CLogCapture& operator=(const CLogCapture&) = delete;

    // Everything after the first line ("Start logging date: ...").
    std::string Lines() const {
        std::ifstream file(m_dir.File("test.log"), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        const std::string strAll = text.str();
        const std::size_t nFirst = strAll.find('\n');
        return nFirst == std::string::npos ? std::string() : strAll.substr(nFirst + 1);
    }

private:
    CTempDir m_dir;
    bool m_bStandalone;
    CLogFile* m_pPrevious;
    CLogFile m_logFile;
};

// The globals of an editing run: a central object, the mode and the OEM
// manufacturer, put back afterwards.
class CEditingRun {
public:
    explicit CEditingRun(bool bStandalone)
        : m_bStandalone(g_bStandalone), m_pPrevious(g_pChronoset), m_strManuf(g_atlModule.m_strManuf) {
        g_bStandalone = bStandalone;
        g_pChronoset = &m_chronoset;
    }
    ~CEditingRun() {
        g_pChronoset = m_pPrevious;
        g_bStandalone = m_bStandalone;
        g_atlModule.m_strManuf = m_strManuf;
    }
    CEditingRun(const CEditingRun&) = delete;
    CEditingRun& operator=(const CEditingRun&) = delete;

    CChronoset& Chronoset() { return m_chronoset; }

private:
    bool m_bStandalone;
    CChronoset* m_pPrevious;
    std::string m_strManuf;
    CChronoset m_chronoset;
};

}  // namespace uitest
