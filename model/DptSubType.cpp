#include "model/DptSubType.h"

#include <utility>

CDptSubType::CDptSubType(WORD wSubType, std::string strName, std::string strUnit, double dMin, double dMax,
                         int nScaleFlag)
    : m_wSubType(wSubType),
      m_strName(std::move(strName)),
      m_strUnit(std::move(strUnit)),
      m_dMin(dMin),
      m_dMax(dMax),
      m_nScaleFlag(nScaleFlag)
{
}
