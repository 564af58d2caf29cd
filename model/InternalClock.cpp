#include "model/InternalClock.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "access/ObjectLinkTable.h"
#include "common/ProgressSteps.h"
#include "model/ArchiveSchema.h"
#include "model/CsvField.h"
#include "model/GroupDataAddress.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportDC.h"
#include "report/ReportFontSelection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

constexpr DWORD kNoReference = 0xFFFFFFFF;

// Object words: configuration byte, then the value type (0x00 one bit, 0x09
// three bytes). Bit 0x04 of the configuration enables communication.
constexpr WORD kRequestWordLinked = 0x5F00;
constexpr WORD kRequestWordUnlinked = 0x5B00;
constexpr WORD kDateTimeWordLinked = 0x5709;
constexpr WORD kDateTimeWordUnlinked = 0x5309;

using progress::Step;

std::string ClockTitle()
{
    return GetResString(120, "Interne Uhr");
}

void ShowClock(CProgressInfo* pProgress)
{
    if (pProgress)
        pProgress->SetBottomText(ClockTitle());
}

// Reference, main type and sub type of a group address for the parameter
// text: none gives ffffffff and types 0.
void AppendAddressFields(std::string& strText, const CGroupDataAddress* pAddress)
{
    const DWORD dwReference = pAddress ? static_cast<DWORD>(pAddress->GetReference()) : kNoReference;
    AppendHexField(strText, dwReference & 0xFFFF, 4);
    AppendHexField(strText, dwReference >> 16, 4);
    AppendHexField(strText, pAddress ? static_cast<DWORD>(pAddress->GetObjectType()) : 0, 4);
    AppendHexField(strText, pAddress ? static_cast<DWORD>(pAddress->GetSubType()) : 0, 4);
}

// A field of the parameter text: it must begin before the text ends; the
// last field may be cut short (a 79-digit text still gives the polarity).
bool ReadField(const std::string& strText, std::size_t& pos, std::size_t nWidth, DWORD& dwValue)
{
    if (pos >= strText.size())
        return false;
    dwValue = static_cast<DWORD>(std::strtoul(strText.substr(pos, nWidth).c_str(), nullptr, 16));
    pos += nWidth;
    return true;
}

std::string FormatTwoNumbers(const char* pszFormat, int a, int b)
{
    char szText[64];
    std::snprintf(szText, sizeof szText, pszFormat, a, b);
    return szText;
}

std::string LockPolarityText(BYTE nPolarity)
{
    return nPolarity ? GetResString(14, "freigeben") : GetResString(13, "sperren");
}

void StoreAddress(CArchive& ar, const CGroupDataAddress* pAddress)
{
    ar << static_cast<WORD>(pAddress ? 1 : 0);
    if (pAddress)
        pAddress->StoreToArchive(ar);
}

// A group address record of the data file, or null; the host link of a
// file's address is unknown.
CGroupDataAddress* LoadAddress(CArchive& ar)
{
    WORD wPresent = 0;
    ar >> wPresent;
    if (!wPresent)
        return nullptr;
    auto pAddress = std::make_unique<CGroupDataAddress>();
    pAddress->LoadFromArchive(ar);
    pAddress->SetReference(-1);
    return pAddress.release();
}

}  // namespace

CInternalClock::~CInternalClock() = default;

CObject* CInternalClock::CreateObject()
{
    return new CInternalClock;
}

void CInternalClock::SetTimeGroupAddress(CGroupDataAddress* pAddress)
{
    m_pTimeAddress.reset(pAddress);
}

void CInternalClock::SetDateGroupAddress(CGroupDataAddress* pAddress)
{
    m_pDateAddress.reset(pAddress);
}

void CInternalClock::SetRequestGroupAddress(CGroupDataAddress* pAddress)
{
    m_pRequestAddress.reset(pAddress);
}

void CInternalClock::SetLockGroupAddress(CGroupDataAddress* pAddress)
{
    m_pLockAddress.reset(pAddress);
}

void CInternalClock::DeleteGroupAddresses()
{
    m_pTimeAddress.reset();
    m_pDateAddress.reset();
    m_pRequestAddress.reset();
    m_pLockAddress.reset();
}

