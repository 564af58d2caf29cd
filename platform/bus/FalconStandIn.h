#pragma once
// Switches and records of the bus-access library's stand-in, for tests and
// tools: failures to inject into its objects, the form in which reads are
// answered, and a log of the calls its objects took. Process-wide and
// thread-safe; the simulated device keeps its own faults and trace.

#include "platform/base/WinTypes.h"
#include "platform/com/Variant.h"

#include <string>
#include <vector>

enum class EFalconClass { Connection, PropertyAccess, MemoryAccess, UserMemoryAccess };

// Calls of the library whose failure can be injected (the accesses fail
// through the device's own faults).
enum class EFalconCall { SetMode, SetTargetAddress, Open, BindConnection };

// How a read is answered: a byte array (what the library gives), a long
// array with one element per byte, or one long holding up to four bytes,
// the first in the least significant byte.
enum class EFalconReplyForm { ByteArray, LongArray, Long };

struct CFalconCallRecord
{
    std::string m_strCall;  // "Connection.Open2", "PropertyAccess.Write", ...
    VARTYPE m_vtValue = VT_EMPTY;  // the value written, or the reply read
    HRESULT m_hr = S_OK;
};

class CFalconStandIn
{
public:
    // Creating an object of the class fails with hr (S_OK: it does not).
    static void SetCreateFailure(EFalconClass eClass, HRESULT hr);
    static HRESULT GetCreateFailure(EFalconClass eClass);
    // Every call of that kind fails with hr (S_OK: none) before it acts.
    static void SetCallFailure(EFalconCall eCall, HRESULT hr);
    static HRESULT GetCallFailure(EFalconCall eCall);

    static void SetReplyForm(EFalconReplyForm eForm);
    static EFalconReplyForm GetReplyForm();
    // Reads answer with at most that many elements (0: all).
    static void SetReplyLimit(std::size_t nElements);
    static std::size_t GetReplyLimit();

    // How long a device behind knxd has to answer a request, in
    // milliseconds (6000 unless set).
    static void SetAnswerTimeout(int nMilliseconds);
    static int GetAnswerTimeout();

    static void Record(const char* pszCall, VARTYPE vtValue, HRESULT hr);
    static std::vector<CFalconCallRecord> GetCalls();
    static void ClearCalls();

    // Everything back to the library's plain behaviour, the log emptied.
    static void Reset();
};
