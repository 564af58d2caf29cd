#pragma once
// A recorded page: the drawing calls of one report page in order, with the
// fonts they used, so that a page shown again in the preview is replayed
// instead of laid out again.

#include "platform/base/Font.h"
#include "platform/base/WinGeometry.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

class IReportDC;

class CReportMetaFile
{
public:
    enum class Op { SelectFont, SetTextAlign, ExtTextOut, PatBlt, SaveDC, RestoreDC, IntersectClipRect };

    struct Record
    {
        Op op = Op::SaveDC;
        int x = 0;
        int y = 0;
        int cx = 0;
        int cy = 0;
        UINT nValue = 0;  // font index (-1 none), alignment, options, raster operation, saved level
        bool bHasRect = false;
        RECT rect;
        std::string strText;
    };

    // The index of a copy of the font, shared by every record that selects it.
    int AddFont(const CFont* pFont);
    void Add(Record record) { m_arrRecords.push_back(std::move(record)); }
    const std::vector<Record>& GetRecords() const { return m_arrRecords; }

    // Replays the page; the context's font, alignment and clip are as before
    // afterwards.
    void Play(IReportDC& dc) const;

private:
    std::vector<Record> m_arrRecords;
    std::vector<std::unique_ptr<CFont>> m_arrFonts;
};
