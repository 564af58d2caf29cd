#pragma once
// A place in a list of object pointers, as the framework's list position:
// false when there is none. GetNext-style iteration hands out the item at the
// position and moves the position on; at the list's end it becomes none.
// Removing the entry a position stands on makes the position unusable.

#include <list>

template <typename T>
class ListPosition {
public:
    using List = std::list<T*>;

    ListPosition() = default;
    explicit operator bool() const { return m_bValid; }

    // The first place of the list, none for an empty list.
    static ListPosition Head(const List& list)
    {
        return list.empty() ? ListPosition() : ListPosition(list.begin(), list.end());
    }

    // The item at the position; the position moves to the next item or none.
    // Null for no position.
    T* Next()
    {
        if (!m_bValid)
            return nullptr;
        T* pItem = *m_it;
        if (++m_it == m_itEnd)
            *this = ListPosition();
        return pItem;
    }

private:
    ListPosition(typename List::const_iterator it, typename List::const_iterator itEnd)
        : m_it(it), m_itEnd(itEnd), m_bValid(true)
    {
    }

    typename List::const_iterator m_it {};
    typename List::const_iterator m_itEnd {};
    bool m_bValid = false;
};
