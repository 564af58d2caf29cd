#include "platform/bus/CemiFrame.h"

namespace {

constexpr std::size_t kFieldsAfterInfo = 7;  // control 1 and 2, source, destination, NPDU length
constexpr std::size_t kMaxTpdu = 256;        // the NPDU length is one octet

}  // namespace

bool CCemiFrame::Parse(const BYTE* pData, std::size_t nLength, CCemiFrame& oFrame)
{
    if (!pData || nLength < 2)
        return false;
    const BYTE nCode = pData[0];
    if (nCode != kDataRequest && nCode != kDataConfirm && nCode != kDataIndication)
        return false;
    const std::size_t nInfo = pData[1];
    const std::size_t nFields = 2 + nInfo;
    if (nLength < nFields + kFieldsAfterInfo)
        return false;
    const BYTE* p = pData + nFields;
    const std::size_t nTpdu = static_cast<std::size_t>(p[6]) + 1;
    if (nLength != nFields + kFieldsAfterInfo + nTpdu)
        return false;
    if ((p[0] & kStandardFrame) && nTpdu > kMaxStandardTpdu)
        return false;
    oFrame.m_nMessageCode = nCode;
    oFrame.m_arrAdditionalInfo.assign(pData + 2, pData + nFields);
    oFrame.m_nControl1 = p[0];
    oFrame.m_nControl2 = p[1];
    oFrame.m_nSource = static_cast<WORD>(p[2] << 8 | p[3]);
    oFrame.m_nDestination = static_cast<WORD>(p[4] << 8 | p[5]);
    oFrame.m_arrTpdu.assign(p + kFieldsAfterInfo, p + kFieldsAfterInfo + nTpdu);
    return true;
}

std::vector<BYTE> CCemiFrame::Encode() const
{
    const std::size_t nLimit = IsStandardFrame() ? kMaxStandardTpdu : kMaxTpdu;
    if (m_arrTpdu.empty() || m_arrTpdu.size() > nLimit || m_arrAdditionalInfo.size() > 0xFF)
        return {};
    std::vector<BYTE> arrBytes = {m_nMessageCode, static_cast<BYTE>(m_arrAdditionalInfo.size())};
    arrBytes.insert(arrBytes.end(), m_arrAdditionalInfo.begin(), m_arrAdditionalInfo.end());
    arrBytes.insert(arrBytes.end(), {m_nControl1, m_nControl2, HIBYTE(m_nSource), LOBYTE(m_nSource),
                                     HIBYTE(m_nDestination), LOBYTE(m_nDestination),
                                     static_cast<BYTE>(m_arrTpdu.size() - 1)});
    arrBytes.insert(arrBytes.end(), m_arrTpdu.begin(), m_arrTpdu.end());
    return arrBytes;
}
