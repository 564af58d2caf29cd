// Loading the parameter set from the host project: the device's identity,
// every device parameter by name, the data sets' completion, then the
// reconciliation with the host's associations and the group-address check.

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "common/ProgressSteps.h"
#include "common/ResultCode.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"

#include <cerrno>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace {

// Indexed parameter families hold at most 250 entries (the object types);
// anything far above is a damaged name, not a reason to grow arrays.
constexpr long kMaxParameterIndex = 1000;

std::string VariantText(const VARIANT& vValue)
{
    CComVariant vText;
    if (FAILED(vText.ChangeType(VT_BSTR, &vValue)))
        return {};
    return platform::BstrToUtf8(vText.bstrVal);
}

LONG VariantLong(const VARIANT& vValue)
{
    CComVariant vNumber;
    if (FAILED(vNumber.ChangeType(VT_I4, &vValue)))
        return 0;
    return vNumber.lVal;
}

SHORT VariantShort(const VARIANT& vValue)
{
    CComVariant vNumber;
    if (FAILED(vNumber.ChangeType(VT_I2, &vValue)))
        return static_cast<SHORT>(VariantLong(vValue) & 0xFFFF);
    return vNumber.iVal;
}

// The name proper and the index behind the first '-' (0 when there is none
// or it is no number).
void SplitParameterName(const std::string& strName, std::string& strProper, long& nIndex)
{
    const std::size_t nDash = strName.find('-');
    nIndex = 0;
    if (nDash == std::string::npos) {
        strProper = strName;
        return;
    }
    strProper = strName.substr(0, nDash);
    const std::string strIndex = strName.substr(nDash + 1);
    errno = 0;
    char* pEnd = nullptr;
    const long long nValue = std::strtoll(strIndex.c_str(), &pEnd, 10);
    if (pEnd == strIndex.c_str())
        nIndex = 0;
    else if (errno == ERANGE || nValue > kMaxParameterIndex || nValue < -kMaxParameterIndex)
        nIndex = nValue < 0 ? -kMaxParameterIndex - 1 : kMaxParameterIndex + 1;
    else
        nIndex = static_cast<long>(nValue);
}

bool Is(const std::string& strName, const char* pszName)
{
    return ::strcasecmp(strName.c_str(), pszName) == 0;
}

}  // namespace

HRESULT CChronoset::LoadFromEts(IEtsDevice* pDevice, HWND hParent, CProgressInfo* pProgress, BOOL bNoMessages,
                                BOOL bShowCaption)
{
    CEtsDataAccess access;
    progress::SetRange(pProgress, bNoMessages ? 4010 : 4000);

    // The title is shown only; a device without one keeps the old text.
    if (pDevice) {
        CComPtr<IEtsProduct> pProduct;
        if (SUCCEEDED(pDevice->get_Product(&pProduct)) && pProduct) {
            CComBSTR bstrText;
            if (SUCCEEDED(pProduct->get_Text(&bstrText)))
                m_strDeviceTitle = bstrText.ToUtf8();
        }
    }

    if (bShowCaption)
        progress::SetCaption(pProgress, GetResString(113, "Parameterdaten laden"));
    progress::SetMiddleText(pProgress, GetResString(114, "Initialisiere Ladevorgang..."));
    progress::SetBottomText(pProgress, "");
    if (bShowCaption)
        ShowDeviceInfo(pProgress);

    HRESULT hr = ReadDeviceData(pDevice, pProgress, &access);
    if (FAILED(hr)) {
        LOG_ERROR("Calling ReadDeviceData hr=0x%08X", Hr(hr));
        return hr;
    }
    hr = LoadParameterData(pProgress, &access, pDevice);
    if (FAILED(hr)) {
        LOG_ERROR("Error loading parameter data hr=0x%08X", Hr(hr));
        return hr;
    }
    const int nComplete = CompleteEtsLoad(pProgress, &access);
    if (nComplete != 0) {
        // A half-completed set is neither reconciled nor checked: that would
        // rewrite the host's view from incomplete data.
        LOG_ERROR("Error calling CompleteEtsLoad hr=0x%08X", Hr(nComplete));
        CMessageBox().ShowError(progress::ProgressWindow(pProgress),
                                GetResString(814, "Fehler beim Laden der Parameterdaten!").c_str(), "");
        return nComplete;
    }

    DWORD nCount = 0;
    CountAssociations(nCount);
    ReconcileAssociations(pProgress, &access, hParent, bNoMessages != 0, pDevice);
    bool bRemoved = false;
    CheckGroupAddresses(pProgress, &access, m_nProjectId, bRemoved, bNoMessages != 0, false);
    CountAssociations(nCount);
    if (m_nAssociationCount == static_cast<DWORD>(GetMaxGroupAddressCount()) && !bNoMessages)
        ShowAssociationLimitMessage(hParent);
    progress::Step(pProgress);
    return 0;
}

