#include "platform/base/WaitCursorSink.h"

namespace platform {

namespace {
IWaitCursorSink* g_pWaitCursorSink = nullptr;
}

IWaitCursorSink* SetWaitCursorSink(IWaitCursorSink* pSink) {
    IWaitCursorSink* pOld = g_pWaitCursorSink;
    g_pWaitCursorSink = pSink;
    return pOld;
}

IWaitCursorSink* GetWaitCursorSink() {
    return g_pWaitCursorSink;
}

}  // namespace platform
