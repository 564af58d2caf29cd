#include "report/ParamReportLine.h"

CParamReportLine::CParamReportLine(CReportGroup* pGroup, UINT nFlags, int /*nMinHeight*/)
    : CReportLine(pGroup, nFlags, 0)
{
}
