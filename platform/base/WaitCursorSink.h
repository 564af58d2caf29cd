#pragma once
// The wait cursor as the Qt-free layers see it. The window layer installs a
// sink that shows the busy cursor over the whole application; without one a
// wait cursor does nothing.

namespace platform {

class IWaitCursorSink {
public:
    virtual ~IWaitCursorSink() = default;

    // Calls nest: the cursor shows from the first Begin to the last End.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// Installs the sink (null removes it); gives back the one installed before.
IWaitCursorSink* SetWaitCursorSink(IWaitCursorSink* pSink);
IWaitCursorSink* GetWaitCursorSink();

}  // namespace platform
