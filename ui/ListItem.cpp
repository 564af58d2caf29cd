#include "ui/ListItem.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>

CListItem::CListItem(const std::string& strText, int nImage, int nMarkedImage, void* pData, int nDataOwnership)
    : CTreeListItem(strText, nImage, pData), m_nDataOwnership(nDataOwnership), m_nMarkedImage(nMarkedImage) {}

CListItem::~CListItem() {
    if (m_pData == nullptr) {
        return;
    }
    if (m_nDataOwnership == LIDO_MEMORY) {
        std::free(m_pData);
    } else if (m_nDataOwnership == LIDO_OBJECT) {
        delete static_cast<CObject*>(m_pData);
    }
    m_pData = nullptr;
}

int CListItem::GetImage() const {
    if (IsMarked()) {
        return m_nMarkedImage;
    }
    if (IsGroupNode()) {
        for (const CTreeListItem* pChild = GetFirstChild(); pChild != nullptr; pChild = pChild->GetNextSibling()) {
            if (pChild->IsMarked()) {
                return m_nMarkedImage;
            }
            for (const CTreeListItem* pGrand = pChild->GetFirstChild(); pGrand != nullptr;
                 pGrand = pGrand->GetNextSibling()) {
                if (pGrand->IsMarked()) {
                    return m_nMarkedImage;
                }
            }
        }
    }
    return CTreeListItem::GetImage();
}

void CListItem::Draw(CTreeListBox* pBox, QPainter& painter, const QRect& rectText, bool bSelected) {
    QRect rect = rectText;
    if (!m_bTextOffset) {
        rect.translate(-24, 0);
    }
    CTreeListItem::Draw(pBox, painter, rect, bSelected);
    std::string strText;
    GetText(strText);
    const QFontMetrics metrics(painter.font());
    m_rectText = QRect(rect.left(), rect.top(), metrics.horizontalAdvance(QString::fromStdString(strText)),
                       metrics.height());
}
