#include "platform/ui/TextLimitValidator.h"

#include <QLineEdit>

CTextLimitValidator::CTextLimitValidator(int nMaxCharacters, QObject* pParent)
    : QValidator(pParent), m_nMaxCharacters(nMaxCharacters) {}

QValidator::State CTextLimitValidator::validate(QString& strInput, int& /*nPos*/) const {
    // Characters, not UTF-16 units.
    return strInput.toUcs4().size() > m_nMaxCharacters ? Invalid : Acceptable;
}

void CTextLimitValidator::LimitText(QLineEdit* pEdit, int nMaxCharacters) {
    if (pEdit != nullptr) {
        pEdit->setValidator(new CTextLimitValidator(nMaxCharacters, pEdit));
    }
}
