// The host stand-in's project file on arbitrary text. A file that loads is
// walked through the object model as the plug-in reads it: projects,
// devices with their parameters, communication objects and associations,
// main and middle groups and group addresses with the associations that
// refer to them, each object's persistence id. A loaded project is saved and
// loaded again, which must give the same file.

#include "fuzz/FuzzCheck.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"
#include "platform/host/EtsHost.h"
#include "platform/host/HostState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace platform::host;

template <class Itf>
void ReadCookie(Itf* p)
{
    CComPtr<IEtsDomObjectInternal> pInternal;
    LONG nCookie = 0;
    if (SUCCEEDED(p->QueryInterface(&pInternal.p)) && pInternal)
        FUZZ_CHECK(SUCCEEDED(pInternal->GetPersistInfo(&nCookie, nullptr)) && nCookie > 0);
}

void ReadVariant(HRESULT hr, VARIANT& v)
{
    if (SUCCEEDED(hr))
        VariantClear(&v);
}

// Every item of a collection counted from 1; the indices around it fail.
template <class Item, class Collection, class Fn>
void ForEach(Collection* pCollection, Fn fn)
{
    if (!pCollection)
        return;
    LONG nCount = 0;
    if (FAILED(pCollection->get_Count(&nCount)))
        return;
    FUZZ_CHECK(nCount >= 0);
    for (LONG n : {LONG {0}, nCount + 1}) {
        CComPtr<Item> pItem;
        FUZZ_CHECK(FAILED(pCollection->Item(MakeIndexVariant(n), &pItem.p)));
    }
    for (LONG n = 1; n <= nCount; ++n) {
        CComPtr<Item> pItem;
        FUZZ_CHECK(SUCCEEDED(pCollection->Item(MakeIndexVariant(n), &pItem.p)) && pItem);
        fn(pItem.p);
    }
}

#define READ_TEXT(p, member)        \
    do {                            \
        CComBSTR bstr;              \
        (void)(p)->member(&bstr);   \
        (void)bstr.ToUtf8();        \
    } while (false)
#define READ_VARIANT(p, member)                 \
    do {                                        \
        VARIANT v;                              \
        VariantInit(&v);                        \
        ReadVariant((p)->member(&v), v);        \
    } while (false)
#define READ_VALUE(p, member, Type) \
    do {                            \
        Type value {};              \
        (void)(p)->member(&value);  \
    } while (false)

void ReadAssociation(IEtsAssociation* pAssociation)
{
    ReadCookie(pAssociation);
    CComPtr<IEtsGroupAddress> pGroupAddress;
    FUZZ_CHECK(SUCCEEDED(pAssociation->get_GroupAddress(&pGroupAddress.p)) && pGroupAddress);
    READ_VARIANT(pGroupAddress.p, get_Address);
    ReadCookie(pGroupAddress.p);
    CComPtr<IEtsCommObject> pObject;
    FUZZ_CHECK(SUCCEEDED(pAssociation->get_Parent(&pObject.p)) && pObject);
    CComPtr<IEtsDevice> pDevice;
    FUZZ_CHECK(SUCCEEDED(pAssociation->get_Device(&pDevice.p)) && pDevice);
    READ_VALUE(pAssociation, get_Send, VARIANT_BOOL);
    READ_VALUE(pAssociation, get_Acknowledge, VARIANT_BOOL);
}

void ReadCommObject(IEtsCommObject* pObject)
{
    ReadCookie(pObject);
    for (const char* pszName :
         {"CommunicationObjectNumber", "CommunicationObjectName", "CommunicationObjectFunction", "AssociationsText",
          "CommunicationObjectLength", "TransmissionPriority", "CommunicationEnabled", "ReadEnabled", "WriteEnabled",
          "TransmissionEnabled", "UpdateEnabled", "Visible"}) {
        CComBSTR bstrName(pszName);
        VARIANT v;
        VariantInit(&v);
        FUZZ_CHECK(SUCCEEDED(pObject->GetProperty(bstrName, &v)));
        VariantClear(&v);
    }
    CComPtr<IEtsAssociations> pAssociations;
    if (SUCCEEDED(pObject->get_Associations(&pAssociations.p)))
        ForEach<IEtsAssociation>(pAssociations.p, ReadAssociation);
    CComPtr<IEtsDevice> pDevice;
    FUZZ_CHECK(SUCCEEDED(pObject->get_Parent(&pDevice.p)) && pDevice);
}

