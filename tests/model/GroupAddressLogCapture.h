#pragma once
// Collects the log lines of a test through the host-logger route, and puts
// the process-wide logging and debug state back afterwards.

#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"

#include <memory>
#include <string>
#include <vector>

class CGroupAddressLogCapture {
public:
    struct Line {
        LONG nLevel;
        std::string strText;
    };

    CGroupAddressLogCapture()
        : m_bStandalone(g_bStandalone), m_bDebugMode(g_bDebugMode), m_pHostLogger(g_pHostLogger),
          m_pSink(std::make_shared<Sink>()), m_logger(m_pSink, nullptr)
    {
        g_bStandalone = false;
        g_pHostLogger = &m_logger;
    }
    ~CGroupAddressLogCapture()
    {
        g_bStandalone = m_bStandalone;
        g_bDebugMode = m_bDebugMode;
        g_pHostLogger = m_pHostLogger;
    }
    CGroupAddressLogCapture(const CGroupAddressLogCapture&) = delete;
    CGroupAddressLogCapture& operator=(const CGroupAddressLogCapture&) = delete;

    const std::vector<Line>& Lines() const { return m_pSink->m_arrLines; }
    void Clear() { m_pSink->m_arrLines.clear(); }

    // How many lines of the level hold the text.
    int Count(LONG nLevel, const std::string& strText) const
    {
        int n = 0;
        for (const Line& line : Lines())
            if (line.nLevel == nLevel && line.strText.find(strText) != std::string::npos)
                ++n;
        return n;
    }
    bool Has(LONG nLevel, const std::string& strText) const { return Count(nLevel, strText) > 0; }
    int CountLevel(LONG nLevel) const
    {
        int n = 0;
        for (const Line& line : Lines())
            n += line.nLevel == nLevel ? 1 : 0;
        return n;
    }
    // The text of line i without the level mark, the source prefix and the
    // line end.
    std::string TextOf(std::size_t i) const
    {
        std::string strText = Lines().at(i).strText;
        const std::size_t nPrefix = strText.find("): ");
        if (nPrefix != std::string::npos)
            strText.erase(0, nPrefix + 3);
        if (!strText.empty() && strText.back() == '\n')
            strText.pop_back();
        return strText;
    }

private:
    class Sink : public IHostLogger {
    public:
        HRESULT Log(LONG nLevel, const char* pszText) override
        {
            m_arrLines.push_back({nLevel, pszText});
            return S_OK;
        }
        HRESULT IsEnabled(LONG, SHORT& nEnabled) override
        {
            nEnabled = 1;
            return S_OK;
        }
        HRESULT SetName(const std::string&) override { return S_OK; }

        std::vector<Line> m_arrLines;
    };

    bool m_bStandalone;
    bool m_bDebugMode;
    CHostLogger* m_pHostLogger;
    std::shared_ptr<Sink> m_pSink;
    CHostLogger m_logger;
};
