#include "model/GroupDataAddress.h"

#include "model/ArchiveSchema.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "model/Quantities.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "platform/base/Cp1252.h"

#include <atomic>
#include <cstdio>

std::string LimitGroupAddressName(const std::string& strName)
{
    // One Windows-1252 byte per character (a character without a form there
    // is stored as '?'), so counting characters counts the stored bytes.
    // Every character takes at least one byte: a short name fits as it is.
    if (strName.size() <= GROUP_ADDRESS_NAME_MAX)
        return strName;
    std::size_t pos = 0;
    for (std::size_t nChars = 0; nChars < GROUP_ADDRESS_NAME_MAX && pos < strName.size(); ++nChars)
        platform::DecodeUtf8(strName, pos);
    if (pos >= strName.size())
        return strName;
    return strName.substr(0, pos);
}

namespace {

// The stored forms hold Windows-1252 bytes; a character without a form there
// is stored as '?', which the log tells.
std::string StoredName(const std::string& strName)
{
    bool bLossy = false;
    std::string strBytes = platform::Utf8ToCp1252Lossy(LimitGroupAddressName(strName), &bLossy);
    if (bLossy)
        LOG_WARNING("group address name \"%s\" holds characters without a Windows-1252 form; stored as '?'",
                    strName.c_str());
    return strBytes;
}

}  // namespace

namespace {

// A value of 0..99999 with at least nWidth digits, leading zeros.
char* PutZeroPadded(char* p, long nValue, int nWidth)
{
    char szDigits[8];
    int n = 0;
    do {
        szDigits[n++] = static_cast<char>('0' + nValue % 10);
        nValue /= 10;
    } while (nValue != 0);
    for (int i = n; i < nWidth; ++i)
        *p++ = '0';
    while (n > 0)
        *p++ = szDigits[--n];
    return p;
}

}  // namespace

std::string FormatGroupAddress(int nLevels, LONG nAddress, SHORT nObjectNumber,
                               const std::vector<WORD>* pTriggerObjects, bool bInvalid)
{
    std::string strText;
    if (nAddress == -1 || bInvalid) {
        strText = GetResString(220, "\"keine\"");
    } else {
        const long nMain = (nAddress & 0xF000) >> 12;
        const long nMiddle = (nAddress & 0x0F00) >> 8;
        const long nSub = nAddress & 0xFF;
        // "%02ld/%02ld/%04ld" or "%02ld/%04ld" written by hand: every log
        // line about an address carries this text.
        char szText[16];
        char* p = szText;
        p = PutZeroPadded(p, nMain, 2);
        *p++ = '/';
        if (nLevels == 2) {
            p = PutZeroPadded(p, nMiddle * 256 + nSub, 4);
        } else {
            p = PutZeroPadded(p, nMiddle, 2);
            *p++ = '/';
            p = PutZeroPadded(p, nSub, 4);
        }
        strText.assign(szText, p);
    }
    if (!g_bDebugMode)
        return strText;

    const std::string strObject = GetResString(411, "KO");
    const bool bOwnNumber = static_cast<WORD>(nObjectNumber) < 256;
    const bool bTriggers = pTriggerObjects && !pTriggerObjects->empty();
    if (!bOwnNumber && !pTriggerObjects)
        return strText + " (" + strObject + ": " + GetResString(412, "kein") + ")";

    char szNumber[16];
    strText += " (" + strObject + ": ";
    if (bOwnNumber) {
        std::snprintf(szNumber, sizeof szNumber, "0x%02X", static_cast<unsigned>(nObjectNumber));
        strText += szNumber;
    }
    if (bTriggers) {
        bool bSeparator = bOwnNumber;
        for (WORD wNumber : *pTriggerObjects) {
            if (bSeparator)
                strText += ", ";
            std::snprintf(szNumber, sizeof szNumber, "0x%02X", static_cast<unsigned>(wNumber));
            strText += szNumber;
            bSeparator = true;
        }
    } else if (!bOwnNumber) {
        strText += GetResString(412, "kein");
    }
    return strText + ")";
}

