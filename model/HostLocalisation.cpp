#include "model/HostLocalisation.h"

#include <utility>

namespace {

HostLocalisationCreator& Creator()
{
    static HostLocalisationCreator creator;
    return creator;
}

}  // namespace

HostLocalisationCreator SetHostLocalisationCreator(HostLocalisationCreator creator)
{
    return std::exchange(Creator(), std::move(creator));
}

std::unique_ptr<IHostLocalisation> CreateHostLocalisation()
{
    const HostLocalisationCreator& creator = Creator();
    return creator ? creator() : nullptr;
}
