#include "platform/ui/ConnectionSelectionDlg.h"

#include "platform/base/FileDialogService.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/PathUtil.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/Handles.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

bool IsEnglish() {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    return pModule != nullptr && pModule->GetLanguage() == 0x0409;
}

const char* Localized(const char* pszGerman, const char* pszEnglish) {
    return IsEnglish() ? pszEnglish : pszGerman;
}

QString QText(const char* pszGerman, const char* pszEnglish) {
    return QString::fromUtf8(Localized(pszGerman, pszEnglish));
}

std::string Caption(const Falcon::ConnectionChoice& choice) {
    if (!choice.strCaption.empty()) {
        return choice.strCaption;
    }
    return Localized("Busschnittstelle auswählen", "Select bus interface");
}

}  // namespace

CConnectionSelectionDlg::CConnectionSelectionDlg(Falcon::ConnectionChoice& choice, QWidget* pParent)
    : CDialog(pParent), m_choice(choice), m_working(choice) {
    auto* pLayout = new QVBoxLayout(this);

    m_pList = new QTreeWidget(this);
    m_pList->setColumnCount(2);
    m_pList->setHeaderLabels({QText("Verbindung", "Connection"), QText("Parameter", "Parameter")});
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setMinimumWidth(520);
    SetDlgCtrlID(m_pList, IDC_CONNECTION_LIST);
    pLayout->addWidget(m_pList);

    auto* pLabel = new QLabel(QText("&Zustandsdatei:", "&State file:"), this);
    SetDlgCtrlID(pLabel, IDC_STATE_FILE_LABEL);
    m_pParameterLabel = pLabel;
    auto* pFileRow = new QHBoxLayout;
    m_pStateFile = new QLineEdit(this);
    SetDlgCtrlID(m_pStateFile, IDC_STATE_FILE);
    pLabel->setBuddy(m_pStateFile);
    m_pBrowse = new QPushButton(QStringLiteral("..."), this);
    m_pBrowse->setAutoDefault(false);
    SetDlgCtrlID(m_pBrowse, IDC_BROWSE);
    RouteButtonCommand(m_pBrowse);
    pFileRow->addWidget(m_pStateFile, 1);
    pFileRow->addWidget(m_pBrowse);
    pLayout->addWidget(pLabel);
    pLayout->addLayout(pFileRow);

    auto* pButtons = new QDialogButtonBox(this);
    QPushButton* pOk = pButtons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* pCancel = pButtons->addButton(QText("Abbrechen", "Cancel"), QDialogButtonBox::RejectRole);
    pOk->setDefault(true);
    SetDlgCtrlID(pOk, IDOK);
    SetDlgCtrlID(pCancel, IDCANCEL);
    // The buttons reach OnOK and OnCancel through their ids, not the box.
    RouteButtonCommand(pOk);
    RouteButtonCommand(pCancel);
    pLayout->addWidget(pButtons);

    connect(m_pList, &QTreeWidget::currentItemChanged, this, [this]() { OnSelectionChanged(); });
    // A double click confirms the row. Not on activation: Return on the list
    // activates the row and then reaches the dialog's default button, which
    // would confirm twice.
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this]() { OnOK(); });
    connect(m_pStateFile, &QLineEdit::textEdited, this, [this]() { OnStateFileEdited(); });
}

CConnectionSelectionDlg::~CConnectionSelectionDlg() = default;

std::string CConnectionSelectionDlg::GetProblemText(Falcon::EConnectionProblem eProblem) {
    using Falcon::EConnectionProblem;
    switch (eProblem) {
        case EConnectionProblem::None:
            return {};
        case EConnectionProblem::UnknownInterface:
            return Localized("Diese Schnittstelle gibt es auf diesem Rechner nicht.",
                             "This interface is not available on this machine.");
        case EConnectionProblem::EmptyParameter:
            return Localized("Bitte geben Sie den Pfad der Zustandsdatei an.",
                             "Please enter the path of the state file.");
        case EConnectionProblem::ParameterTooLong:
            return Localized("Der Pfad ist zu lang (höchstens 511 Zeichen).",
                             "The path is too long (511 characters at most).");
        case EConnectionProblem::StateFileIsFolder:
            return Localized("Der Pfad nennt einen Ordner, keine Datei.", "The path names a folder, not a file.");
        case EConnectionProblem::StateFileUnreadable:
            return Localized("Die Datei darf nicht gelesen werden (Zugriff verweigert).",
                             "The file may not be read (permission denied).");
        case EConnectionProblem::NotAStateFile:
            return Localized("Die Datei ist keine Zustandsdatei eines simulierten Geräts; "
                             "sie wird nicht überschrieben.",
                             "The file is not the state file of a simulated device; it is not overwritten.");
        case EConnectionProblem::FolderNotUsable:
            return Localized("Die Datei oder ihr Ordner kann dort nicht geschrieben werden.",
                             "The file or its folder cannot be written there.");
        case EConnectionProblem::BadKnxdUrl:
            return Localized("Die Adresse eines knxd-Servers lautet local:/Pfad/zum/Socket oder ip:Rechner[:Port].",
                             "A knxd server's address reads local:/path/to/socket or ip:host[:port].");
    }
    return {};
}

