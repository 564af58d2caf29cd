#pragma once
// The communication objects of a device with their group-address links, in
// two tables: the switchable objects (all but the internal clock's) and the
// static objects (the internal clock's). The save to the host project
// builds one before and one after and compares them.

#include "access/ObjectLinkTable.h"

class CObjectCookieMap {
public:
    CObjectCookieMap() = default;
    virtual ~CObjectCookieMap();
    CObjectCookieMap(const CObjectCookieMap&) = delete;
    CObjectCookieMap& operator=(const CObjectCookieMap&) = delete;

    CObjectLinkTable& GetSwitchableObjects() { return m_oSwitchableObjects; }
    CObjectLinkTable& GetStaticObjects() { return m_oStaticObjects; }

    // Logs the static objects, then the switchable ones, each with the
    // group addresses it carries.
    void Dump() const;

private:
    static void DumpTable(const CObjectLinkTable& table);

    CObjectLinkTable m_oSwitchableObjects;
    CObjectLinkTable m_oStaticObjects;
};
