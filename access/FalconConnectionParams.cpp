#include "access/FalconConnectionParams.h"

std::string CFalconConnectionParams::GetGuidText() const
{
    return platform::FormatGuid(m_guidInterface);
}

bool CFalconConnectionParams::operator==(const CFalconConnectionParams& other) const
{
    return m_guidInterface == other.m_guidInterface && m_sConnectionParam == other.m_sConnectionParam &&
           m_sConnectionName == other.m_sConnectionName;
}
