#pragma once
// The About box (template 195): the product line by mode, the build version
// and the icon of the mode (131 standalone, 205 plug-in). Its help is
// context 131267.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

class CAboutDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 195;
    static constexpr UINT IDC_ICON_STANDALONE = 1293;
    static constexpr UINT IDC_ICON_PLUGIN = 1294;
    static constexpr UINT IDC_PRODUCT_LINE = 1261;
    static constexpr UINT IDC_NOTICE = 1262;
    static constexpr UINT IDC_BUILD = 1263;

    explicit CAboutDlg(QWidget* pParent);
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;

private:
    void KeepProductLineOnOneLine();
};
