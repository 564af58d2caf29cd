#pragma once
// What the parameter report reads from the view that prints it: the print
// items chosen for the job and the texts of the page header and footer,
// which come from the opened device.

#include "report/IReportOwner.h"

#include <string>

class CParamReport;
class IReportDC;

class IParamReportOwner : public IReportOwner
{
public:
    virtual int GetPrintItemCount() const = 0;
    // Adds the section of the print item at the index to the report's body;
    // sizes in HIMETRIC.
    virtual void AddPrintItemToReport(int nIndex, CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo,
                                      int nPageWidth, int nPageHeight) = 0;

    // "<manufacturer> - <product> - <application>".
    virtual std::string GetDeviceText() const = 0;
    // The device's individual address, "--.--.---" without one.
    virtual std::string GetIndividualAddressText() const = 0;
    // The open data file, empty when there is none.
    virtual std::string GetFilePath() const = 0;
    // Today in the system's short-date form.
    virtual std::string GetDateText() const = 0;
};
