#pragma once
// The host tool's project object model as a plug-in sees it: the project
// database with its projects and devices, a device with its parameters,
// communication objects and associations, and the group tree of main
// groups, middle groups and group addresses (sub groups).
//
// Conventions (those of the host's automation objects):
// - Results are HRESULTs; nothing throws across these interfaces.
// - Texts are BSTRs: an out text is a new BSTR the caller frees, an in text
//   is only read.
// - Collections are indexed from 1 by an integer VARIANT (VT_I4 or any
//   integer kind); Item of an index outside 1..Count gives DISP_E_BADINDEX.
//   Deleting an item shifts the items after it down by one.
// - Group-tree and device addresses come as VARIANTs: VT_I4 with the
//   number, or VT_NULL when the object has no address. New groups are given
//   theirs as any integer VARIANT (the plug-in passes VT_I2) or VT_NULL.
// - Booleans are VARIANT_BOOL (-1 true, 0 false).
// - Every object of the project has a 32-bit persistence id (its cookie),
//   which stays the same across saving and loading the project. It is read
//   through the object's internal interface (IEtsDomObjectInternal).

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"
#include "platform/com/Variant.h"

// An association between this pair exists already; the existing
// association is handed out with it.
constexpr HRESULT ETS_E_ASSOCIATION_EXISTS = MakeHResult(0xC0040211u);
// A property name the object does not know.
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003u);

struct IEtsProject;
struct IEtsProjects;
struct IEtsDevice;
struct IEtsDevices;
struct IEtsDeviceParameter;
struct IEtsDeviceParameters;
struct IEtsCommObject;
struct IEtsCommObjects;
struct IEtsAssociation;
struct IEtsAssociations;
struct IEtsMainGroup;
struct IEtsMainGroups;
struct IEtsMiddleGroup;
struct IEtsMiddleGroups;
struct IEtsGroupAddress;
struct IEtsGroupAddresses;

// ---- persistence -----------------------------------------------------------

// The host's internal side of every project object.
struct IEtsDomObjectInternal : IUnknown {
    DECLARE_INTERFACE_IID(IEtsDomObjectInternal, "{80540A21-1AC5-4C8B-A1A6-CED2D0374084}")
    // The object's persistence id; with ppPersistInfo (may be null) also the
    // persistence information object, which offers IEagleDomPersist.
    virtual HRESULT GetPersistInfo(LONG* pnCookie, IUnknown** ppPersistInfo) = 0;

protected:
    ~IEtsDomObjectInternal() = default;
};

// The persistence side of the host: the database the object is stored in.
struct IEagleDomPersist : IUnknown {
    DECLARE_INTERFACE_IID(IEagleDomPersist, "{D093D868-4CBC-4E6C-89CE-AFA1EEEEE171}")
    // The database object; it offers IEtsInternalDatabase.
    virtual HRESULT get_Database(IUnknown** ppDatabase) = 0;

protected:
    ~IEagleDomPersist() = default;
};

// The host's internal project database.
struct IEtsInternalDatabase : IUnknown {
    DECLARE_INTERFACE_IID(IEtsInternalDatabase, "{EAFFDF10-B5A1-4D3C-8E0C-3E52A88463C2}")
    // A persistence id that no object of the database has or had.
    virtual HRESULT NewId(LONG* pnId) = 0;

protected:
    ~IEtsInternalDatabase() = default;
};

// ---- the database, projects and devices -------------------------------------

// What a device hangs in: the open project database with all its projects,
// all their devices, all group addresses and all main groups.
struct IEtsProjectDatabase : IUnknown {
    DECLARE_INTERFACE_IID(IEtsProjectDatabase, "{8E7E8953-B833-4CE9-ABDC-BD3EB7961208}")
    virtual HRESULT get_Projects(IEtsProjects** ppProjects) = 0;
    virtual HRESULT get_Devices(IEtsDevices** ppDevices) = 0;
    virtual HRESULT get_AllGroupAddresses(IEtsGroupAddresses** ppGroupAddresses) = 0;
    virtual HRESULT get_MainGroups(IEtsMainGroups** ppMainGroups) = 0;

protected:
    ~IEtsProjectDatabase() = default;
};

