#include "model/QuantityMember.h"

#include "model/ArchiveSchema.h"
#include "model/CsvField.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/SwitchProgramReferences.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"

#include <cstring>

CObject* CQuantityMember::CreateObject()
{
    return new CQuantityMember;
}

void CQuantityMember::CopyConstruct(const CQuantityMember& other)
{
    m_pGroupAddress = other.m_pGroupAddress;
    m_wValue = other.m_wValue;
    m_bSendOnChange = other.m_bSendOnChange;
    m_nRange = other.m_nRange;
    m_pQuantity = other.m_pQuantity;
    m_nExponent = other.m_nExponent;
}

CGroupDataAddress* CQuantityMember::SetGroupAddress(CGroupDataAddress* pAddress)
{
    if (m_pGroupAddress)
        m_pGroupAddress->RemoveUse(GAU_QUANTITY_MEMBER);
    if (pAddress)
        pAddress->AddUse(GAU_QUANTITY_MEMBER);
    m_pGroupAddress = pAddress;
    return pAddress;
}

void CQuantityMember::SetValues(WORD wValue, bool bSendOnChange, int nRange)
{
    m_wValue = wValue;
    m_bSendOnChange = bSendOnChange;
    m_nRange = nRange;
}

BYTE CQuantityMember::GetFlagsByte() const
{
    if (!m_pQuantity)
        return 0xFF;
    BYTE nFlags = static_cast<BYTE>((m_pQuantity->GetNumber() - 1) & 0x1F);
    if (m_bSendOnChange)
        nFlags |= 0x40;
    if (m_nRange != 0)
        nFlags |= 0x80;
    return nFlags;
}

CGroupDataAddresses* CQuantityMember::GetGroupDataAddresses() const
{
    CQuantities* pOwner = m_pQuantity ? m_pQuantity->GetOwner() : nullptr;
    return pOwner ? pOwner->GetGroupDataAddresses() : nullptr;
}

// ------------------------------------------------------------ parameter record

std::string CQuantityMember::GetParameterString() const
{
    std::string strRecord;
    AppendHexField(strRecord, GetFlagsByte(), 2);
    if (m_pGroupAddress) {
        const auto dwReference = static_cast<DWORD>(m_pGroupAddress->GetReference());
        AppendHexField(strRecord, dwReference & 0xFFFF, 4);
        AppendHexField(strRecord, dwReference >> 16, 4);
        AppendHexField(strRecord, m_pGroupAddress->IsInvalid() ? 1 : 0, 2);
    } else {
        strRecord += "ffffffff00";
    }
    AppendHexField(strRecord, m_wValue & 0xFF, 2);
    AppendHexField(strRecord, m_wValue >> 8, 2);
    AppendHexField(strRecord, m_nExponent, 2);
    return strRecord;
}

int CQuantityMember::ExtractParameterData(const std::string& strText, std::size_t& pos)
{
    auto missing = [] {
        LOG_ERROR("%s: empty data string", "CQuantityMember::ExtractParameterData");
        return 0;
    };
    DWORD dwFlags = 0;
    if (!ParseHexField(strText, pos, 2, dwFlags))
        return missing();
    m_bSendOnChange = (dwFlags & 0x40) != 0;
    m_nRange = (dwFlags & 0x80) ? 1 : 0;

    DWORD dwLow = 0;
    DWORD dwHigh = 0;
    DWORD dwInvalid = 0;
    if (!ParseHexField(strText, pos, 4, dwLow) || !ParseHexField(strText, pos, 4, dwHigh))
        return missing();
    if (!ParseHexField(strText, pos, 2, dwInvalid))
        return missing();

    CGroupDataAddresses* pLists = GetGroupDataAddresses();
    if (!pLists) {
        LOG_ERROR("internal data error");
        return 0;
    }
    // ffffffff stands for "no group address", never for an address that
    // merely has no host reference.
    const auto nReference = static_cast<LONG>((dwHigh << 16) | dwLow);
    SetGroupAddress(nReference == -1 ? nullptr : pLists->FindByReference(nReference, dwInvalid != 0));

    DWORD dwValueLow = 0;
    DWORD dwValueHigh = 0;
    DWORD dwExponent = 0;
    if (!ParseHexField(strText, pos, 2, dwValueLow) || !ParseHexField(strText, pos, 2, dwValueHigh))
        return missing();
    m_wValue = static_cast<WORD>((dwValueLow & 0xFF) | ((dwValueHigh & 0xFF) << 8));
    if (!ParseHexField(strText, pos, 2, dwExponent))
        return missing();
    m_nExponent = static_cast<BYTE>(dwExponent);
    return 1;
}

// ------------------------------------------------------------ device slot

bool CQuantityMember::FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const
{
    if (!pBuffer || nLength < kDataLength || !m_pQuantity) {
        LOG_ERROR("invalid buffer");
        return false;
    }
    // The device takes only addresses of the address table.
    if (!m_pGroupAddress || m_pGroupAddress->IsInvalid()) {
        std::memset(pBuffer, 0xFF, kDataLength);
        return true;
    }
    pBuffer[0] = GetFlagsByte();
    pBuffer[1] = static_cast<BYTE>(m_pGroupAddress->GetObjectNumber() & 0xFF);
    EncodeDptValue(m_wValue, static_cast<int>(m_pGroupAddress->GetObjectType()), pBuffer + 2);
    return true;
}

// ------------------------------------------------------------ data file

void CQuantityMember::StoreToArchive(CArchive& ar) const
{
    StoreArchivedGroupAddress(ar, m_pGroupAddress);
    ar << m_wValue << static_cast<WORD>(m_bSendOnChange ? 1 : 0) << static_cast<WORD>(m_nRange) << m_nExponent;
}

void CQuantityMember::LoadFromArchive(CArchive& ar)
{
    // A loaded member starts without address; no use is given back.
    m_pGroupAddress = nullptr;
    SetGroupAddress(ReadArchivedGroupAddress(ar, GetGroupDataAddresses()));
    WORD wSendOnChange = 0;
    WORD wRange = 0;
    ar >> m_wValue >> wSendOnChange >> wRange;
    m_bSendOnChange = wSendOnChange != 0;
    m_nRange = wRange;
    if (g_nArchiveSchema > 0x10000)
        ar >> m_nExponent;
}

// ------------------------------------------------------------ text export

void CQuantityMember::WriteCsvLine(std::string& strFile) const
{
    // Appended piece by piece: the export has a line per member.
    if (m_pGroupAddress) {
        m_pGroupAddress->AppendCsvLine(strFile, false);
        strFile += ',';
        AppendCsvField(strFile, FormatValue(static_cast<int>(m_pGroupAddress->GetObjectType()),
                                            static_cast<int>(m_pGroupAddress->GetSubType()), m_wValue, false));
    } else {
        strFile += "\"\",\"\",\"\",\"\"";
    }
    strFile += ',';
    AppendCsvField(strFile, m_nRange != 0 ? GetResString(302, "B") : GetResString(301, "A"));
    strFile += ',';
    AppendCsvField(strFile, m_bSendOnChange ? GetResString(808, "Ja") : GetResString(807, "Nein"));
    strFile += "\n";
}
