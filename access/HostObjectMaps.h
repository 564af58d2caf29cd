#pragma once
// The host object maps of an editing run in plug-in mode, filled when the
// host project is scanned at the start and emptied at the end: host objects
// by host id, which the host data access looks up. Also the functions that
// read a host object's id.

#include "access/HostObjectMap.h"
#include "platform/host/EtsObjectModel.h"

extern CHostObjectMap<IEtsDeviceParameter> g_mapDeviceParameters;
// The open device's communication objects, in the order of the host's
// collection.
extern CHostObjectMap<IEtsCommObject> g_mapCommObjects;
// Group addresses (sub groups) of every project.
extern CHostObjectMap<IEtsGroupAddress> g_mapGroupAddresses;
extern CHostObjectMap<IEtsMiddleGroup> g_mapMiddleGroups;
extern CHostObjectMap<IEtsMainGroup> g_mapMainGroups;
extern CHostObjectMap<IEtsDevice> g_mapDevices;
extern CHostObjectMap<IEtsProject> g_mapProjects;

// Walks the host project database the device hangs in and enters its
// projects, devices, group addresses, main groups and middle groups. Each
// failed host call is logged and skips its collection or item.
void ScanEtsProjects(IEtsDevice* pDevice);

// Empties the seven maps in the order device parameters, communication
// objects, group addresses, middle groups, main groups, devices, projects.
void ReleaseHostObjectMaps();

// The host id of a host object from its internal interface; E_FAIL for a
// null object, else the host's result (a failure is logged).
HRESULT GetPersistInfo(IEtsDomObjectInternal* pObject, LONG& nCookie);
// The same for any host object, through its internal interface.
HRESULT GetObjectCookie(IUnknown* pObject, LONG& nCookie);