std::string CInternalClock::GetModeText(int nMode)
{
    switch (nMode) {
    case 0:
        return GetResString(152, "Slave (immer empfangen)");
    case 1:
        return GetResString(153, "Slave, Sperrzeit (00:05...23:55 empfangen)");
    case 2:
        return GetResString(154, "Master (minütlich senden)");
    case 3:
        return GetResString(155, "Master (stündlich senden)");
    case 4:
        return GetResString(156, "Master (täglich senden)");
    default:
        return GetResString(151, "intern");
    }
}

CGroupDataAddress* CInternalClock::FindGroupAddress(LONG nAddress) const
{
    for (CGroupDataAddress* pAddress :
         {m_pTimeAddress.get(), m_pDateAddress.get(), m_pRequestAddress.get(), m_pLockAddress.get()})
        if (pAddress && (pAddress->GetAddress() & 0xFFFF) == (nAddress & 0xFFFF))
            return pAddress;
    return nullptr;
}

bool CInternalClock::HasObjectsInUse() const
{
    if (m_nMode == kModeIntern)
        return m_pLockAddress != nullptr;
    return m_pTimeAddress || m_pDateAddress || m_pRequestAddress || m_pLockAddress;
}

DWORD CInternalClock::GetInactiveTimeCount() const
{
    return static_cast<DWORD>(m_nInactiveMinutes * 60 + m_nInactiveSeconds) * 450u;
}

BYTE CInternalClock::GetLockEnableByte() const
{
    return m_pLockAddress && m_nLockPolarity ? 1 : 0;
}

// ------------------------------------------------------------ host parameters

void CInternalClock::SetParameterText(LONG nId, const std::string& strText)
{
    m_nParameterId = nId;
    m_strParameterText = strText;
}

void CInternalClock::SetTimeDisplayName(LONG nId, const std::string& strName)
{
    m_nTimeNameId = nId;
    m_strTimeName = strName;
}

void CInternalClock::SetDateDisplayName(LONG nId, const std::string& strName)
{
    m_nDateNameId = nId;
    m_strDateName = strName;
}

void CInternalClock::SetRequestDisplayName(LONG nId, const std::string& strName)
{
    m_nRequestNameId = nId;
    m_strRequestName = strName;
}

void CInternalClock::SetLockDisplayName(LONG nId, const std::string& strName)
{
    m_nLockNameId = nId;
    m_strLockName = strName;
}

void CInternalClock::CopyParameterIds(const CInternalClock& other)
{
    m_nParameterId = other.m_nParameterId;
    m_nRequestVisibilityId = other.m_nRequestVisibilityId;
    m_nDateVisibilityId = other.m_nDateVisibilityId;
    m_nTimeVisibilityId = other.m_nTimeVisibilityId;
    m_nLockVisibilityId = other.m_nLockVisibilityId;
    m_nTimeNameId = other.m_nTimeNameId;
    m_nDateNameId = other.m_nDateNameId;
    m_nRequestNameId = other.m_nRequestNameId;
    m_nLockNameId = other.m_nLockNameId;
}

std::string CInternalClock::BuildParameterText() const
{
    std::string strText;
    strText.reserve(kParameterDigits);
    AppendHexField(strText, static_cast<DWORD>(m_nMode), 2);
    AppendHexField(strText, static_cast<DWORD>(m_nSendMinute), 2);
    AppendHexField(strText, static_cast<DWORD>(m_nSendHour), 2);
    AppendAddressFields(strText, m_pTimeAddress.get());
    AppendAddressFields(strText, m_pDateAddress.get());
    AppendAddressFields(strText, m_pRequestAddress.get());
    AppendHexField(strText, static_cast<DWORD>(m_nInactiveMinutes), 4);
    AppendHexField(strText, static_cast<DWORD>(m_nInactiveSeconds), 4);
    AppendAddressFields(strText, m_pLockAddress.get());
    AppendHexField(strText, m_nLockPolarity, 2);
    return strText;
}

