#pragma once
// One resource module: the tables of the built-in resources or of a loaded
// satellite library, with lookups by id. The module does not own the tables;
// they are static data of a module that is never unloaded.

#include "platform/base/ResourceTables.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <unordered_map>

namespace platform {

class CResourceModule {
public:
    // `strPath` is the file the tables come from (for messages and for
    // comparing modules); it may be empty.
    explicit CResourceModule(const ResourceTables& tables, std::string strPath = {});

    CResourceModule(const CResourceModule&) = delete;
    CResourceModule& operator=(const CResourceModule&) = delete;

    LANGID GetLanguage() const { return m_pTables->wLanguage; }
    const std::string& GetPath() const { return m_strPath; }
    const ResourceTables& GetTables() const { return *m_pTables; }

    // The string-table entry, or null when the module has none with that id.
    const char* FindString(UINT nId) const;

    // The resource with that id, or null.
    const ResMenu* FindMenu(UINT nId) const;
    const ResAcceleratorTable* FindAccelerators(UINT nId) const;
    const ResDialog* FindDialog(UINT nId) const;
    const ResBinary* FindBitmap(UINT nId) const;
    const ResBinary* FindIcon(UINT nId) const;
    const ResBinary* FindCursor(UINT nId) const;

private:
    const ResourceTables* m_pTables;
    std::string m_strPath;
    std::unordered_map<UINT, const char*> m_mapStrings;
};

}  // namespace platform
