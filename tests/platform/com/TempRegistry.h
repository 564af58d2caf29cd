#pragma once
// A registry file of its own in a fresh temporary directory, named by
// CHRONO_REGISTRY_FILE while the object lives.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class CTempRegistry {
public:
    CTempRegistry()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/comtestXXXXXX";
        if (char* dir = ::mkdtemp(pattern.data()))
            m_strDirectory = dir;
        m_strFile = m_strDirectory + "/config/registry.json";
        if (const char* old = std::getenv("CHRONO_REGISTRY_FILE"))
            m_oldValue = old;
        ::setenv("CHRONO_REGISTRY_FILE", m_strFile.c_str(), 1);
    }
    ~CTempRegistry()
    {
        if (m_oldValue)
            ::setenv("CHRONO_REGISTRY_FILE", m_oldValue->c_str(), 1);
        else
            ::unsetenv("CHRONO_REGISTRY_FILE");
        std::error_code ec;
        if (!m_strDirectory.empty())
            std::filesystem::remove_all(m_strDirectory, ec);
    }
    CTempRegistry(const CTempRegistry&) = delete;
    CTempRegistry& operator=(const CTempRegistry&) = delete;

    const std::string& GetDirectory() const { return m_strDirectory; }
    const std::string& GetFilePath() const { return m_strFile; }

private:
    std::string m_strDirectory;
    std::string m_strFile;
    std::optional<std::string> m_oldValue;
};