int CInternalClock::CompleteEtsLoad(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowClock(pProgress);
    m_bDropped = 0;
    if (!m_pChronoset) {
        LOG_ERROR("internal data error");
        return 5;
    }
    const std::string& strText = m_strParameterText;
    if (strText.empty()) {
        Step(pProgress, 1);
        return 0;
    }

    std::size_t pos = 0;
    auto fail = [this]() {
        LOG_ERROR("%s: empty data string", "CInternalClock::CompleteEtsLoad");
        DeleteGroupAddresses();
        return 5;
    };
    // One group address: reference (low and high word), then both types as
    // one 32-bit number. False when the text ends early.
    auto readAddress = [&](const std::string& strName, std::unique_ptr<CGroupDataAddress>& pTarget) {
        DWORD dwLow = 0;
        DWORD dwHigh = 0;
        if (!ReadField(strText, pos, 4, dwLow) || !ReadField(strText, pos, 4, dwHigh))
            return false;
        const DWORD dwReference = (dwHigh & 0xFFFF) << 16 | (dwLow & 0xFFFF);
        if (dwReference == kNoReference) {
            pTarget.reset();
            pos += 8;
            return true;
        }
        DWORD dwTypes = 0;
        if (!ReadField(strText, pos, 8, dwTypes))
            return false;
        auto pAddress = std::make_unique<CGroupDataAddress>();
        pAddress->SetReference(static_cast<LONG>(dwReference));
        pAddress->SetName(strName);
        pAddress->SetType({static_cast<int>(dwTypes >> 16), static_cast<int>(dwTypes & 0xFFFF)});
        // The host must still have it, with a fitting type.
        if (pAccess && !m_pChronoset->CheckGroupAddressType(pAccess, pAddress.get())) {
            pAddress.reset();
            m_bDropped = 1;
        }
        pTarget = std::move(pAddress);
        return true;
    };

    DWORD dwValue = 0;
    if (!ReadField(strText, pos, 2, dwValue))
        return fail();
    m_nMode = static_cast<int>(dwValue & 0xFFFF);
    if (!ReadField(strText, pos, 2, dwValue))
        return fail();
    m_nSendMinute = static_cast<int>(dwValue & 0xFFFF);
    if (!ReadField(strText, pos, 2, dwValue))
        return fail();
    m_nSendHour = static_cast<int>(dwValue & 0xFFFF);
    if (!readAddress(m_strTimeName, m_pTimeAddress) || !readAddress(m_strDateName, m_pDateAddress) ||
        !readAddress(m_strRequestName, m_pRequestAddress))
        return fail();
    if (!ReadField(strText, pos, 4, dwValue))
        return fail();
    m_nInactiveMinutes = static_cast<int>(dwValue);
    if (!ReadField(strText, pos, 4, dwValue))
        return fail();
    m_nInactiveSeconds = static_cast<int>(dwValue);
    if (!readAddress(m_strLockName, m_pLockAddress))
        return fail();
    if (!ReadField(strText, pos, 2, dwValue))
        return fail();
    m_nLockPolarity = dwValue != 0 ? 1 : 0;
    m_nLoadedLockPolarity = m_nLockPolarity;
    Step(pProgress, 1);
    return 0;
}

int CInternalClock::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowClock(pProgress);
    m_strParameterText = BuildParameterText();
    auto nameOf = [](const std::unique_ptr<CGroupDataAddress>& pAddress) {
        return pAddress ? pAddress->GetName() : std::string();
    };
    const LONG nVisible = m_nMode != kModeIntern ? 1 : 0;
    struct WriteStep {
        bool bText;
        LONG nId;
        std::string strText;
        LONG nValue;
        const char* pszError;
    };
    const WriteStep arrSteps[] = {
        {true, m_nParameterId, m_strParameterText, 0, "failed to set internal clock parameter data"},
        {false, m_nDateVisibilityId, {}, nVisible, "failed to set date object visibility"},
        {false, m_nTimeVisibilityId, {}, nVisible, "failed to set time object visibility"},
        {false, m_nRequestVisibilityId, {}, nVisible, "failed to set request object visibility"},
        {false, m_nLockVisibilityId, {}, m_nLockPolarity, "failed to set lock time program visibility"},
        {true, m_nDateNameId, nameOf(m_pDateAddress), 0, "failed to set date GA display name"},
        {true, m_nTimeNameId, nameOf(m_pTimeAddress), 0, "failed to set time GA display name"},
        {true, m_nRequestNameId, nameOf(m_pRequestAddress), 0, "failed to set request GA display name"},
        {true, m_nLockNameId, nameOf(m_pLockAddress), 0, "failed to set request lock time program"},
    };
    for (const WriteStep& step : arrSteps) {
        const int nDone = !pAccess            ? 0
                          : step.bText        ? pAccess->SetDeviceParameterValue(step.nId, step.strText)
                                              : pAccess->SetDeviceParameterLong(step.nId, step.nValue);
        if (!nDone) {
            LOG_ERROR("%s", step.pszError);
            return 5;
        }
    }
    Step(pProgress, 1);
    return 0;
}

