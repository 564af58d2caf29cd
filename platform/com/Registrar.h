#pragma once
// Runs registry scripts, the text form in which server modules describe
// their registry entries:
//
//   HKCR
//   {
//       Vek_ZR01.DeviceUI2.1 = s 'DeviceUI2 Class'
//       {
//           CLSID = s '%DynCLSIDUI%'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove %DynCLSIDUI% = s 'DeviceUI2 Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Words are separated by white space; '{', '}' and '=' stand alone. A name
// or text may be quoted in single quotes, a quote inside doubled (''). A key
// may carry a default value (= s 'text'), named values (val name = s 'text')
// and a block of subkeys. Value kinds: s (text) and d (a number, kept as its
// decimal text). %NAME% is replaced from the replacement map (names without
// regard to case), %% gives '%'; replaced text is taken literally, so a path
// with quotes or braces cannot change the script's structure.
//
// Register creates the keys and values. ForceRemove deletes the key with
// everything below it first; Delete deletes it and creates nothing.
// Unregister deletes what the script creates: a ForceRemove key with
// everything below it, a plain key once the keys the script names below it
// are gone and no foreign subkey is left (else only the values the script
// names), and never a NoRemove key (though the keys the script names below
// it are still removed).
//
// A script is parsed completely before the registry is touched, and the
// whole change is written in one step: a malformed script changes nothing
// and gives DISP_E_EXCEPTION with the reason in GetErrorText().

#include "platform/base/WinTypes.h"
#include "platform/com/RegistryKey.h"
#include "platform/com/RegistryStore.h"

#include <map>
#include <string>
#include <string_view>

namespace platform {

class CRegistrar {
public:
    CRegistrar();
    explicit CRegistrar(CRegistryStore store);

    HRESULT AddReplacement(std::string_view key, std::string_view item);
    HRESULT ClearReplacements();

    HRESULT StringRegister(std::string_view script);
    HRESULT StringUnregister(std::string_view script);

    // Runs the script on a tree in memory instead of the store.
    HRESULT ApplyToTree(std::string_view script, bool bRegister, CRegistryKey& root);

    // The reason of the last failure ("line 4: ..."), empty after success.
    const std::string& GetErrorText() const { return m_strError; }

    CRegistryStore& GetStore() { return m_store; }

private:
    HRESULT Run(std::string_view script, bool bRegister);

    CRegistryStore m_store;
    std::map<std::string, std::string, RegistryNameLess> m_mapReplacements;
    std::string m_strError;
};

}  // namespace platform
