#pragma once
// A node of the tree that a tree list box shows: text, image, the caller's
// data and item data, links to parent, siblings and children, and its state
// (shown, marked, expanded). A node whose item data is not 0 is a leaf.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <QRect>

#include <string>

class CTreeListBox;
class QPainter;

// State bits.
constexpr WORD TLIS_SHOWN = 1;
constexpr WORD TLIS_MARKED = 2;
constexpr WORD TLIS_EXPANDED = 4;

class CTreeListItem : public CObject {
    friend class CTreeListBox;

public:
    CTreeListItem(const std::string& strText, int nImage, void* pData);
    ~CTreeListItem() override;
    CTreeListItem(const CTreeListItem&) = delete;
    CTreeListItem& operator=(const CTreeListItem&) = delete;

    // The text vertically centred in the rectangle, over its background.
    virtual void Draw(CTreeListBox* pBox, QPainter& painter, const QRect& rectText, bool bSelected);
    virtual int GetImage() const;
    virtual void GetText(std::string& strText) const;
    // Before the children are shown; a subclass may create them here.
    virtual void OnExpand(CTreeListBox* pBox);
    // After the children are hidden.
    virtual void OnCollapse(CTreeListBox* pBox);

    CTreeListItem* GetParent() const { return m_pParent; }
    CTreeListItem* GetFirstChild() const { return m_pFirstChild; }
    CTreeListItem* GetLastChild() const { return m_pLastChild; }
    CTreeListItem* GetNextSibling() const { return m_pNextSibling; }
    CTreeListItem* GetPrevSibling() const { return m_pPrevSibling; }
    WORD GetState() const { return m_wState; }
    void SetState(WORD wState) { m_wState = wState; }
    bool IsShown() const { return (m_wState & TLIS_SHOWN) != 0; }
    bool IsExpanded() const { return (m_wState & TLIS_EXPANDED) != 0; }
    bool IsMarked() const { return (m_wState & TLIS_MARKED) != 0; }
    bool IsLeaf() const { return m_nItemData != 0; }
    int GetLevel() const { return m_nLevel; }
    int GetItemData() const { return m_nItemData; }
    void SetItemData(int nItemData) { m_nItemData = nItemData; }
    void* GetData() const { return m_pData; }
    const std::string& GetTextRef() const { return m_strText; }
    void SetText(const std::string& strText) { m_strText = strText; }
    // Children, with all their descendants when recursive; 0 with
    // bExpandedOnly for a node that is not expanded.
    int GetChildCount(bool bRecursive, bool bExpandedOnly) const;
    // Whether this node comes before the other in display order.
    bool IsBefore(const CTreeListItem* pOther) const;

protected:
    void* m_pData = nullptr;
    CTreeListItem* m_pParent = nullptr;
    CTreeListItem* m_pNextSibling = nullptr;
    CTreeListItem* m_pPrevSibling = nullptr;
    CTreeListItem* m_pFirstChild = nullptr;
    CTreeListItem* m_pLastChild = nullptr;
    int m_nItemData = 0;
    WORD m_wState = 0;
    std::string m_strText;
    int m_nImage = -1;
    int m_nLevel = -1;
};
