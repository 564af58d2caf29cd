#include "app/ChronosetPointer.h"

#include "app/Chronoset.h"
#include "model/IChronosetServices.h"

CChronosetPointer g_pChronoset;

CChronosetPointer& CChronosetPointer::operator=(CChronoset* pChronoset)
{
    g_pChronosetServices = pChronoset;
    return *this;
}

CChronosetPointer::operator CChronoset*() const
{
    // Only this assignment sets the services above the model, always to a
    // CChronoset.
    return static_cast<CChronoset*>(g_pChronosetServices);
}