BOOL CConnectionSelectionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(Caption(m_working));
    for (const Falcon::ConnectionEntry& entry : m_working.vecEntries) {
        auto* pItem = new QTreeWidgetItem(m_pList);
        pItem->setText(0, QString::fromStdString(entry.strName));
        pItem->setText(1, QString::fromStdString(entry.strParameter));
    }
    m_pList->resizeColumnToContents(0);
    const int nCount = static_cast<int>(m_working.vecEntries.size());
    const int nFirst = m_working.nSelected >= 0 && m_working.nSelected < nCount ? m_working.nSelected : 0;
    if (nCount > 0) {
        m_pList->setCurrentItem(m_pList->topLevelItem(nFirst));
    }
    ShowEntry(nFirst < nCount ? nFirst : -1);
    CenterWindow();
    m_pList->setFocus();
    return FALSE;
}

BOOL CConnectionSelectionDlg::OnCommand(UINT nId) {
    if (nId == IDC_BROWSE) {
        OnBrowse();
        return TRUE;
    }
    return CDialog::OnCommand(nId);
}

int CConnectionSelectionDlg::GetCurrentIndex() const {
    QTreeWidgetItem* pItem = m_pList->currentItem();
    return pItem != nullptr ? m_pList->indexOfTopLevelItem(pItem) : -1;
}

void CConnectionSelectionDlg::ShowEntry(int nIndex) {
    const bool bValid = nIndex >= 0 && nIndex < static_cast<int>(m_working.vecEntries.size());
    const Falcon::ConnectionEntry* pEntry = bValid ? &m_working.vecEntries[static_cast<std::size_t>(nIndex)] : nullptr;
    const bool bUrl = pEntry != nullptr && pEntry->bParameterIsKnxdUrl;
    const bool bEditable = pEntry != nullptr && (pEntry->bParameterIsStateFile || bUrl);
    m_pParameterLabel->setText(bUrl ? QText("&knxd-Adresse:", "&knxd URL:") : QText("&Zustandsdatei:", "&State file:"));
    m_pStateFile->setText(pEntry != nullptr ? QString::fromStdString(pEntry->strParameter) : QString());
    m_pStateFile->setEnabled(bEditable);
    m_pBrowse->setEnabled(bEditable && !bUrl);
    if (QWidget* pOk = GetDlgItem(IDOK)) {
        pOk->setEnabled(bValid);
    }
}

void CConnectionSelectionDlg::OnSelectionChanged() {
    ShowEntry(GetCurrentIndex());
}

void CConnectionSelectionDlg::OnStateFileEdited() {
    const int nIndex = GetCurrentIndex();
    if (nIndex < 0) {
        return;
    }
    const Falcon::ConnectionEntry& entry = m_working.vecEntries[static_cast<std::size_t>(nIndex)];
    if (!entry.bParameterIsStateFile && !entry.bParameterIsKnxdUrl) {
        return;
    }
    const std::string strPath = m_pStateFile->text().toStdString();
    m_working.vecEntries[static_cast<std::size_t>(nIndex)].strParameter = strPath;
    m_pList->topLevelItem(nIndex)->setText(1, QString::fromStdString(strPath));
}

void CConnectionSelectionDlg::OnBrowse() {
    const int nIndex = GetCurrentIndex();
    if (nIndex < 0 || !m_working.vecEntries[static_cast<std::size_t>(nIndex)].bParameterIsStateFile) {
        return;
    }
    const std::string strCurrent = m_pStateFile->text().toStdString();
    platform::FileDialogRequest request;
    // A state file that is not there yet is made by the device: a save
    // dialog, and no question about replacing one that is.
    request.bOpen = false;
    request.hOwner = platform::ui::HwndFromWidget(this);
    request.strTitle = Localized("Zustandsdatei", "State file");
    request.filters = platform::ParseFileFilter(Localized("Zustandsdateien (*.state)|*.state|Alle Dateien (*.*)|*.*||",
                                                          "State files (*.state)|*.state|All Files (*.*)|*.*||"));
    request.strDefExt = "state";
    request.strFileName = platform::PathFileName(strCurrent);
    request.strInitialDir = platform::PathDirectory(strCurrent);
    request.dwFlags = OFN_HIDEREADONLY;
    std::string strPath;
    if (platform::ShowFileDialog(request, strPath) != IDOK) {
        return;
    }
    m_pStateFile->setText(QString::fromStdString(strPath));
    OnStateFileEdited();
}

void CConnectionSelectionDlg::OnOK() {
    const int nIndex = GetCurrentIndex();
    if (nIndex < 0) {
        QApplication::beep();
        return;
    }
    const Falcon::ConnectionEntry& entry = m_working.vecEntries[static_cast<std::size_t>(nIndex)];
    const Falcon::EConnectionProblem eProblem =
        m_working.fnCheck ? m_working.fnCheck(entry) : Falcon::EConnectionProblem::None;
    if (eProblem != Falcon::EConnectionProblem::None) {
        std::string strText = GetProblemText(eProblem);
        if (!entry.strParameter.empty()) {
            strText = entry.strParameter + "\n\n" + strText;
        }
        platform::MessageBox(platform::ui::HwndFromWidget(this), strText.c_str(), Caption(m_working).c_str(),
                             MB_OK | MB_ICONERROR);
        QWidget* pFocus = entry.bParameterIsStateFile || entry.bParameterIsKnxdUrl ? static_cast<QWidget*>(m_pStateFile)
                                                                                   : m_pList;
        pFocus->setFocus();
        return;
    }
    m_working.nSelected = nIndex;
    m_choice.vecEntries = m_working.vecEntries;
    m_choice.nSelected = nIndex;
    EndDialog(IDOK);
}
