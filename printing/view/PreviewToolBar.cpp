#include "printing/view/PreviewToolBar.h"

#include "common/ResString.h"
#include "printing/view/ParamReportView.h"

#include <QAbstractButton>

CPreviewToolBar::CPreviewToolBar(UINT nIDTemplate, CParamReportView* pView)
    : CDialog(nIDTemplate, nullptr), m_pView(pView) {
    MapCommand(ID_PREVIEW_PRINT, [this]() { m_pView->OnPreviewPrint(); });
    MapCommand(ID_PREVIEW_CLOSE, [this]() { m_pView->OnPreviewClose(); });
    MapCommand(ID_PREVIEW_NUMPAGE, [this]() { m_pView->OnNumPageChange(); });
    MapCommand(ID_PREVIEW_NEXT, [this]() { m_pView->OnNextPage(); });
    MapCommand(ID_PREVIEW_PREV, [this]() { m_pView->OnPrevPage(); });
    MapCommand(ID_PREVIEW_ZOOMIN, [this]() { m_pView->OnZoomIn(); });
    MapCommand(ID_PREVIEW_ZOOMOUT, [this]() { m_pView->OnZoomOut(); });
}

BOOL CPreviewToolBar::CreateBar(QWidget* pFrame) {
    if (!IsTemplateBuilt()) {
        return FALSE;
    }
    setParent(pFrame, Qt::Widget);
    if (!Create()) {
        return FALSE;
    }
    show();
    return TRUE;
}

void CPreviewToolBar::OnOK() {}

void CPreviewToolBar::OnCancel() {
    m_pView->OnPreviewClose();
}

void CPreviewToolBar::SetButton(UINT nId, UINT nStringId, const char* pszGerman, bool bEnable) {
    auto* pButton = qobject_cast<QAbstractButton*>(GetDlgItem(nId));
    if (pButton == nullptr) {
        return;
    }
    pButton->setText(QString::fromStdString(GetResString(nStringId, pszGerman)));
    pButton->setEnabled(bEnable);
}

void CPreviewToolBar::UpdateButtons() {
    SetButton(ID_PREVIEW_PRINT, 181, "&Drucken...", true);
    SetButton(ID_PREVIEW_CLOSE, 182, "&Schließen", true);
    if (m_pView->GetPagesShown() == 1) {
        SetButton(ID_PREVIEW_NUMPAGE, 186, "&Zwei Seiten", m_pView->CanShowTwoPages());
    } else {
        SetButton(ID_PREVIEW_NUMPAGE, 185, "&Eine Seite", m_pView->CanShowTwoPages());
    }
    SetButton(ID_PREVIEW_NEXT, 183, "&Näch. Seite", m_pView->CanGoNext());
    SetButton(ID_PREVIEW_PREV, 184, "&Vorh. Seite", m_pView->CanGoPrev());
    SetButton(ID_PREVIEW_ZOOMIN, 187, "Ver&größern", m_pView->CanZoomIn());
    SetButton(ID_PREVIEW_ZOOMOUT, 188, "Ver&kleinern", m_pView->CanZoomOut());
}
