#include "model/HostFormatting.h"

#include <utility>

namespace {

HostFormattingCreator& FormattingCreator()
{
    static HostFormattingCreator creator;
    return creator;
}

}  // namespace

HostFormattingCreator SetHostFormattingCreator(HostFormattingCreator creator)
{
    return std::exchange(FormattingCreator(), std::move(creator));
}

std::unique_ptr<IHostFormatting> CreateHostFormatting()
{
    const HostFormattingCreator& creator = FormattingCreator();
    return creator ? creator() : nullptr;
}