CObject* CGroupDataAddress::CreateObject()
{
    return new CGroupDataAddress;
}

namespace {

std::atomic<unsigned> g_nReferenceChanges {0};
std::atomic<unsigned> g_nObjectNumberChanges {0};

void NoteReferenceChange()
{
    g_nReferenceChanges.fetch_add(1, std::memory_order_relaxed);
}

void NoteObjectNumberChange()
{
    g_nObjectNumberChanges.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void CGroupDataAddress::SetObjectNumber(SHORT nNumber)
{
    m_nObjectNumber = nNumber;
    NoteObjectNumberChange();
}

unsigned CGroupDataAddress::GetObjectNumberChangeCount()
{
    return g_nObjectNumberChanges.load(std::memory_order_relaxed);
}

void CGroupDataAddress::SetReference(LONG nReference)
{
    m_nReference = nReference;
    NoteReferenceChange();
}

unsigned CGroupDataAddress::GetReferenceChangeCount()
{
    return g_nReferenceChanges.load(std::memory_order_relaxed);
}

void CGroupDataAddress::SetName(const std::string& strName)
{
    m_strName = LimitGroupAddressName(strName);
}

void CGroupDataAddress::CopyFrom(const CGroupDataAddress& other)
{
    m_strName = other.m_strName;
    m_nAddress = other.m_nAddress;
    m_nObjectType = other.m_nObjectType;
    m_nSubType = other.m_nSubType;
    m_nLevels = other.m_nLevels;
    m_nReference = other.m_nReference;
    NoteReferenceChange();
}

void CGroupDataAddress::AddUse(DWORD dwKinds)
{
    const std::string strAddress = GetAddressText(false);
    if (dwKinds & GAU_SWITCHTIME) {
        LOG_INFO("Adding GDA ( %s: %s ) as day switch time", m_strName.c_str(), strAddress.c_str());
        ++m_nSwitchTimeUses;
    }
    if (dwKinds & GAU_QUANTITY_TRIGGER) {
        LOG_INFO("Adding GDA ( %s: %s ) as trigger for quantity", m_strName.c_str(), strAddress.c_str());
        ++m_nQuantityTriggerUses;
    }
    if (dwKinds & GAU_QUANTITY_MEMBER) {
        LOG_INFO("Adding GDA ( %s: %s ) as quantity member", m_strName.c_str(), strAddress.c_str());
        ++m_nMemberUses;
    }
    if (dwKinds & GAU_DAYROUTINE_TRIGGER) {
        if (m_dwUsageFlags & GAU_DAYROUTINE_TRIGGER) {
            LOG_ERROR("Error: Trying to use GDA as trigger for multiple day routines");
            dwKinds &= ~static_cast<DWORD>(GAU_DAYROUTINE_TRIGGER);
        } else {
            LOG_INFO("Adding GDA ( %s: %s ) as trigger for day routine", m_strName.c_str(), strAddress.c_str());
        }
    }
    m_dwUsageFlags |= dwKinds & GAU_ANY;
}

void CGroupDataAddress::RemoveUse(DWORD dwKinds)
{
    const std::string strAddress = GetAddressText(false);
    const char* pszName = m_strName.c_str();
    if (dwKinds & GAU_DAYROUTINE_TRIGGER) {
        if (!(m_dwUsageFlags & GAU_DAYROUTINE_TRIGGER)) {
            LOG_ERROR("Error: Trying to remove GDA ( %s: %s ) as trigger for day routine, which it isn't", pszName,
                      strAddress.c_str());
            return;
        }
        LOG_INFO("Removing GDA ( %s: %s ) as trigger for day routine", pszName, strAddress.c_str());
        m_dwUsageFlags &= ~static_cast<DWORD>(GAU_DAYROUTINE_TRIGGER);
    }
    if (dwKinds & GAU_SWITCHTIME) {
        if (m_nSwitchTimeUses <= 0) {
            LOG_ERROR("Error: Trying to remove GDA ( %s: %s ) as day switch time, which it isn't", pszName,
                      strAddress.c_str());
            return;
        }
        LOG_INFO("Removing GDA ( %s: %s ) as day switch time", pszName, strAddress.c_str());
        if (--m_nSwitchTimeUses == 0)
            m_dwUsageFlags &= ~static_cast<DWORD>(GAU_SWITCHTIME);
    }
    if (dwKinds & GAU_QUANTITY_TRIGGER) {
        if (m_nQuantityTriggerUses <= 0) {
            LOG_ERROR("Error: Trying to remove GDA ( %s: %s ) as trigger for quantity, which it isn't", pszName,
                      strAddress.c_str());
            return;
        }
        LOG_INFO("Removing GDA ( %s: %s ) as trigger for quantity", pszName, strAddress.c_str());
        if (--m_nQuantityTriggerUses == 0)
            m_dwUsageFlags &= ~static_cast<DWORD>(GAU_QUANTITY_TRIGGER);
    }
    if (dwKinds & GAU_QUANTITY_MEMBER) {
        if (m_nMemberUses <= 0) {
            LOG_ERROR("Error: Trying to remove GDA ( %s: %s ) as quantity member, which it isn't", pszName,
                      strAddress.c_str());
            return;
        }
        LOG_INFO("Removing GDA ( %s: %s ) as quantity member", pszName, strAddress.c_str());
        if (--m_nMemberUses == 0)
            m_dwUsageFlags &= ~static_cast<DWORD>(GAU_QUANTITY_MEMBER);
    }
}

int CGroupDataAddress::GetUseCount(int nMask) const
{
    int nCount = 0;
    if (nMask & 0x02)
        nCount += m_nSwitchTimeUses;
    if (nMask & 0x80)
        nCount += m_nQuantityTriggerUses;
    if (nMask & 0x40)
        nCount += m_nMemberUses;
    if ((nMask & 0x01) && IsDayRoutineTrigger(this))
        nCount += 1;
    return nCount;
}

std::string CGroupDataAddress::GetAddressText(bool bWithTriggerObjects) const
{
    if (!bWithTriggerObjects)
        return FormatGroupAddress(m_nLevels, m_nAddress, m_nObjectNumber, nullptr, IsInvalid());
    const std::vector<WORD> arrTriggers = GetTriggerObjectNumbers(this);
    return FormatGroupAddress(m_nLevels, m_nAddress, m_nObjectNumber, &arrTriggers, IsInvalid());
}

std::string CGroupDataAddress::GetTypeText() const
{
    std::string strText;
    AppendTypeText(strText);
    return strText;
}

void CGroupDataAddress::AppendTypeText(std::string& strText) const
{
    static constexpr struct {
        LONG nType;
        UINT nId;
        const char* pszText;
    } kTypes[] = {
        {1, 250, "1 Bit"},
        {2, 251, "2 Bit Priorität"},
        {5, 252, "1 Byte vorzeichenlos"},
        {6, 253, "1 Byte vorzeichenbehaftet"},
        {7, 254, "2 Byte vorzeichenlos"},
        {8, 255, "2 Byte vorzeichenbehaftet"},
        {9, 256, "2 Byte Gleitkommazahl"},
        {10, 257, "3 Byte Zeit"},
        {11, 258, "3 Byte Datum"},
    };
    for (const auto& type : kTypes)
        if (type.nType == m_nObjectType)
            return AppendResString(strText, type.nId, type.pszText);
    AppendResString(strText, 259, "ungültig");
}

std::string CGroupDataAddress::GetNameAndAddress(const CGroupDataAddress* pAddress)
{
    if (!pAddress)
        return "-";
    return pAddress->m_strName + " - " + pAddress->GetAddressText(false);
}

std::string CGroupDataAddress::ToHexString() const
{
    const std::string strName = StoredName(m_strName);
    const auto dwReference = static_cast<DWORD>(m_nReference);
    // "%04x%04x%04x%04x%02x" and the name, written field by field.
    std::string strRecord;
    strRecord.reserve(18 + strName.size());
    AppendHexPadded(strRecord, static_cast<unsigned>(dwReference & 0xFFFF), 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(dwReference >> 16), 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(m_nObjectType) & 0xFFFF, 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(m_nSubType) & 0xFFFF, 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(strName.size() & 0xFF), 2);
    strRecord += strName;
    return strRecord;
}

std::string CGroupDataAddress::ToCsvLine(bool bWithUsage) const
{
    std::string strLine;
    AppendCsvLine(strLine, bWithUsage);
    return strLine;
}

void CGroupDataAddress::AppendCsvLine(std::string& strFile, bool bWithUsage) const
{
    strFile += '"';
    strFile += m_strName;
    strFile += "\",\"";
    strFile += GetAddressText(false);
    strFile += "\",\"";
    AppendTypeText(strFile);
    strFile += '"';
    if (bWithUsage) {
        for (DWORD dwUsage : {GAU_DAYROUTINE_TRIGGER, GAU_SWITCHTIME, GAU_QUANTITY_TRIGGER, GAU_QUANTITY_MEMBER})
            strFile += HasUsage(dwUsage) ? ",\"X\"" : ",";
    }
}

void CGroupDataAddress::WriteCsvLine(std::string& strFile, bool bWithUsage) const
{
    AppendCsvLine(strFile, bWithUsage);
    strFile += "\n";
}

void CGroupDataAddress::LoadFromArchive(CArchive& ar)
{
    if (!ar.IsLoading())
        return;
    std::string strName;
    DWORD dwAddress = 0;
    WORD wObjectType = 0;
    WORD wSubType = 0;
    WORD wObjectNumber = 0;
    ar >> strName >> dwAddress >> wObjectType >> wSubType >> wObjectNumber;
    SetName(strName);
    m_nAddress = static_cast<LONG>(dwAddress);
    m_nObjectType = wObjectType;
    m_nSubType = wSubType;
    m_nObjectNumber = static_cast<SHORT>(wObjectNumber);
    NoteObjectNumberChange();

    // Older files know neither the host link nor the invalid-association list.
    m_nReference = -1;
    NoteReferenceChange();
    m_bInvalid = 0;
    if (g_nArchiveSchema > 0x10003) {
        DWORD dwReference = 0;
        ar >> dwReference;
        m_nReference = static_cast<LONG>(dwReference);
        NoteReferenceChange();
    }
    if (g_nArchiveSchema > 0x10004) {
        WORD wInvalid = 0;
        ar >> wInvalid;
        m_bInvalid = wInvalid != 0 ? 1 : 0;
    }
}

void CGroupDataAddress::StoreToArchive(CArchive& ar) const
{
    if (!ar.IsStoring())
        return;
    // The archive stores the Windows-1252 form itself.
    ar << platform::Cp1252ToUtf8(StoredName(m_strName));
    ar << static_cast<DWORD>(m_nAddress) << static_cast<WORD>(m_nObjectType) << static_cast<WORD>(m_nSubType)
       << static_cast<WORD>(m_nObjectNumber) << static_cast<DWORD>(m_nReference)
       << static_cast<WORD>(m_bInvalid ? 1 : 0);
}

namespace {

// The central object whose data sets use the address: the owner of its
// lists, else the open device.
const IChronosetServices* CentralObjectOf(const CGroupDataAddress* pAddress)
{
    const CGroupDataAddresses* pLists = pAddress ? pAddress->GetOwner() : nullptr;
    return pLists && pLists->GetOwner() ? pLists->GetOwner() : g_pChronosetServices;
}

}  // namespace

bool CGroupDataAddress::IsDayRoutineTrigger(const CGroupDataAddress* pAddress)
{
    const IChronosetServices* pCentral = pAddress ? CentralObjectOf(pAddress) : nullptr;
    return pCentral && pCentral->GetDayRoutines()->GetTriggeredDayRoutineNumber(pAddress) != 0;
}

std::vector<WORD> CGroupDataAddress::GetTriggerObjectNumbers(const CGroupDataAddress* pAddress)
{
    const IChronosetServices* pCentral = pAddress ? CentralObjectOf(pAddress) : nullptr;
    return pCentral ? pCentral->GetQuantities()->GetTriggerObjectNumbers(pAddress) : std::vector<WORD> {};
}
