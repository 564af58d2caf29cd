#pragma once
// The bus interface selection's dialog: the connections of the machine in a
// list (name and parameter), the state-file path of the chosen connection in
// an edit with a browse button where the connection has one, OK and Cancel.
// OK checks the chosen connection first and says why it cannot be taken;
// the dialog then stays open. Texts follow the active resource language
// (English for 0x0409, German otherwise). No template: Qt layouts, every
// control under its id.

#include "platform/bus/ConnectionChooser.h"
#include "platform/ui/Dialog.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// No signals or slots of its own (its connections are lambdas), so no
// meta-object either.
class CConnectionSelectionDlg : public CDialog {
public:
    static constexpr UINT IDC_CONNECTION_LIST = 1001;
    static constexpr UINT IDC_STATE_FILE_LABEL = 1002;
    static constexpr UINT IDC_STATE_FILE = 1003;
    static constexpr UINT IDC_BROWSE = 1004;

    // The choice is read when the dialog initialises and written back on OK
    // only.
    explicit CConnectionSelectionDlg(Falcon::ConnectionChoice& choice, QWidget* pParent = nullptr);
    ~CConnectionSelectionDlg() override;

    // The text that says why a connection cannot be taken, in the dialog's
    // language.
    static std::string GetProblemText(Falcon::EConnectionProblem eProblem);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT nId) override;

private:
    void OnSelectionChanged();
    void OnStateFileEdited();
    void OnBrowse();
    // The list row and the edit show the entry's parameter.
    void ShowEntry(int nIndex);
    int GetCurrentIndex() const;

    Falcon::ConnectionChoice& m_choice;
    Falcon::ConnectionChoice m_working;
    QTreeWidget* m_pList = nullptr;
    QLabel* m_pParameterLabel = nullptr;
    QLineEdit* m_pStateFile = nullptr;
    QPushButton* m_pBrowse = nullptr;
};