void ReadGroupAddress(IEtsGroupAddress* pGroupAddress)
{
    ReadCookie(pGroupAddress);
    READ_TEXT(pGroupAddress, get_Name);
    READ_TEXT(pGroupAddress, get_Description);
    READ_TEXT(pGroupAddress, get_UniqueName);
    READ_VARIANT(pGroupAddress, get_Address);
    READ_VALUE(pGroupAddress, get_PassThrough, VARIANT_BOOL);
    READ_VALUE(pGroupAddress, get_Central, VARIANT_BOOL);
    READ_VALUE(pGroupAddress, get_CommunicationObjectLength, SHORT);
    CComPtr<IEtsMiddleGroup> pParent;
    FUZZ_CHECK(SUCCEEDED(pGroupAddress->get_Parent(&pParent.p)) && pParent);
    CComPtr<IEtsAssociations> pAssociations;
    if (SUCCEEDED(pGroupAddress->get_RefAssociations(&pAssociations.p)))
        ForEach<IEtsAssociation>(pAssociations.p, ReadAssociation);
}

void ReadMiddleGroup(IEtsMiddleGroup* pMiddle)
{
    ReadCookie(pMiddle);
    READ_TEXT(pMiddle, get_Name);
    READ_TEXT(pMiddle, get_Description);
    READ_TEXT(pMiddle, get_UniqueName);
    READ_VARIANT(pMiddle, get_Address);
    READ_VALUE(pMiddle, get_PassThrough, VARIANT_BOOL);
    CComPtr<IEtsMainGroup> pParent;
    FUZZ_CHECK(SUCCEEDED(pMiddle->get_Parent(&pParent.p)) && pParent);
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    if (SUCCEEDED(pMiddle->get_GroupAddresses(&pGroupAddresses.p)))
        ForEach<IEtsGroupAddress>(pGroupAddresses.p, ReadGroupAddress);
}

void ReadMainGroup(IEtsMainGroup* pMain)
{
    ReadCookie(pMain);
    READ_TEXT(pMain, get_Name);
    READ_TEXT(pMain, get_Description);
    READ_TEXT(pMain, get_UniqueName);
    READ_VARIANT(pMain, get_Address);
    READ_VALUE(pMain, get_PassThrough, VARIANT_BOOL);
    CComPtr<IEtsProject> pProject;
    FUZZ_CHECK(SUCCEEDED(pMain->get_Project(&pProject.p)) && pProject);
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    if (SUCCEEDED(pMain->get_MiddleGroups(&pMiddleGroups.p)))
        ForEach<IEtsMiddleGroup>(pMiddleGroups.p, ReadMiddleGroup);
}

void ReadProject(IEtsProject* pProject)
{
    ReadCookie(pProject);
    READ_TEXT(pProject, get_Name);
    CComPtr<IEtsMainGroups> pMainGroups;
    if (SUCCEEDED(pProject->get_MainGroups(&pMainGroups.p)))
        ForEach<IEtsMainGroup>(pMainGroups.p, ReadMainGroup);
}

void ReadParameter(IEtsDeviceParameter* pParameter)
{
    ReadCookie(pParameter);
    READ_TEXT(pParameter, get_Name);
    READ_VARIANT(pParameter, get_Value);
    READ_VALUE(pParameter, get_UniqueNumber, LONG);
}

