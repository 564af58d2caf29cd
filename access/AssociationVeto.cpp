#include "access/AssociationVeto.h"

BYTE g_bOwnAssociationChange = 0;
LONG g_lastAssociationDeviceId = -1;
