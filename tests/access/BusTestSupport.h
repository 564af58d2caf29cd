#pragma once
// Shared by the bus-access tests: the log lines of a test caught through a
// host logger of its own, and a fake host device management that records
// what it is asked.

#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "platform/com/ComObject.h"
#include "platform/host/EtsDeviceManagement.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace bustest {

class CLogLines : public IHostLogger {
public:
    HRESULT Log(LONG nLevel, const char* pszText) override
    {
        std::string strLine = pszText;
        while (!strLine.empty() && strLine.back() == '\n')
            strLine.pop_back();
        m_arrLines.push_back({nLevel, strLine});
        return S_OK;
    }
    HRESULT IsEnabled(LONG, SHORT& nEnabled) override
    {
        nEnabled = 1;
        return S_OK;
    }
    HRESULT SetName(const std::string&) override { return S_OK; }

    struct Line {
        LONG nLevel;
        std::string strText;
    };
    // Whether a line of the level holds the text.
    bool Has(LONG nLevel, const std::string& strPart) const
    {
        for (const Line& line : m_arrLines) {
            if (line.nLevel == nLevel && line.strText.find(strPart) != std::string::npos)
                return true;
        }
        return false;
    }
    bool HasError(const std::string& strPart) const { return Has(LOG_LEVEL_ERROR, strPart); }

    std::vector<Line> m_arrLines;
};

// Routes the log of the test's lifetime into CLogLines (through the plug-in
// road of the logging, whatever mode the code under test runs in).
class CLogCapture {
public:
    CLogCapture()
        : m_pLines(std::make_shared<CLogLines>()), m_logger(m_pLines, nullptr), m_bStandalone(g_bStandalone),
          m_pPrevious(g_pHostLogger)
    {
        g_bStandalone = false;
        g_pHostLogger = &m_logger;
    }
    ~CLogCapture()
    {
        g_bStandalone = m_bStandalone;
        g_pHostLogger = m_pPrevious;
    }
    CLogLines& Lines() { return *m_pLines; }

private:
    std::shared_ptr<CLogLines> m_pLines;
    CHostLogger m_logger;
    bool m_bStandalone;
    CHostLogger* m_pPrevious;
};

// A host device management that answers with a result of the test's choice
// and records its calls.
class CFakeDeviceManagement : public IDeviceManagement, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CFakeDeviceManagement)
    COM_INTERFACE_ENTRY(IDeviceManagement)
    END_COM_MAP()

    HRESULT Connect() override { return Call("Connect"); }
    HRESULT Disconnect() override { return Call("Disconnect"); }
    HRESULT ReadProp(BYTE nObjectIndex, BYTE nPropertyId, BYTE nType, WORD nStartIndex, BYTE nCount,
                     WORD nBufferLength, BYTE* pBuffer) override
    {
        m_arrArgs = {nObjectIndex, nPropertyId, nType, nStartIndex, nCount, nBufferLength};
        if (SUCCEEDED(m_hr) && pBuffer)
            std::memcpy(pBuffer, m_arrReply.data(), std::min<std::size_t>(m_arrReply.size(), nBufferLength));
        return Call("ReadProp");
    }
    HRESULT WriteMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, const BYTE* pData, LONG nReserved,
                     BOOL bVerify) override
    {
        m_arrArgs = {nMemoryType, static_cast<LONG>(dwAddress), nLength, nReserved, bVerify};
        m_arrWritten.assign(pData, pData + nLength);
        return Call("WriteMem");
    }
    HRESULT ReadMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, BYTE* pBuffer) override
    {
        m_arrArgs = {nMemoryType, static_cast<LONG>(dwAddress), nLength};
        if (SUCCEEDED(m_hr))
            std::memcpy(pBuffer, m_arrReply.data(), std::min<std::size_t>(m_arrReply.size(), nLength));
        return Call("ReadMem");
    }

    HRESULT m_hr = S_OK;
    std::vector<BYTE> m_arrReply;
    std::vector<std::string> m_arrCalls;
    std::vector<LONG> m_arrArgs;  // of the last call
    std::vector<BYTE> m_arrWritten;

private:
    HRESULT Call(const char* pszName)
    {
        m_arrCalls.push_back(pszName);
        return m_hr;
    }
};

}  // namespace bustest
