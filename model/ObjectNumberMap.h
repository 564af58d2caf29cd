#pragma once
// The device's communication objects by object number, as the save to the
// host project finds them: the host id of each object (-1 for an entry
// without object). The links of the quantities, the clock and the group
// addresses look their objects up here.

#include "platform/base/WinTypes.h"

#include <map>

using CObjectNumberMap = std::map<WORD, LONG>;
