// The launcher program: one pass through the application's start-up.

#include "launcher/LauncherApp.h"
#include "launcher/LauncherMessageBoxSink.h"
#include "platform/base/FileSizeLimit.h"

int main()
{
    platform::FailWritesPastFileSizeLimit();
    CLauncherMessageBoxSink messageBoxes;
    platform::SetMessageBoxSink(&messageBoxes);
    theLauncherApp.InitInstance();
    platform::SetMessageBoxSink(nullptr);
    return 0;
}