HRESULT CChronoset::ReadDeviceData(IEtsDevice* pDevice, CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    progress::SetMiddleText(pProgress, GetResString(115, "Lese Gerätedaten..."));
    if (!pDevice)
        return E_POINTER;

    LONG nId = -1;
    HRESULT hr = GetObjectCookie(pDevice, nId);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get device cookie hr=0x%08X", Hr(hr));
        return hr;
    }
    m_nDeviceId = nId;

    CComPtr<IEtsProject> pProject;
    hr = pDevice->get_Project(&pProject);
    if (SUCCEEDED(hr) && !pProject)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get project from device hr=0x%08X", Hr(hr));
        return hr;
    }
    LONG nProjectId = -1;
    hr = GetObjectCookie(pProject, nProjectId);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get project cookie hr=0x%08X", Hr(hr));
        return hr;
    }
    m_nProjectId = nProjectId;

    // The rest is the device's description only: a gap is noted and the
    // load goes on.
    {
        CComBSTR bstrName;
        hr = pDevice->get_Name(&bstrName);
        if (FAILED(hr))
            LOG_WARNING("Couldnt get device name hr=0x%08X", Hr(hr));
        else
            m_strDeviceName = bstrName.ToUtf8();
    }
    {
        CComBSTR bstrDescription;
        hr = pDevice->get_Description(&bstrDescription);
        if (FAILED(hr))
            LOG_WARNING("Couldnt get device description hr=0x%08X", Hr(hr));
        else
            m_strDeviceDescription = bstrDescription.ToUtf8();
    }
    {
        LONG nAddress = -1;
        hr = pAccess ? pAccess->GetDeviceAddress(pDevice, nAddress) : E_POINTER;
        if (FAILED(hr))
            LOG_WARNING("Couldnt get device address hr=0x%08X", Hr(hr));
        else
            m_nIndividualAddress = nAddress;
    }
    CComPtr<IEtsApplicationProgram> pProgram;
    hr = pDevice->get_ApplicationProgram(&pProgram);
    if (SUCCEEDED(hr) && !pProgram)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_WARNING("Couldnt get application program hr=0x%08X", Hr(hr));
        return S_OK;
    }
    ApplicationData application;
    hr = pAccess ? pAccess->GetApplicationInfo(pProgram, application) : E_POINTER;
    if (FAILED(hr)) {
        LOG_WARNING("Couldnt get application program data hr=0x%08X", Hr(hr));
    } else {
        m_strApplicationName = application.strName;
        m_nDeviceType = application.nDeviceType;
        m_nApplicationVersion = static_cast<BYTE>(application.nVersion);
    }
    CComPtr<IEtsManufacturer> pManufacturer;
    hr = pProgram->get_Manufacturer(&pManufacturer);
    if (SUCCEEDED(hr) && !pManufacturer)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_WARNING("Couldnt get manufacturer from application program hr=0x%08X", Hr(hr));
        return S_OK;
    }
    ManufacturerData manufacturer;
    hr = pAccess ? pAccess->GetManufacturerInfo(pManufacturer, manufacturer) : E_POINTER;
    if (FAILED(hr)) {
        LOG_WARNING("Couldnt get manufacturer data hr=0x%08X", Hr(hr));
    } else {
        m_strManufacturerName = manufacturer.strName;
        m_nManufacturerId = manufacturer.nId;
    }
    return S_OK;
}

