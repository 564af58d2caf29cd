#include "ui/TreeListItem.h"

#include "ui/TreeListBox.h"

#include <QPainter>

#include <vector>

CTreeListItem::CTreeListItem(const std::string& strText, int nImage, void* pData)
    : m_pData(pData), m_strText(strText), m_nImage(nImage) {}

CTreeListItem::~CTreeListItem() = default;

void CTreeListItem::Draw(CTreeListBox* /*pBox*/, QPainter& painter, const QRect& rectText, bool /*bSelected*/) {
    painter.fillRect(rectText, painter.background());
    std::string strText;
    GetText(strText);
    painter.drawText(rectText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(strText));
}

int CTreeListItem::GetImage() const {
    return m_nImage;
}

void CTreeListItem::GetText(std::string& strText) const {
    strText = m_strText;
}

void CTreeListItem::OnExpand(CTreeListBox* /*pBox*/) {}

void CTreeListItem::OnCollapse(CTreeListBox* /*pBox*/) {}

int CTreeListItem::GetChildCount(bool bRecursive, bool bExpandedOnly) const {
    if (bExpandedOnly && !IsExpanded()) {
        return 0;
    }
    int nCount = 0;
    for (const CTreeListItem* pChild = m_pFirstChild; pChild != nullptr; pChild = pChild->m_pNextSibling) {
        ++nCount;
        if (bRecursive) {
            nCount += pChild->GetChildCount(true, bExpandedOnly);
        }
    }
    return nCount;
}

bool CTreeListItem::IsBefore(const CTreeListItem* pOther) const {
    if (pOther == nullptr || pOther == this) {
        return false;
    }
    auto path = [](const CTreeListItem* pItem) {
        std::vector<const CTreeListItem*> nodes;
        for (; pItem != nullptr; pItem = pItem->m_pParent) {
            nodes.insert(nodes.begin(), pItem);
        }
        return nodes;
    };
    const std::vector<const CTreeListItem*> mine = path(this);
    const std::vector<const CTreeListItem*> theirs = path(pOther);
    std::size_t i = 0;
    while (i < mine.size() && i < theirs.size() && mine[i] == theirs[i]) {
        ++i;
    }
    if (i == mine.size()) {
        return true;  // an ancestor comes before its descendants
    }
    if (i == theirs.size()) {
        return false;
    }
    for (const CTreeListItem* p = mine[i]->m_pNextSibling; p != nullptr; p = p->m_pNextSibling) {
        if (p == theirs[i]) {
            return true;
        }
    }
    return false;
}