void ReadDevice(IEtsDevice* pDevice)
{
    ReadCookie(pDevice);
    CComPtr<IEtsProjectDatabase> pDatabase;
    FUZZ_CHECK(SUCCEEDED(pDevice->get_Parent(&pDatabase.p)) && pDatabase);
    CComPtr<IEtsProject> pProject;
    FUZZ_CHECK(SUCCEEDED(pDevice->get_Project(&pProject.p)) && pProject);
    READ_TEXT(pDevice, get_Name);
    READ_TEXT(pDevice, get_Description);
    CComPtr<IEtsProduct> pProduct;
    if (SUCCEEDED(pDevice->get_Product(&pProduct.p)) && pProduct)
        READ_TEXT(pProduct.p, get_Text);
    READ_VARIANT(pDevice, get_Address);
    CComPtr<IEtsLine> pLine;
    if (SUCCEEDED(pDevice->get_Line(&pLine.p)) && pLine) {
        READ_VARIANT(pLine.p, get_Address);
        CComPtr<IEtsArea> pArea;
        if (SUCCEEDED(pLine->get_Area(&pArea.p)) && pArea)
            READ_VARIANT(pArea.p, get_Address);
    }
    CComPtr<IEtsApplicationProgram> pProgram;
    if (SUCCEEDED(pDevice->get_ApplicationProgram(&pProgram.p)) && pProgram) {
        READ_TEXT(pProgram.p, get_Name);
        READ_VALUE(pProgram.p, get_Version, LONG);
        READ_VALUE(pProgram.p, get_DeviceType, LONG);
        CComPtr<IEtsManufacturer> pManufacturer;
        if (SUCCEEDED(pProgram->get_Manufacturer(&pManufacturer.p)) && pManufacturer) {
            READ_TEXT(pManufacturer.p, get_Name);
            READ_VALUE(pManufacturer.p, get_ID, LONG);
        }
    }
    CComPtr<IEtsDeviceParameters> pParameters;
    if (SUCCEEDED(pDevice->get_DeviceParameters(&pParameters.p)))
        ForEach<IEtsDeviceParameter>(pParameters.p, ReadParameter);
    CComPtr<IEtsCommObjects> pObjects;
    if (SUCCEEDED(pDevice->get_CommunicationObjects(&pObjects.p)))
        ForEach<IEtsCommObject>(pObjects.p, ReadCommObject);
    CComPtr<IEtsCommObjects> pVisible;
    if (SUCCEEDED(pDevice->get_VisibleCommunicationObjects(&pVisible.p)))
        ForEach<IEtsCommObject>(pVisible.p, ReadCommObject);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CEtsHost host;
    host.GetState()->m_bCallLog = false;
    if (!host.LoadText(text))
        return 0;
    FUZZ_CHECK(!host.IsModified());

    CComPtr<IEtsProjectDatabase> pDatabase = host.GetDatabase();
    FUZZ_CHECK(pDatabase != nullptr);
    CComPtr<IEtsProjects> pProjects;
    if (SUCCEEDED(pDatabase->get_Projects(&pProjects.p)))
        ForEach<IEtsProject>(pProjects.p, ReadProject);
    CComPtr<IEtsDevices> pDevices;
    if (SUCCEEDED(pDatabase->get_Devices(&pDevices.p)))
        ForEach<IEtsDevice>(pDevices.p, ReadDevice);
    CComPtr<IEtsGroupAddresses> pAll;
    if (SUCCEEDED(pDatabase->get_AllGroupAddresses(&pAll.p)))
        ForEach<IEtsGroupAddress>(pAll.p, ReadGroupAddress);
    CComPtr<IEtsMainGroups> pMainGroups;
    if (SUCCEEDED(pDatabase->get_MainGroups(&pMainGroups.p)))
        ForEach<IEtsMainGroup>(pMainGroups.p, ReadMainGroup);
    for (LONG nId : host.GetDeviceIds()) {
        FUZZ_CHECK(host.FindDevice(nId) != nullptr);
        (void)host.FindCommObject(nId, 1);
    }
    FUZZ_CHECK(!host.IsModified());

    // What is saved loads again to the same project.
    const std::string strSaved = host.SaveText();
    CEtsHost again;
    std::string strError;
    FUZZ_CHECK(again.LoadText(strSaved, &strError));
    FUZZ_CHECK(again.SaveText() == strSaved);
    return 0;
}