HRESULT CChronoset::LoadParameterData(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/, IEtsDevice* pDevice)
{
    progress::SetMiddleText(pProgress, GetResString(116, "Lese Parameter..."));
    if (!pDevice)
        return E_POINTER;
    CComPtr<IEtsDeviceParameters> pParameters;
    HRESULT hr = pDevice->get_DeviceParameters(&pParameters);
    if (SUCCEEDED(hr) && !pParameters)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get device parameters hr=0x%08X", Hr(hr));
        return hr;
    }
    LONG nCount = 0;
    hr = pParameters->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get parameter count hr=0x%08X", Hr(hr));
        return hr;
    }

    for (LONG i = 1; i <= nCount; ++i) {
        // An item that cannot be fetched or named is skipped wherever it
        // stands in the collection: the result does not hang on the last one.
        CComPtr<IEtsDeviceParameter> pParameter;
        hr = pParameters->Item(MakeIndexVariant(i), &pParameter);
        if (FAILED(hr) || !pParameter) {
            LOG_WARNING("Couldnt get parameter %ld, skipped hr=0x%08X", static_cast<long>(i),
                        Hr(FAILED(hr) ? hr : E_POINTER));
            continue;
        }
        CComBSTR bstrName;
        hr = pParameter->get_Name(&bstrName);
        if (FAILED(hr) || hr == S_FALSE || !bstrName.m_str) {
            LOG_WARNING("Couldnt get name of parameter %ld, skipped hr=0x%08X", static_cast<long>(i),
                        Hr(FAILED(hr) ? hr : S_FALSE));
            continue;
        }
        CComVariant vValue;
        hr = pParameter->get_Value(&vValue);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Parameter value hr=0x%08X", Hr(hr));
            return hr;
        }
        LONG nUnique = 0;
        hr = pParameter->get_UniqueNumber(&nUnique);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get unique number value hr=0x%08X", Hr(hr));
            return hr;
        }
        CComPtr<IEtsDomObjectInternal> pInternal;
        hr = pParameter->QueryInterface(&pInternal.p);
        if (SUCCEEDED(hr) && !pInternal)
            hr = E_NOINTERFACE;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get IDomObjectInternal interface hr=0x%08X", Hr(hr));
            return hr;
        }
        LONG nId = -1;
        hr = GetPersistInfo(pInternal, nId);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Parameter cookie hr=0x%08X", Hr(hr));
            return hr;
        }
        g_mapDeviceParameters.SetAt(nId, pParameter);
        if (!DistributeParameterData(bstrName.ToUtf8(), vValue, nId)) {
            hr = E_FAIL;
            LOG_ERROR("Couldnt DistributeParameterData hr=0x%08X", Hr(hr));
            return hr;
        }
        progress::Step(pProgress);
    }
    return S_OK;
}

bool CChronoset::DistributeParameterData(const std::string& strName, const VARIANT& vValue, LONG nId)
{
    std::string strProper;
    long nIndex = 0;
    SplitParameterName(strName, strProper, nIndex);
    const auto validIndex = [&]() {
        if (nIndex >= 0 && nIndex <= kMaxParameterIndex)
            return true;
        LOG_WARNING("parameter %s has an index out of range, ignored", strName.c_str());
        return false;
    };
    const int n = static_cast<int>(nIndex);

    if (Is(strProper, "ParameterVersion")) {
        m_nParameterVersionId = nId;
        m_nParameterVersion = VariantLong(vValue);
    } else if (Is(strProper, "PrintLabel")) {
        // Accepted, nothing to keep.
    } else if (Is(strProper, "SendDelay")) {
        m_nSendDelayId = nId;
        m_nSendDelay = static_cast<BYTE>(static_cast<WORD>(VariantShort(vValue)) & 0x0F);
    } else if (Is(strProper, "InternalClock")) {
        m_oInternalClock.SetParameterText(nId, VariantText(vValue));
    } else if (Is(strProper, "Summertimes")) {
        m_oSummertimes.SetParameterText(nId, VariantText(vValue));
    } else if (Is(strProper, "DayRoutines")) {
        m_oDayRoutines.SetDayRoutineParameter(nId, VariantText(vValue));
    } else if (Is(strProper, "DayRoutineDisplayName")) {
        if (validIndex())
            m_oDayRoutines.AddDisplayNameParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "Weekroutine")) {
        m_oWeekRoutine.SetParameterText(nId, VariantText(vValue));
    } else if (Is(strProper, "SpecialDay")) {
        if (validIndex())
            m_oSpecialDays.AddParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "SwitchTime")) {
        if (validIndex())
            m_oDayRoutines.AddSwitchTimeParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "Quantity")) {
        if (validIndex())
            m_oQuantities.AddQuantityParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "QuantityDisplayName")) {
        if (validIndex())
            m_oQuantities.AddDisplayNameParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "QuantityLinks")) {
        if (validIndex())
            m_oQuantities.AddLinksParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "QuantityMember")) {
        if (validIndex())
            m_oQuantities.AddMemberParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "GroupAddress")) {
        if (validIndex())
            m_oGroupDataAddresses.AddGroupAddressParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "InvalidAssocGroupAddress")) {
        if (validIndex())
            m_oGroupDataAddresses.AddInvalidGroupAddressParameter(nId, VariantText(vValue), n);
    } else if (Is(strProper, "ObjectType")) {
        if (validIndex()) {
            if (m_arrObjectTypeIds.size() <= static_cast<std::size_t>(n))
                m_arrObjectTypeIds.resize(static_cast<std::size_t>(n) + 1, -1);
            m_arrObjectTypeIds[static_cast<std::size_t>(n)] = nId;
        }
    } else if (Is(strProper, "RequestObjectVisibility")) {
        m_oInternalClock.SetRequestVisibilityId(nId);
    } else if (Is(strProper, "DateObjectVisibility")) {
        m_oInternalClock.SetDateVisibilityId(nId);
    } else if (Is(strProper, "TimeObjectVisibility")) {
        m_oInternalClock.SetTimeVisibilityId(nId);
    } else if (Is(strProper, "LockTimeProgramVisibility")) {
        m_oInternalClock.SetLockVisibilityId(nId);
    } else if (Is(strProper, "CacheData")) {
        m_oQuantities.SetCacheDataId(nId);
    } else if (Is(strProper, "TimeGroupAddressDisplayName")) {
        m_oInternalClock.SetTimeDisplayName(nId, VariantText(vValue));
    } else if (Is(strProper, "DateGroupAddressDisplayName")) {
        m_oInternalClock.SetDateDisplayName(nId, VariantText(vValue));
    } else if (Is(strProper, "RequestGroupAdressDisplayName")) {
        m_oInternalClock.SetRequestDisplayName(nId, VariantText(vValue));
    } else if (Is(strProper, "LockTimeProgramDisplayName")) {
        m_oInternalClock.SetLockDisplayName(nId, VariantText(vValue));
    } else {
        return false;
    }
    return true;
}

