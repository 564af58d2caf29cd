#pragma once
// The limit of an edit control on what the user types or pastes: text longer
// than the limit (in characters) is refused. Text the program sets is not
// checked, so a longer name that came from a file still shows and can be
// checked where the dialog checks it.

#include <QValidator>

class QLineEdit;

class CTextLimitValidator : public QValidator {
    Q_OBJECT

public:
    CTextLimitValidator(int nMaxCharacters, QObject* pParent);

    State validate(QString& strInput, int& nPos) const override;

    // Limits the edit to that many characters (a validator it owns).
    static void LimitText(QLineEdit* pEdit, int nMaxCharacters);

private:
    int m_nMaxCharacters;
};
