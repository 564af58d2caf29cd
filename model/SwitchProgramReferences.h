#pragma once
// How the switch program (switching times and day-routine triggers) refers
// to group addresses outside the host texts: the data-file form of such a
// reference, read by the schema of the file being loaded, and the identity
// check made before a stored pointer is used to give a use back.

#include "platform/base/WinTypes.h"

class CArchive;
class CGroupDataAddress;
class CGroupDataAddresses;

// Whether the address is one of the lists' own objects (by identity). With
// no lists to ask, a non-null address is taken as it is.
bool IsListedGroupAddress(const CGroupDataAddresses* pLists, const CGroupDataAddress* pAddress);

// The written form: present flag (WORD 0/1), then, when present, the host
// reference (DWORD) and the invalid-list flag (WORD 0/1).
void StoreArchivedGroupAddress(CArchive& ar, const CGroupDataAddress* pAddress);

// Reads the reference in the form of g_nArchiveSchema and finds its address:
//   0x10003 and older: raw address (WORD, 0xFFFF none), in the valid list;
//   0x10004: reference (DWORD, -1 none), in the valid list;
//   0x10005: reference and, when it is not -1, the invalid-list flag;
//   0x10006 and later: the written form.
// Null for none, for an address that no list holds, or without lists.
CGroupDataAddress* ReadArchivedGroupAddress(CArchive& ar, const CGroupDataAddresses* pLists);
