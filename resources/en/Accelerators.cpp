// English accelerator tables: the same keys as the German ones.

#include "platform/base/VirtualKeys.h"
#include "resources/en/Tables.h"

namespace resources::en {

namespace {

using platform::ResAccelerator;
using platform::ResAcceleratorTable;
using platform::RESACCEL_CONTROL;
using platform::RESACCEL_SHIFT;
using platform::RESACCEL_VIRTKEY;

// 134: the keys every table translates.
const ResAccelerator kTable134[] = {
    {RESACCEL_VIRTKEY | RESACCEL_CONTROL, 'A', 40038},
    {RESACCEL_VIRTKEY | RESACCEL_CONTROL, 'C', 40020},
    {RESACCEL_VIRTKEY | RESACCEL_CONTROL, 'V', 40009},
    {RESACCEL_VIRTKEY, VK_DELETE, 40010},
    {RESACCEL_VIRTKEY | RESACCEL_CONTROL, VK_INSERT, 40020},
    {RESACCEL_VIRTKEY | RESACCEL_SHIFT, VK_INSERT, 40009},
};

const ResAcceleratorTable kTables[] = {
    {134, {kTable134, sizeof(kTable134) / sizeof(kTable134[0])}},
};

}  // namespace

const platform::ResList<platform::ResAcceleratorTable> g_accelerators{kTables, sizeof(kTables) / sizeof(kTables[0])};

}  // namespace resources::en
