#pragma once
// The bus interface selection component as its callers see it: one object
// that knows the connections this machine has (a bus interface and the
// parameter that opens it), lets the user choose one and hands the choice
// back in a fixed 1172-byte connection record.
//
// Callers create the class CLSID_InterfaceSelection (registered by
// RegisterInterfaceSelectionClass, InterfaceSelectionClass.h), ask for
// IInterfaceSelection and call SelectConnection, the method at vtable
// position 10. The record's texts are fixed arrays of UTF-16 units that a
// foreign writer may leave without a terminating zero: read them only with
// GetConnectionName / GetConnectionParameter below.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

#include <bit>
#include <cstddef>
#include <string>
#include <string_view>

namespace Falcon {

inline constexpr CLSID CLSID_InterfaceSelection = platform::MakeGuid("{7B9D3F3C-B09E-4B81-8160-C8C3CFD1F582}");
inline constexpr char kProgIdInterfaceSelection[] = "Falcon.InterfaceSelection.1";

// The connection record: name, interface id and connection parameter, in
// the byte layout of the platform it comes from (little-endian, 16-bit wide
// characters, no padding).
struct ConnectionRecord {
    static constexpr std::size_t kNameLength = 66;
    static constexpr std::size_t kParameterLength = 512;

    char16_t szName[kNameLength];
    GUID guidInterface;
    char16_t szParameter[kParameterLength];
};

static_assert(std::endian::native == std::endian::little, "the connection record is stored little-endian");
static_assert(sizeof(GUID) == 16);
static_assert(sizeof(ConnectionRecord) == 1172);
static_assert(offsetof(ConnectionRecord, szName) == 0);
static_assert(offsetof(ConnectionRecord, guidInterface) == 132);
static_assert(offsetof(ConnectionRecord, szParameter) == 148);

// The text of a fixed wide field: up to its first zero unit, and never past
// the field's end when it has none. Unpaired surrogates become U+FFFD.
std::string ReadBoundedOleString(const char16_t* pField, std::size_t nLength);
// Writes the text with its terminating zero and zeroes the rest of the
// field. False, and the field untouched, when the text (as UTF-16 units plus
// the zero) does not fit: a cut name or path would name something else.
bool WriteBoundedOleString(char16_t* pField, std::size_t nLength, std::string_view utf8);

inline std::string GetConnectionName(const ConnectionRecord& record)
{
    return ReadBoundedOleString(record.szName, ConnectionRecord::kNameLength);
}
inline std::string GetConnectionParameter(const ConnectionRecord& record)
{
    return ReadBoundedOleString(record.szParameter, ConnectionRecord::kParameterLength);
}
inline bool SetConnectionName(ConnectionRecord& record, std::string_view utf8)
{
    return WriteBoundedOleString(record.szName, ConnectionRecord::kNameLength, utf8);
}
inline bool SetConnectionParameter(ConnectionRecord& record, std::string_view utf8)
{
    return WriteBoundedOleString(record.szParameter, ConnectionRecord::kParameterLength, utf8);
}

// The longest texts the record holds, in UTF-16 units (the zero takes one).
inline constexpr std::size_t kMaxConnectionNameUnits = ConnectionRecord::kNameLength - 1;
inline constexpr std::size_t kMaxConnectionParameterUnits = ConnectionRecord::kParameterLength - 1;

// Failures of SelectConnection beyond the common ones.
// Nothing to choose from: the machine has no connection of the interface
// asked for.
constexpr HRESULT E_NO_CONNECTION = MakeHResult(0x80070490u);
// The chosen state file's folder could not be made.
constexpr HRESULT E_STATE_FOLDER = MakeHResult(0x80070003u);

struct IInterfaceSelection : IUnknown {
    DECLARE_INTERFACE_IID(IInterfaceSelection, "{BA990407-4865-4467-BB7C-A920883A92FC}")

    // 3: how many connections the machine has.
    virtual HRESULT GetConnectionCount(LONG* pnCount) = 0;
    // 4: the connection at the index (from 0) with its default parameter;
    // E_INVALIDARG outside the list.
    virtual HRESULT GetConnection(LONG nIndex, ConnectionRecord* pRecord) = 0;
    // 5: S_OK when the record names a known interface with a parameter that
    // opens it now; S_FALSE when not. Nothing is created or changed.
    virtual HRESULT CheckConnection(const ConnectionRecord* pRecord) = 0;
    // 6, 7: the window the choice is shown over; null (the default) means
    // the process's active window.
    virtual HRESULT put_OwnerWindow(HWND hOwner) = 0;
    virtual HRESULT get_OwnerWindow(HWND* phOwner) = 0;
    // 8, 9: the title of the choice; empty (the default) means the
    // component's own.
    virtual HRESULT put_Caption(BSTR bstrCaption) = 0;
    virtual HRESULT get_Caption(BSTR* pbstrCaption) = 0;
    // 10: lets the user choose a connection and fills the record with it.
    // bstrInterface: a braced interface id to offer only that interface's
    // connections; empty or null offers all (E_INVALIDARG when malformed).
    // nPreselect: the index of the connection chosen at first; -1 chooses the
    // one the record already names (its parameter then comes from the
    // record); a record naming none chooses the connection in use: the one
    // this component handed out last in the process, else the one the
    // application's profile names (section SerialCommunication, keys Guid
    // and ConnectionParam), else the first. S_OK: the record holds the choice. S_FALSE:
    // the user cancelled; the record is as it was. A failure (negative)
    // leaves the record as it was too: E_POINTER without a record,
    // E_NO_CONNECTION with nothing to offer, E_UNEXPECTED when no chooser is
    // installed, E_INVALIDARG for an unusable choice, E_STATE_FOLDER when a
    // state file's folder cannot be made.
    virtual HRESULT SelectConnection(BSTR bstrInterface, LONG nPreselect, ConnectionRecord* pRecord) = 0;

protected:
    ~IInterfaceSelection() = default;
};

}  // namespace Falcon
