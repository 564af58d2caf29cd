#pragma once
// The bar over the print preview (template 30723): print, next and previous
// page, one or two pages, zoom in and out, close. Its buttons name and
// enable themselves after each action from the preview's state. Escape in
// the bar closes the preview as "Schließen" does; Return only presses the
// focused button. Neither ever hides the bar alone.

#include "platform/ui/Dialog.h"

class CParamReportView;

// Preview commands.
constexpr UINT ID_PREVIEW_CLOSE = 58112;
constexpr UINT ID_PREVIEW_NUMPAGE = 58113;
constexpr UINT ID_PREVIEW_NEXT = 58114;
constexpr UINT ID_PREVIEW_PREV = 58115;
constexpr UINT ID_PREVIEW_PRINT = 58116;
constexpr UINT ID_PREVIEW_ZOOMIN = 58117;
constexpr UINT ID_PREVIEW_ZOOMOUT = 58118;

class CPreviewToolBar : public CDialog {
    Q_OBJECT

public:
    CPreviewToolBar(UINT nIDTemplate, CParamReportView* pView);

    // Child of the frame at its top; FALSE when the template is missing.
    BOOL CreateBar(QWidget* pFrame);
    // Texts and enable states of every button from the preview's state.
    void UpdateButtons();

protected:
    void OnOK() override;
    void OnCancel() override;

private:
    void SetButton(UINT nId, UINT nStringId, const char* pszGerman, bool bEnable);

    CParamReportView* m_pView;
};
