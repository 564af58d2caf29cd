#pragma once
// The item of the group-address selection list and of the print data
// selection: a tree node with a marked image, ownership of its data and the
// rectangle its text was last drawn in. A group node (node kind 2 or 6, set
// by the list that makes it) also shows its marked image while any child or
// grandchild is marked.

#include "ui/TreeListItem.h"

// Data ownership.
constexpr int LIDO_MEMORY = 0;  // a plain memory block, freed with the item
constexpr int LIDO_OBJECT = 1;  // an object, deleted with the item

class CListItem : public CTreeListItem {
public:
    CListItem(const std::string& strText, int nImage, int nMarkedImage, void* pData, int nDataOwnership);
    ~CListItem() override;

    void Draw(CTreeListBox* pBox, QPainter& painter, const QRect& rectText, bool bSelected) override;
    int GetImage() const override;

    const QRect& GetTextRect() const { return m_rectText; }
    int GetDataOwnership() const { return m_nDataOwnership; }
    int GetMarkedImage() const { return m_nMarkedImage; }
    void SetTextOffset(bool bOffset) { m_bTextOffset = bOffset; }
    // The kind of node the data stands for, told by the list that makes the
    // item; 2 and 6 are group nodes.
    void SetNodeKind(int nKind) { m_nNodeKind = nKind; }
    int GetNodeKind() const { return m_nNodeKind; }
    bool IsGroupNode() const { return m_nNodeKind == 2 || m_nNodeKind == 6; }

private:
    QRect m_rectText;
    int m_nDataOwnership = LIDO_MEMORY;
    int m_nMarkedImage = -1;
    bool m_bTextOffset = true;
    int m_nNodeKind = 0;
};
