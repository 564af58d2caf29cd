#pragma once
// The busy cursor for the life of a scope, as the framework's wait cursor:
// made on the stack around work that keeps the user waiting. Restore shows
// it again after something (a message box) put the normal cursor back.

namespace platform {
class IWaitCursorSink;
}

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore();

private:
    // The sink the cursor was begun with: the matching End goes there even
    // when another sink was installed meanwhile.
    platform::IWaitCursorSink* m_pSink;
};