struct IEtsProject : IUnknown {
    DECLARE_INTERFACE_IID(IEtsProject, "{D66862A0-27DB-452A-9253-D8012DD933A9}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_MainGroups(IEtsMainGroups** ppMainGroups) = 0;

protected:
    ~IEtsProject() = default;
};

struct IEtsProjects : IUnknown {
    DECLARE_INTERFACE_IID(IEtsProjects, "{C9E3C814-4FC4-4816-9094-7E6B15C1AC7C}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsProject** ppProject) = 0;

protected:
    ~IEtsProjects() = default;
};

// The catalogue entry a device was made from; its text is the device title.
struct IEtsProduct : IUnknown {
    DECLARE_INTERFACE_IID(IEtsProduct, "{37C47D2A-C435-4CDC-AAB4-75E7BC62A5C7}")
    virtual HRESULT get_Text(BSTR* pbstrText) = 0;

protected:
    ~IEtsProduct() = default;
};

struct IEtsArea : IUnknown {
    DECLARE_INTERFACE_IID(IEtsArea, "{950A6F39-F647-4940-B2D6-374C4A3B2F5C}")
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;

protected:
    ~IEtsArea() = default;
};

struct IEtsLine : IUnknown {
    DECLARE_INTERFACE_IID(IEtsLine, "{9E84B62A-0388-4341-A853-7B7E9594C083}")
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;
    virtual HRESULT get_Area(IEtsArea** ppArea) = 0;

protected:
    ~IEtsLine() = default;
};

struct IEtsManufacturer : IUnknown {
    DECLARE_INTERFACE_IID(IEtsManufacturer, "{80D72764-5727-4706-B578-6426DCC1CFE4}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_ID(LONG* pnId) = 0;

protected:
    ~IEtsManufacturer() = default;
};

struct IEtsApplicationProgram : IUnknown {
    DECLARE_INTERFACE_IID(IEtsApplicationProgram, "{E9BDE3ED-8648-40D0-9939-BA8E23D15F04}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_Version(LONG* pnVersion) = 0;
    virtual HRESULT get_DeviceType(LONG* pnDeviceType) = 0;
    virtual HRESULT get_Manufacturer(IEtsManufacturer** ppManufacturer) = 0;

protected:
    ~IEtsApplicationProgram() = default;
};

struct IEtsDevice : IUnknown {
    DECLARE_INTERFACE_IID(IEtsDevice, "{368195E2-80C2-4489-8509-250E6D47B868}")
    virtual HRESULT get_Parent(IEtsProjectDatabase** ppDatabase) = 0;
    virtual HRESULT get_Project(IEtsProject** ppProject) = 0;
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_Description(BSTR* pbstrDescription) = 0;
    virtual HRESULT get_Product(IEtsProduct** ppProduct) = 0;
    // The device part of the individual address; VT_NULL while unassigned.
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;
    // S_OK with a null line for a device that sits in no line.
    virtual HRESULT get_Line(IEtsLine** ppLine) = 0;
    virtual HRESULT get_ApplicationProgram(IEtsApplicationProgram** ppProgram) = 0;
    virtual HRESULT get_DeviceParameters(IEtsDeviceParameters** ppParameters) = 0;
    virtual HRESULT get_CommunicationObjects(IEtsCommObjects** ppObjects) = 0;
    virtual HRESULT get_VisibleCommunicationObjects(IEtsCommObjects** ppObjects) = 0;

protected:
    ~IEtsDevice() = default;
};

struct IEtsDevices : IUnknown {
    DECLARE_INTERFACE_IID(IEtsDevices, "{051F7B6C-2269-4941-A4C2-DDA9015A9D05}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsDevice** ppDevice) = 0;

protected:
    ~IEtsDevices() = default;
};

// ---- device parameters ---------------------------------------------------------

struct IEtsDeviceParameter : IUnknown {
    DECLARE_INTERFACE_IID(IEtsDeviceParameter, "{36199697-040D-499D-A4D3-E64C94B7BE10}")
    // S_FALSE and a null name for a parameter that has none.
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    // A text (VT_BSTR) or a number (VT_I4).
    virtual HRESULT get_Value(VARIANT* pvValue) = 0;
    // Takes a text or any integer kind (kept as a number);
    // DISP_E_TYPEMISMATCH for anything else.
    virtual HRESULT put_Value(VARIANT vValue) = 0;
    virtual HRESULT get_UniqueNumber(LONG* pnNumber) = 0;

protected:
    ~IEtsDeviceParameter() = default;
};

struct IEtsDeviceParameters : IUnknown {
    DECLARE_INTERFACE_IID(IEtsDeviceParameters, "{A576482A-0461-4FA5-90BE-2EE84324DAC2}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsDeviceParameter** ppParameter) = 0;

protected:
    ~IEtsDeviceParameters() = default;
};

// ---- communication objects and associations --------------------------------------

// Property names of a communication object, read with GetProperty:
//   "CommunicationObjectNumber" (VT_I4), "CommunicationObjectName",
//   "CommunicationObjectFunction", "AssociationsText" (VT_BSTR),
//   "CommunicationObjectLength", "TransmissionPriority" (VT_I2),
//   "CommunicationEnabled", "ReadEnabled", "WriteEnabled",
//   "TransmissionEnabled", "UpdateEnabled", "Visible" (VT_BOOL).
// The five flags can be written with PutProperty; any other name gives
// DISP_E_MEMBERNOTFOUND, a known one that cannot be written E_ACCESSDENIED.
struct IEtsCommObject : IUnknown {
    DECLARE_INTERFACE_IID(IEtsCommObject, "{ECDE1E1F-CDF4-48FF-9172-BAF1870C83BC}")
    virtual HRESULT GetProperty(BSTR bstrName, VARIANT* pvValue) = 0;
    virtual HRESULT PutProperty(BSTR bstrName, VARIANT vValue) = 0;
    virtual HRESULT get_Associations(IEtsAssociations** ppAssociations) = 0;
    // The device the object belongs to.
    virtual HRESULT get_Parent(IEtsDevice** ppDevice) = 0;

protected:
    ~IEtsCommObject() = default;
};

struct IEtsCommObjects : IUnknown {
    DECLARE_INTERFACE_IID(IEtsCommObjects, "{3D94E89C-EA70-4DE7-AB90-C98CCA69449D}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsCommObject** ppObject) = 0;

protected:
    ~IEtsCommObjects() = default;
};

struct IEtsAssociation : IUnknown {
    DECLARE_INTERFACE_IID(IEtsAssociation, "{B5690914-34BE-4705-AC3D-FDE31A311374}")
    virtual HRESULT get_GroupAddress(IEtsGroupAddress** ppGroupAddress) = 0;
    // The communication object that carries the association.
    virtual HRESULT get_Parent(IEtsCommObject** ppObject) = 0;
    virtual HRESULT get_Device(IEtsDevice** ppDevice) = 0;
    virtual HRESULT get_Send(VARIANT_BOOL* pbSend) = 0;
    virtual HRESULT put_Send(VARIANT_BOOL bSend) = 0;
    virtual HRESULT get_Acknowledge(VARIANT_BOOL* pbAcknowledge) = 0;
    // Removes the association from the project; the object is dead afterwards
    // (every further call gives E_FAIL).
    virtual HRESULT Delete() = 0;

protected:
    ~IEtsAssociation() = default;
};

// The associations of a communication object, or those referring to a group
// address (which cannot be added to).
struct IEtsAssociations : IUnknown {
    DECLARE_INTERFACE_IID(IEtsAssociations, "{140DEED2-5956-4D54-9B9B-A9B944FDAD0E}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsAssociation** ppAssociation) = 0;
    // Associates the object with the group address. The plug-in of the
    // device is asked first (IEtsPlugInEvents::OnAddAssociation, with the new
    // association already counted); its refusal gives E_ABORT and no
    // association. An existing pair gives ETS_E_ASSOCIATION_EXISTS and that
    // association.
    virtual HRESULT Add(IEtsGroupAddress* pGroupAddress, IEtsAssociation** ppAssociation) = 0;

protected:
    ~IEtsAssociations() = default;
};

// ---- the group tree ---------------------------------------------------------------

struct IEtsMainGroup : IUnknown {
    DECLARE_INTERFACE_IID(IEtsMainGroup, "{2E555D94-7C11-4FDA-AAF4-3D1D35BB81CA}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_Description(BSTR* pbstrDescription) = 0;
    virtual HRESULT put_Description(BSTR bstrDescription) = 0;
    virtual HRESULT get_UniqueName(BSTR* pbstrUniqueName) = 0;
    virtual HRESULT put_UniqueName(BSTR bstrUniqueName) = 0;
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;
    // Telegrams of the group pass line couplers unfiltered.
    virtual HRESULT get_PassThrough(VARIANT_BOOL* pbPassThrough) = 0;
    virtual HRESULT get_Project(IEtsProject** ppProject) = 0;
    virtual HRESULT get_MiddleGroups(IEtsMiddleGroups** ppMiddleGroups) = 0;
    // Removes the group with everything below it from the project, and the
    // associations of its group addresses; the object is dead afterwards
    // (every further call gives E_FAIL).
    virtual HRESULT Delete() = 0;

protected:
    ~IEtsMainGroup() = default;
};

struct IEtsMainGroups : IUnknown {
    DECLARE_INTERFACE_IID(IEtsMainGroups, "{DD559195-DC2B-4AEB-9786-835ED9D46A6E}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsMainGroup** ppMainGroup) = 0;
    // Appends a main group; the address is an integer VARIANT 0..65535 or
    // VT_NULL (E_INVALIDARG otherwise).
    virtual HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsMainGroup** ppMainGroup) = 0;

protected:
    ~IEtsMainGroups() = default;
};

struct IEtsMiddleGroup : IUnknown {
    DECLARE_INTERFACE_IID(IEtsMiddleGroup, "{A9640546-1C1C-4624-90EE-FE24BDA3BD53}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_Description(BSTR* pbstrDescription) = 0;
    virtual HRESULT put_Description(BSTR bstrDescription) = 0;
    virtual HRESULT get_UniqueName(BSTR* pbstrUniqueName) = 0;
    virtual HRESULT put_UniqueName(BSTR bstrUniqueName) = 0;
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;
    virtual HRESULT get_PassThrough(VARIANT_BOOL* pbPassThrough) = 0;
    virtual HRESULT get_Parent(IEtsMainGroup** ppMainGroup) = 0;
    virtual HRESULT get_GroupAddresses(IEtsGroupAddresses** ppGroupAddresses) = 0;
    // Removes the group with everything below it from the project, and the
    // associations of its group addresses; the object is dead afterwards
    // (every further call gives E_FAIL).
    virtual HRESULT Delete() = 0;

protected:
    ~IEtsMiddleGroup() = default;
};

struct IEtsMiddleGroups : IUnknown {
    DECLARE_INTERFACE_IID(IEtsMiddleGroups, "{308D8B98-78F7-4514-A930-82D24D80AB2E}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsMiddleGroup** ppMiddleGroup) = 0;
    virtual HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsMiddleGroup** ppMiddleGroup) = 0;

protected:
    ~IEtsMiddleGroups() = default;
};

// A group address (a sub group of the tree).
struct IEtsGroupAddress : IUnknown {
    DECLARE_INTERFACE_IID(IEtsGroupAddress, "{9DCC4093-9F12-45E9-8649-9FC3467952A5}")
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT get_Description(BSTR* pbstrDescription) = 0;
    virtual HRESULT put_Description(BSTR bstrDescription) = 0;
    virtual HRESULT get_UniqueName(BSTR* pbstrUniqueName) = 0;
    virtual HRESULT put_UniqueName(BSTR bstrUniqueName) = 0;
    virtual HRESULT get_Address(VARIANT* pvAddress) = 0;
    virtual HRESULT get_PassThrough(VARIANT_BOOL* pbPassThrough) = 0;
    virtual HRESULT get_Central(VARIANT_BOOL* pbCentral) = 0;
    virtual HRESULT put_Central(VARIANT_BOOL bCentral) = 0;
    // The value-type code of the objects linked to the group address (their
    // "CommunicationObjectLength"): 0 1 bit, 1 2 bit, 7 1 byte, 8 2 bytes,
    // 9 3 bytes; -1 while no object is linked.
    virtual HRESULT get_CommunicationObjectLength(SHORT* pnLength) = 0;
    virtual HRESULT get_Parent(IEtsMiddleGroup** ppMiddleGroup) = 0;
    // Every association of any device with this group address.
    virtual HRESULT get_RefAssociations(IEtsAssociations** ppAssociations) = 0;
    // Removes the group with everything below it from the project, and the
    // associations of its group addresses; the object is dead afterwards
    // (every further call gives E_FAIL).
    virtual HRESULT Delete() = 0;

protected:
    ~IEtsGroupAddress() = default;
};

struct IEtsGroupAddresses : IUnknown {
    DECLARE_INTERFACE_IID(IEtsGroupAddresses, "{394A4918-0813-40A3-AC2D-C80B0318670D}")
    virtual HRESULT get_Count(LONG* pnCount) = 0;
    virtual HRESULT Item(VARIANT vIndex, IEtsGroupAddress** ppGroupAddress) = 0;
    // Appends a group address to a middle group's collection (E_NOTIMPL on
    // the project-wide list of all group addresses).
    virtual HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsGroupAddress** ppGroupAddress) = 0;

protected:
    ~IEtsGroupAddresses() = default;
};

// A collection index as the host's collections take it.
inline VARIANT MakeIndexVariant(LONG nIndex)
{
    VARIANT v;
    v.vt = VT_I4;
    v.wReserved1 = v.wReserved2 = v.wReserved3 = 0;
    v.lVal = nIndex;
    return v;
}
