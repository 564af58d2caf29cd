#pragma once
// The one place where the plug-in reads and changes the host project: device
// parameters, communication objects and their associations, the group tree,
// the device's address, application program and manufacturer, the project's
// name and the host's internal database. Stateless: callers make a local
// instance for each piece of work. Host objects are named by host id and
// found in the host object maps, or handed over directly.

#include "access/EtsDataRecords.h"
#include "access/ObjectLinkTable.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"

#include <string>

// GetCommObjectLength's answer when the length cannot be read: a value no
// host reports and no type check accepts, so that a failed read is never
// taken for the 1-bit code 0.
inline constexpr SHORT kCommObjectLengthFailed = -2;

class CEtsDataAccess {
public:
    CEtsDataAccess() = default;
    virtual ~CEtsDataAccess() = default;

    bool IsValid() const { return true; }

    // ---- device parameters (1 done, 0 failed) -------------------------------------
    int SetDeviceParameterValue(LONG nParameterId, const std::string& strText);
    int SetDeviceParameterLong(LONG nParameterId, LONG nValue);
    HRESULT SetDeviceParameterVariant(LONG nParameterId, VARIANT vValue);

    // ---- group addresses by host id -------------------------------------------------
    // The raw address (main << 12 | middle << 8 | sub) of the group address
    // in the current project, -1 when unknown, unreadable or of another
    // project.
    LONG GetGroupAddressParts(LONG nSubGroupId, LONG nProjectId);
    bool CompareProjectIds(LONG nProjectId, IEtsMainGroup* pMainGroup, LONG& nGroupProjectId);
    // The value-type code of the objects linked to the group address (-1
    // none); kCommObjectLengthFailed when it cannot be read.
    SHORT GetCommObjectLength(LONG nSubGroupId);
    std::string GetGroupName(LONG nSubGroupId);

    // ---- associations (0 done, -1 failed) ---------------------------------------------
    // The three further flags are not used; callers pass 1.
    LONG CreateAssociation(LONG nCommObjectId, LONG nSubGroupId, BOOL bSend, BOOL bFlag1, BOOL bFlag2, BOOL bFlag3);
    LONG CreateAssociationIfMissing(LONG nCommObjectId, LONG nSubGroupId, CObjectLinkTable& associations, BOOL bSend,
                                    BOOL bFlag1, BOOL bFlag2, BOOL bFlag3);
    // Takes the first listed association of the pair out of the list.
    bool FindAssociation(CObjectLinkTable& associations, LONG nCommObjectId, LONG nSubGroupId,
                         CComPtr<IEtsAssociation>& pAssociation);

    // ---- the group tree -------------------------------------------------------------------
    // New groups give their host id, -1 on failure. A failure after the host
    // made a group takes back what this call made (the new group, and for a
    // group address the main and middle group made on the way), so no
    // half-made group stays in the project or the maps; the texts and the
    // central flag only complete a made group and never undo it. The
    // trailing numbers are passed by the editors and not used.
    LONG AddMainGroup(IEtsProject* pProject, LONG nAddress, const std::string& strName,
                      const std::string& strDescription, const std::string& strUniqueName, int nUnused1 = 1,
                      int nUnused2 = 0);
    LONG AddMiddleGroup(LONG nMainGroupId, LONG nAddress, const std::string& strName,
                        const std::string& strDescription, const std::string& strUniqueName, int nUnused = 1);
    LONG AddGroupAddress(IEtsProject* pProject, LONG nMainAddress, LONG nMiddleAddress, LONG nSubAddress,
                         const std::string& strName, const std::string& strDescription,
                         const std::string& strUniqueName, BOOL bCentral, int nUnused1 = 1, int nUnused2 = 0);
    HRESULT GetOrCreateMainGroup(IEtsProject* pProject, LONG nAddress, CComPtr<IEtsMainGroup>& pMainGroup);
    HRESULT GetOrCreateMiddleGroup(IEtsMainGroup* pMainGroup, LONG nAddress, CComPtr<IEtsMiddleGroup>& pMiddleGroup);
    LONG GetSubGroupCount(LONG nMiddleGroupId);
    LONG FindSubGroup(LONG nMiddleGroupId, LONG nAddress);
    LONG FindMiddleGroup(LONG nMainGroupId, LONG nAddress);
    int IsMainGroupEmpty(IEtsMainGroup* pMainGroup);
    int IsMiddleGroupEmpty(IEtsMiddleGroup* pMiddleGroup);

    HRESULT GetMainGroupData(IEtsMainGroup* pMainGroup, std::string& strName, LONG& nId, LONG& nAddress);
    HRESULT GetMainGroupDataEx(IEtsMainGroup* pMainGroup, MainGroupData& data);
    HRESULT GetMainGroupAddress(IEtsMainGroup* pMainGroup, LONG& nAddress);
    HRESULT GetMiddleGroupData(IEtsMiddleGroup* pMiddleGroup, std::string& strName, LONG& nId, LONG& nAddress);
    HRESULT GetMiddleGroupDataEx(IEtsMiddleGroup* pMiddleGroup, MiddleGroupData& data);
    HRESULT GetMiddleGroupAddress(IEtsMiddleGroup* pMiddleGroup, LONG& nAddress);
    HRESULT GetSubGroupData(IEtsGroupAddress* pSubGroup, std::string& strName, LONG& nId, LONG& nAddress);
    HRESULT GetSubGroupDataEx(IEtsGroupAddress* pSubGroup, SubGroupData& data);

    // ---- communication objects and the device ------------------------------------------------
    HRESULT GetCommObjectData(IEtsCommObject* pObject, CommObjectData& data);
    HRESULT GetDeviceAddress(IEtsDevice* pDevice, LONG& nAddress);
    HRESULT GetAcknowledge(IEtsAssociation* pAssociation, bool& bAcknowledge);
    HRESULT GetApplicationInfo(IEtsApplicationProgram* pProgram, ApplicationData& data);
    HRESULT GetManufacturerInfo(IEtsManufacturer* pManufacturer, ManufacturerData& data);
    HRESULT GetProjectName(IEtsDevice* pDevice, std::string& strName);
    HRESULT GetInternalDatabase(IEtsDevice* pDevice, CComPtr<IEtsInternalDatabase>& pDatabase);
    HRESULT SetUpdateEnabled(LONG nCommObjectId, bool bEnabled);

private:
    // As above; nNewId is the id of a group made here, -1 when one existed.
    HRESULT GetOrCreateMainGroup(IEtsProject* pProject, LONG nAddress, CComPtr<IEtsMainGroup>& pMainGroup,
                                 LONG& nNewId);
    HRESULT GetOrCreateMiddleGroup(IEtsMainGroup* pMainGroup, LONG nAddress, CComPtr<IEtsMiddleGroup>& pMiddleGroup,
                                   LONG& nNewId);
    LONG AddAssociation(IEtsCommObject* pObject, IEtsGroupAddress* pGroupAddress, BOOL bSend);
    LONG SetSend(IEtsAssociation* pAssociation, BOOL bSend);
};
