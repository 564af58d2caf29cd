#include "platform/base/WaitCursor.h"

#include "platform/base/WaitCursorSink.h"

CWaitCursor::CWaitCursor() : m_pSink(platform::GetWaitCursorSink()) {
    if (m_pSink != nullptr) {
        m_pSink->BeginWaitCursor();
    }
}

CWaitCursor::~CWaitCursor() {
    if (m_pSink != nullptr) {
        m_pSink->EndWaitCursor();
    }
}

void CWaitCursor::Restore() {
    // Ending and beginning again puts the busy cursor back on top.
    if (m_pSink != nullptr) {
        m_pSink->EndWaitCursor();
        m_pSink->BeginWaitCursor();
    }
}
