#include "platform/base/ProgressSink.h"

#include <utility>

namespace platform {

namespace {

ProgressWindowFactory& Factory()
{
    static ProgressWindowFactory factory;
    return factory;
}

}  // namespace

void SetProgressWindowFactory(ProgressWindowFactory factory)
{
    Factory() = std::move(factory);
}

std::unique_ptr<IProgressWindow> CreateProgressWindow(HWND hOwner, int nKind)
{
    const ProgressWindowFactory& factory = Factory();
    return factory ? factory(hOwner, nKind) : nullptr;
}

}  // namespace platform
