#pragma once
// The editor's internal clipboard: copies of switching times or of quantity
// members (one class at a time) that tables copy into and paste from. It
// owns its copies and is independent of the platform clipboard. Copies stay
// after pasting; a copy whose group address can no longer take it is
// dropped when it is asked for.

#include <cstddef>
#include <list>
#include <memory>

class CObject;

class CViewClipboard {
public:
    CViewClipboard() = default;
    ~CViewClipboard();
    CViewClipboard(const CViewClipboard&) = delete;
    CViewClipboard& operator=(const CViewClipboard&) = delete;

    // Replaces the contents with a copy of the object; false (and empty)
    // for null or an object of another class.
    bool SetObject(const CObject* pObject);
    // Appends a copy; false for null, another class, or a class other than
    // the one already held.
    bool AppendObject(const CObject* pObject);
    // Whether a table of the type may paste objects of the kind from here.
    bool Offers(int nTableType, int nKind) const;
    // The first usable copy of the kind (2 or 64), null when none; starts
    // the walk that GetNext continues.
    CObject* GetFirst(int nKind);
    CObject* GetNext(int nKind);

    void Clear();
    std::size_t GetCount() const { return m_copies.size(); }
    // The copy at an index, for inspection.
    const CObject* GetAt(std::size_t nIndex) const;

private:
    using CopyList = std::list<std::unique_ptr<CObject>>;
    static std::unique_ptr<CObject> MakeCopy(const CObject* pObject);
    static bool IsSameClass(const CObject* pA, const CObject* pB);

    CopyList m_copies;
    CopyList::iterator m_position = m_copies.end();
};
