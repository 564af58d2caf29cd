#include "common/Globals.h"

bool g_bStandalone = false;
bool g_bDataModified = false;
bool g_bDebugMode = false;
bool g_bPrintPreviewActive = false;
