#pragma once
// One host device parameter as a data set keeps it: its text and its host id
// (-1 when the parameter has none).

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

class CStringLongObject : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CStringLongObject)

    CStringLongObject() = default;
    CStringLongObject(std::string strText, LONG nId) : m_strText(std::move(strText)), m_nId(nId) {}

    const std::string& GetText() const { return m_strText; }
    void SetText(const std::string& strText) { m_strText = strText; }
    LONG GetId() const { return m_nId; }
    void SetId(LONG nId) { m_nId = nId; }

private:
    std::string m_strText;
    LONG m_nId = -1;
};

// The parameters of one indexed name, by index; an index without parameter
// holds null.
using CStringLongObjectArray = std::vector<std::unique_ptr<CStringLongObject>>;