// ------------------------------------------------------------ data file

void CInternalClock::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowClock(pProgress);
    ar << static_cast<WORD>(m_nMode);
    StoreAddress(ar, m_pTimeAddress.get());
    StoreAddress(ar, m_pDateAddress.get());
    StoreAddress(ar, m_pRequestAddress.get());
    ar << static_cast<WORD>(m_nSendMinute) << static_cast<WORD>(m_nSendHour);
    ar << static_cast<DWORD>(m_nInactiveMinutes) << static_cast<DWORD>(m_nInactiveSeconds);
    ar << m_nLockPolarity;
    StoreAddress(ar, m_pLockAddress.get());
}

void CInternalClock::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowClock(pProgress);
    WORD wMode = kModeIntern;
    ar >> wMode;
    m_nMode = wMode & 0xFF;
    SetTimeGroupAddress(LoadAddress(ar));
    SetDateGroupAddress(LoadAddress(ar));
    if (g_nArchiveSchema > 0x10001)
        SetRequestGroupAddress(LoadAddress(ar));
    WORD wMinute = 0;
    WORD wHour = 0;
    ar >> wMinute >> wHour;
    m_nSendMinute = wMinute;
    m_nSendHour = wHour;
    if (g_nArchiveSchema > 0x10007) {
        DWORD dwMinutes = 0;
        DWORD dwSeconds = 0;
        BYTE nPolarity = 0;
        ar >> dwMinutes >> dwSeconds >> nPolarity;
        m_nInactiveMinutes = static_cast<int>(dwMinutes);
        m_nInactiveSeconds = static_cast<int>(dwSeconds);
        m_nLockPolarity = nPolarity != 0 ? 1 : 0;
        SetLockGroupAddress(LoadAddress(ar));
    }
    m_nLoadedLockPolarity = m_nLockPolarity;
}

// ------------------------------------------------------------ text export and report

void CInternalClock::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowClock(pProgress);
    auto line = [&](const std::string& strLabel, const std::string& strValue) {
        strFile += CsvField(strLabel) + "," + CsvField(strValue) + "\n";
        Step(pProgress, 1);
    };
    strFile += CsvField(ClockTitle()) + "\n";
    Step(pProgress, 1);
    line(GetResString(40138, "Betriebsart Uhr:"), GetModeText());
    line(GetResString(2107, "Inaktive Zeit:"), FormatTwoNumbers("%02d:%02d", m_nInactiveMinutes, m_nInactiveSeconds));
    line(GetResString(12, "Zeitprogrammtyp:"), LockPolarityText(m_nLockPolarity));
    if (m_pLockAddress)
        line(GetResString(11, "Zeitprogramm sperren:"), CGroupDataAddress::GetNameAndAddress(m_pLockAddress.get()));
    if (m_nMode == kModeIntern) {
        Step(pProgress, 3);
        return;
    }
    if (m_pTimeAddress)
        line(GetResString(40139, "Gruppenadresse Uhrzeit:"), CGroupDataAddress::GetNameAndAddress(m_pTimeAddress.get()));
    if (m_pDateAddress)
        line(GetResString(40140, "Gruppenadresse Datum:"), CGroupDataAddress::GetNameAndAddress(m_pDateAddress.get()));
    if (m_pRequestAddress)
        line(GetResString(160, "Gruppenadresse zur Anforderung:"),
             CGroupDataAddress::GetNameAndAddress(m_pRequestAddress.get()));
    if (m_nMode == 3) {
        char szText[32];
        std::snprintf(szText, sizeof szText, "--:%02d", m_nSendMinute);
        line(GetResString(40141, "senden um:"), szText);
    } else if (m_nMode == 4) {
        line(GetResString(40141, "senden um:"), FormatTwoNumbers("%02d:%02d", m_nSendHour, m_nSendMinute));
    }
}