int CChronoset::CheckGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess, LONG /*nProjectId*/,
                                    bool& bRemoved, bool bNoMessages, bool bKeepUsed)
{
    progress::SetBottomText(pProgress, GetResString(40027, "Gruppenadressen"));
    bRemoved = false;
    int nResult = 0;

    // A snapshot: dropping an address must not disturb the walk.
    std::vector<CGroupDataAddress*> arrAddresses;
    GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, false);
    while (pos)
        arrAddresses.push_back(m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, false));

    for (CGroupDataAddress* pAddress : arrAddresses) {
        if (!pAddress) {
            LOG_ERROR("internal data error");
            nResult = 5;
            break;
        }
        bool bDrop = false;
        if (pAddress->GetReference() == -1) {
            LOG_WARNING("subgroup-id of GA is -1, item will be removed");
            bDrop = true;
        } else {
            bDrop = !CheckGroupAddressType(pAccess, pAddress);
        }
        if (bDrop) {
            LOG_WARNING("remove subgroup-id=%ld, address=%s", static_cast<long>(pAddress->GetReference()),
                        pAddress->GetAddressText(false).c_str());
            m_oGroupDataAddresses.Remove(pAddress, true);
            if (bKeepUsed || pAddress->HasUsage(GAU_ANY)) {
                pAddress->SetInvalid(true);
                if (!m_oGroupDataAddresses.AddGroupAddress(pAddress, true)) {
                    // The invalid list is full of used addresses: put it back
                    // rather than leave users with a freed address.
                    pAddress->SetInvalid(false);
                    m_oGroupDataAddresses.AddGroupAddress(pAddress, true);
                }
            } else {
                delete pAddress;
                bRemoved = true;
            }
        }
        progress::Step(pProgress);
    }
    progress::StepRemaining(pProgress, 250L - m_oGroupDataAddresses.GetCount(false));

    // A removal changes the set even when no one is told.
    if (nResult == 0 && bRemoved)
        g_bDataModified = true;
    if (nResult == 0 && !bNoMessages && (bRemoved || m_oInternalClock.WasGroupAddressDropped())) {
        g_bDataModified = true;
        CMessageBox().ShowWarning(
            platform::GetActiveWindow(),
            GetResString(161, "Einige der in der ORV/X Parametrierung verwendeten Gruppenadressen sind nicht mehr in "
                              "der ETS Datenbank vorhanden, oder mit einem Objekt unbekannten Typs verknüpft. Die "
                              "Adressen und deren Zuordnungen wurden entfernt.")
                .c_str(),
            GetResString(162, "Prüfung der Gruppenadressen").c_str());
    }
    return nResult;
}
