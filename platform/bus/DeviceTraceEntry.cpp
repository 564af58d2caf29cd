#include "platform/bus/DeviceTraceEntry.h"

#include <cstdio>

const char* DeviceOperationName(EDeviceOperation eOperation)
{
    switch (eOperation) {
    case EDeviceOperation::TestInterface: return "TestInterface";
    case EDeviceOperation::Connect: return "Connect";
    case EDeviceOperation::Disconnect: return "Disconnect";
    case EDeviceOperation::PropertyRead: return "PropertyRead";
    case EDeviceOperation::PropertyWrite: return "PropertyWrite";
    case EDeviceOperation::MemoryRead: return "MemoryRead";
    case EDeviceOperation::MemoryWrite: return "MemoryWrite";
    case EDeviceOperation::UserMemoryRead: return "UserMemoryRead";
    case EDeviceOperation::UserMemoryWrite: return "UserMemoryWrite";
    }
    return "?";
}

std::string CDeviceTraceEntry::ToString() const
{
    char buf[96];
    std::string text = DeviceOperationName(m_eOperation);
    switch (m_eOperation) {
    case EDeviceOperation::TestInterface:
    case EDeviceOperation::Disconnect:
        break;
    case EDeviceOperation::Connect:
        std::snprintf(buf, sizeof buf, " %u.%u.%u", (m_nAddress >> 12) & 0xF, (m_nAddress >> 8) & 0xF,
                      m_nAddress & 0xFF);
        text += buf;
        break;
    case EDeviceOperation::PropertyRead:
    case EDeviceOperation::PropertyWrite:
        std::snprintf(buf, sizeof buf, " obj %u pid %u start %u count %u", m_nObjectIndex, m_nPropertyId,
                      m_nStartIndex, m_nCount);
        text += buf;
        break;
    case EDeviceOperation::MemoryRead:
    case EDeviceOperation::MemoryWrite:
    case EDeviceOperation::UserMemoryRead:
    case EDeviceOperation::UserMemoryWrite:
        std::snprintf(buf, sizeof buf, " 0x%04X", m_nAddress);
        text += buf;
        break;
    }
    if (!m_arrData.empty()) {
        text += " [";
        for (std::size_t i = 0; i < m_arrData.size(); ++i) {
            std::snprintf(buf, sizeof buf, i ? " %02x" : "%02x", m_arrData[i]);
            text += buf;
        }
        text += "]";
    }
    text += " ";
    text += DeviceResultName(m_eResult);
    return text;
}