void CInternalClock::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    CReportGroup* pBody = pReport->GetBodyGroup();
    if (!pBody)
        return;
    constexpr int kLabelX = 850;
    constexpr int kGap = 350;

    std::vector<std::pair<std::string, std::string>> arrRows;
    arrRows.emplace_back(GetResString(40138, "Betriebsart Uhr:"), GetModeText());
    arrRows.emplace_back(GetResString(2107, "Inaktive Zeit (mm:ss):"),
                         FormatTwoNumbers("%02d : %02d", m_nInactiveMinutes, m_nInactiveSeconds));
    arrRows.emplace_back(GetResString(12, "Zeitprogrammtyp:"), LockPolarityText(m_nLockPolarity));
    arrRows.emplace_back(GetResString(11, "Zeitprogramm:"), CGroupDataAddress::GetNameAndAddress(m_pLockAddress.get()));
    if (m_nMode != kModeIntern) {
        arrRows.emplace_back(GetResString(40139, "Gruppenadresse Uhrzeit:"),
                             CGroupDataAddress::GetNameAndAddress(m_pTimeAddress.get()));
        arrRows.emplace_back(GetResString(40140, "Gruppenadresse Datum:"),
                             CGroupDataAddress::GetNameAndAddress(m_pDateAddress.get()));
        arrRows.emplace_back(GetResString(160, "Gruppenadresse zur Anforderung:"),
                             CGroupDataAddress::GetNameAndAddress(m_pRequestAddress.get()));
        if (m_nMode == 3) {
            char szText[32];
            std::snprintf(szText, sizeof szText, "-- : %02d", m_nSendMinute);
            arrRows.emplace_back(GetResString(40141, "senden um:"), szText);
        } else if (m_nMode == 4) {
            arrRows.emplace_back(GetResString(40141, "senden um:"),
                                 FormatTwoNumbers("%02d : %02d", m_nSendHour, m_nSendMinute));
        }
    }

    CFont* pFont = pReport->GetNormalFont();
    int nLabelWidth = 0;
    {
        CReportFontSelection selection(*pDC, pFont);
        for (const auto& row : arrRows)
            nLabelWidth = std::max(nLabelWidth, static_cast<int>(pDC->GetTextExtent(row.first).cx));
    }
    nLabelWidth = pDC->LogicalToHimetricX(nLabelWidth) + kGap;
    const int nValueX = kLabelX + nLabelWidth + kGap;
    const int nValueWidth = std::max(0, nWidth - nValueX);

    auto* pHeading = new CParamReportLine(pBody, 0, 0);
    new CReportCellLabel(pHeading, 500, std::max(0, nWidth - 500), 0, pReport->GetReportData(),
                         GetResString(40137, "Parameter der internen Uhr"), 0);
    pReport->AddEmptyLine(pBody, pFont, FALSE);
    for (const auto& row : arrRows) {
        auto* pLine = new CParamReportLine(pBody, 0, 0);
        new CReportCellLabel(pLine, kLabelX, nLabelWidth, 0, pFont, row.first, 0);
        new CReportCellLabel(pLine, nValueX, nValueWidth, 0, pFont, row.second, 0);
    }
}

// ------------------------------------------------------------ download

bool CInternalClock::InitDownload(CProgressInfo* pProgress)
{
    m_pBlock = std::make_unique<BYTE[]>(kBlockSize);
    m_pBlock[0] = static_cast<BYTE>(m_nMode & 0xFF);
    m_pBlock[1] = static_cast<BYTE>(m_nSendMinute & 0xFF);
    m_pBlock[2] = static_cast<BYTE>(m_nSendHour & 0xFF);
    Step(pProgress, 1);
    return true;
}

int CInternalClock::AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowClock(pProgress);
    Step(pProgress, 1);
    if (!m_pBlock || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pBlock.get(), kBlockAddress, kBlockSize);
}

int CInternalClock::WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowClock(pProgress);
    Step(pProgress, 2);
    if (!m_pBlock || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kBlockAddress, m_pBlock.get(), kBlockSize, 1);
}

// ------------------------------------------------------------ associations

int CInternalClock::BuildAssociations(std::vector<WORD>& arrAssociations, std::vector<WORD>& arrObjects) const
{
    const bool bExtern = m_nMode != kModeIntern;
    const CGroupDataAddress* pRequest = bExtern ? m_pRequestAddress.get() : nullptr;
    const CGroupDataAddress* pDate = bExtern ? m_pDateAddress.get() : nullptr;
    const CGroupDataAddress* pTime = bExtern ? m_pTimeAddress.get() : nullptr;
    const CGroupDataAddress* pLock = m_pLockAddress.get();

    arrObjects.push_back(pRequest ? kRequestWordLinked : kRequestWordUnlinked);
    arrObjects.push_back(pDate ? kDateTimeWordLinked : kDateTimeWordUnlinked);
    arrObjects.push_back(pTime ? kDateTimeWordLinked : kDateTimeWordUnlinked);
    arrObjects.push_back(pLock ? kRequestWordLinked : kRequestWordUnlinked);

    auto associate = [&](const CGroupDataAddress* pAddress, WORD nObject) {
        if (!pAddress)
            return;
        const LONG nIndex = pAddress->GetAddressTableIndex();
        // An address outside the address table cannot be associated; a
        // word made from it would point at another address.
        if (nIndex < 0 || nIndex > 0xFF) {
            LOG_ERROR("clock object %d: group address %s has no address-table index", static_cast<int>(nObject),
                      pAddress->GetAddressText(false).c_str());
            return;
        }
        arrAssociations.push_back(static_cast<WORD>(nIndex << 8 | nObject));
    };
    associate(pRequest, kRequestObject);
    associate(pTime, kTimeObject);
    associate(pDate, kDateObject);
    associate(pLock, kLockObject);
    return 1;
}

