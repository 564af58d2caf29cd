#include "model/HostFormatting.h"

#include <utility>

namespace {

HostFormattingCreator& Creator()
{
    static HostFormattingCreator creator;
    return creator;
}

}  // namespace

HostFormattingCreator SetHostFormattingCreator(HostFormattingCreator creator)
{
    return std::exchange(Creator(), std::move(creator));
}

std::unique_ptr<IHostFormatting> CreateHostFormatting()
{
    const HostFormattingCreator& creator = Creator();
    return creator ? creator() : nullptr;
}
