#pragma once
// The wait cursor on Qt: the busy cursor over the whole application from the
// first Begin to the last End.

#include "platform/base/WaitCursorSink.h"

class CQtWaitCursorSink : public platform::IWaitCursorSink {
public:
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    int GetDepth() const { return m_nDepth; }

private:
    int m_nDepth = 0;
};
