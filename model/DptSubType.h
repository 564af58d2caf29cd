#pragma once
// One KNX datapoint type that values may have: its sub type number, the name
// shown for it, its unit and value range, and whether the raw range of the
// main type is mapped onto that range for display.

#include "platform/base/WinTypes.h"

#include <string>

class CDptSubType
{
public:
    CDptSubType(WORD wSubType, std::string strName, std::string strUnit, double dMin, double dMax, int nScaleFlag);

    WORD GetSubType() const { return m_wSubType; }
    const std::string& GetName() const { return m_strName; }
    const std::string& GetUnit() const { return m_strUnit; }
    double GetMin() const { return m_dMin; }
    double GetMax() const { return m_dMax; }
    // 1: raw 0..max of the main type is shown as GetMin()..GetMax() (5.1 shows
    // 0..255 as 0..100 %); 0: the shown value is the raw value.
    int GetScaleFlag() const { return m_nScaleFlag; }

private:
    WORD m_wSubType;
    std::string m_strName;
    std::string m_strUnit;
    double m_dMin;
    double m_dMax;
    int m_nScaleFlag;
};
