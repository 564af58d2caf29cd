// The icon file loader on arbitrary bytes, both from memory (the icon
// resource) and from a file (the icon beside the launcher), then every
// picture made of it: the window icon at the start-up's width and at the
// other stored widths, and the icon of every image. Both sources must read
// the same; a picture comes only from a prepared image and has its size.

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "platform/ui/Handles.h"
#include "ui/IconFile.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The icons are made for windows: they need the application.
    static QGuiApplication* s_pApp = new QGuiApplication(*pArgc, *pArgv);
    (void)s_pApp;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    CIconFile fromMemory;
    const bool bMemory = fromMemory.LoadFromMemory(pData, nSize);
    CIconFile fromFile;
    const bool bFile = fromFile.Load(fuzzfiles::WriteInput("input.ico", pData, nSize));
    FUZZ_CHECK(bMemory == bFile && fromMemory.GetCount() == fromFile.GetCount());
    if (!bMemory)
        return 0;

    for (int i = 0; i < fromMemory.GetCount(); ++i) {
        const CIconFile::IconImage* pImage = fromMemory.GetImage(i);
        const CIconFile::IconImage* pOther = fromFile.GetImage(i);
        FUZZ_CHECK(pImage != nullptr && pOther != nullptr && fromMemory.GetEntry(i) != nullptr);
        FUZZ_CHECK(pImage->bPrepared == pOther->bPrepared && pImage->data == pOther->data);
        if (!pImage->bPrepared)
            continue;
        const QImage picture = fromMemory.CreateImage(pImage->nWidth);
        FUZZ_CHECK(!picture.isNull() && picture.width() > 0 && picture.height() > 0);
    }

    for (int nWidth : {16, 32, 48}) {
        if (HICON hIcon = fromMemory.CreateIcon(nWidth))
            platform::ui::DestroyIconHandle(hIcon);
    }
    (void)fromMemory.CreateIconSet();
    fromMemory.Clear();
    FUZZ_CHECK(fromMemory.GetCount() == 0 && fromMemory.CreateImage(16).isNull());
    return 0;
}
