#include "model/IChronosetServices.h"

IChronosetServices* g_pChronosetServices = nullptr;
