#include "model/ObjectTypeParameters.h"

#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "common/Log.h"
#include "platform/com/ComVariant.h"

bool ReadDeviceParameterLong(LONG nId, LONG& nValue)
{
    IEtsDeviceParameter* pParameter = g_mapDeviceParameters.Lookup(nId);
    if (!pParameter) {
        LOG_ERROR("Parameter with id %ld doesnt exist.", static_cast<long>(nId));
        return false;
    }
    CComVariant value;
    if (FAILED(pParameter->get_Value(&value)) || FAILED(VariantChangeType(&value, &value, 0, VT_I4))) {
        LOG_ERROR("Couldnt get parameter value.");
        return false;
    }
    nValue = value.lVal;
    return true;
}

CObjectLink* FindByObjectTypeId(const CObjectLinkTable& table, LONG nId)
{
    for (int i = 0; i < table.GetCount(); ++i) {
        CObjectLink* pLink = table.GetLink(i);
        if (pLink && pLink->m_nObjectTypeId == nId)
            return pLink;
    }
    return nullptr;
}
