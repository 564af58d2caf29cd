#pragma once
// The bus-interface settings of standalone mode: which interface class the
// bus-access library opens, under what name the user chose it and the
// parameter text it is opened with. Kept in the settings section
// SerialCommunication.

#include "platform/base/Guid.h"

#include <string>
#include <utility>

class CFalconConnectionParams {
public:
    CFalconConnectionParams() = default;
    CFalconConnectionParams(const CFalconConnectionParams&) = default;
    CFalconConnectionParams& operator=(const CFalconConnectionParams&) = default;
    virtual ~CFalconConnectionParams() = default;

    const GUID& GetGuid() const { return m_guidInterface; }
    void SetGuid(const GUID& guid) { m_guidInterface = guid; }

    // Empty where the bus-access library expects no text at all.
    const std::string& GetConnectionParam() const { return m_sConnectionParam; }
    void SetConnectionParam(std::string text) { m_sConnectionParam = std::move(text); }

    const std::string& GetConnectionName() const { return m_sConnectionName; }
    void SetConnectionName(std::string text) { m_sConnectionName = std::move(text); }

    // The class id as braced text, as the library's open call takes it.
    std::string GetGuidText() const;

    bool operator==(const CFalconConnectionParams& other) const;

private:
    GUID m_guidInterface;            // class id of the bus interface; null until chosen
    std::string m_sConnectionParam;  // key ConnectionParam
    std::string m_sConnectionName;   // key ConnectionName
};