int CInternalClock::CollectObjectLinks(CObjectLinkTable& table) const
{
    auto add = [&](const CGroupDataAddress* pAddress, WORD nObject, LONG nObjectId) {
        if (!pAddress)
            return;
        auto pLink = std::make_unique<CObjectLink>(nObject);
        pLink->m_nFlag = 1;
        pLink->AddGroupAddress(pAddress->GetReference(), 1);
        table.Add(nObjectId, std::move(pLink));
    };
    if (m_nMode != kModeIntern) {
        add(m_pTimeAddress.get(), kTimeObject, m_nTimeObjectId);
        add(m_pDateAddress.get(), kDateObject, m_nDateObjectId);
        add(m_pRequestAddress.get(), kRequestObject, m_nRequestObjectId);
    }
    add(m_pLockAddress.get(), kLockObject, m_nLockObjectId);
    return 0;
}

int CInternalClock::LinkObjectsWithTable(CEtsDataAccess* pAccess, CObjectLinkTable& table) const
{
    if (!pAccess)
        return 5;
    int nResult = 0;
    auto link = [&](const CGroupDataAddress* pAddress, LONG nObjectId, const char* pszError) {
        if (!pAddress || nResult != 0)
            return;
        if (pAccess->CreateAssociationIfMissing(nObjectId, pAddress->GetReference(), table, -1, 1, 1, 1) < 0) {
            LOG_ERROR("%s", pszError);
            nResult = 5;
        }
    };
    if (m_nMode != kModeIntern) {
        link(m_pTimeAddress.get(), m_nTimeObjectId, "failed to link time object");
        link(m_pDateAddress.get(), m_nDateObjectId, "failed to link date object");
        link(m_pRequestAddress.get(), m_nRequestObjectId, "failed to link request object");
    }
    if (!m_pLockAddress || nResult != 0)
        return nResult;

    if (m_nLockPolarity != m_nLoadedLockPolarity) {
        // The polarity switches the host's lock object, so the association
        // read before the save belongs to the old one. The record of object
        // 253 is rebuilt with every group-address link's flag 0 ("not
        // confirmed") and without the host association it carried, and moved
        // to the end: the lookup then finds no association to hand back and
        // the association is asked of the host afresh.
        std::vector<std::pair<LONG, std::unique_ptr<CObjectLink>>> arrEntries;
        std::pair<LONG, std::unique_ptr<CObjectLink>> lockEntry {-1, nullptr};
        for (int i = 0; i < table.GetCount(); ++i) {
            const CObjectLink* pLink = table.GetLink(i);
            if (!pLink) {
                arrEntries.emplace_back(table.GetObjectId(i), nullptr);
                continue;
            }
            auto pCopy = std::make_unique<CObjectLink>(*pLink);
            if (!lockEntry.second && pLink->m_nObjectNumber == kLockObject) {
                for (CGroupAddressLink& gaLink : pCopy->m_arrGroupAddresses) {
                    gaLink.m_nFlag = 0;
                    gaLink.m_pAssociation = nullptr;
                }
                lockEntry = {table.GetObjectId(i), std::move(pCopy)};
            } else {
                arrEntries.emplace_back(table.GetObjectId(i), std::move(pCopy));
            }
        }
        if (lockEntry.second) {
            table.RemoveAll();
            for (auto& entry : arrEntries)
                table.Add(entry.first, std::move(entry.second));
            table.Add(lockEntry.first, std::move(lockEntry.second));
        }
    }
    link(m_pLockAddress.get(), m_nLockObjectId, "failed to link LockTimeProgram object");
    return nResult;
}
