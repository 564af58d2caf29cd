#include "platform/bus/ConnectionChooser.h"

#include <atomic>

namespace Falcon {

namespace {

std::atomic<IConnectionChooser*> s_pChooser {nullptr};

}  // namespace

IConnectionChooser* SetConnectionChooser(IConnectionChooser* pChooser)
{
    return s_pChooser.exchange(pChooser);
}

IConnectionChooser* GetConnectionChooser()
{
    return s_pChooser.load();
}

}  // namespace Falcon
