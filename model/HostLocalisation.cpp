#include "model/HostLocalisation.h"

#include <utility>

namespace {

HostLocalisationCreator& LocalisationCreator()
{
    static HostLocalisationCreator creator;
    return creator;
}

}  // namespace

HostLocalisationCreator SetHostLocalisationCreator(HostLocalisationCreator creator)
{
    return std::exchange(LocalisationCreator(), std::move(creator));
}

std::unique_ptr<IHostLocalisation> CreateHostLocalisation()
{
    const HostLocalisationCreator& creator = LocalisationCreator();
    return creator ? creator() : nullptr;
}
