#include "platform/base/ResourceModule.h"

#include <utility>

namespace platform {

namespace {

template <typename T>
const T* FindById(const ResList<T>& list, UINT nId) {
    for (const T& item : list) {
        if (item.nId == nId) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

CResourceModule::CResourceModule(const ResourceTables& tables, std::string strPath)
    : m_pTables(&tables), m_strPath(std::move(strPath)) {
    m_mapStrings.reserve(tables.strings.size());
    for (const ResString& entry : tables.strings) {
        // A null text is no entry; with a doubled id the first one counts.
        if (entry.pszText != nullptr) {
            m_mapStrings.emplace(entry.nId, entry.pszText);
        }
    }
}

const char* CResourceModule::FindString(UINT nId) const {
    auto it = m_mapStrings.find(nId);
    return it == m_mapStrings.end() ? nullptr : it->second;
}

const ResMenu* CResourceModule::FindMenu(UINT nId) const { return FindById(m_pTables->menus, nId); }

const ResAcceleratorTable* CResourceModule::FindAccelerators(UINT nId) const {
    return FindById(m_pTables->accelerators, nId);
}

const ResDialog* CResourceModule::FindDialog(UINT nId) const { return FindById(m_pTables->dialogs, nId); }

const ResBinary* CResourceModule::FindBitmap(UINT nId) const { return FindById(m_pTables->bitmaps, nId); }

const ResBinary* CResourceModule::FindIcon(UINT nId) const { return FindById(m_pTables->icons, nId); }

const ResBinary* CResourceModule::FindCursor(UINT nId) const { return FindById(m_pTables->cursors, nId); }

}  // namespace platform
