#include "platform/ui/ComboBoxData.h"

#include <QComboBox>
#include <QVariant>

int AddComboItem(QComboBox* pCombo, const QString& text, std::intptr_t nData) {
    if (pCombo == nullptr) {
        return -1;
    }
    pCombo->addItem(text, QVariant::fromValue<qlonglong>(static_cast<qlonglong>(nData)));
    return pCombo->count() - 1;
}

void SetComboItemData(QComboBox* pCombo, int nIndex, std::intptr_t nData) {
    if (pCombo != nullptr && nIndex >= 0 && nIndex < pCombo->count()) {
        pCombo->setItemData(nIndex, QVariant::fromValue<qlonglong>(static_cast<qlonglong>(nData)),
                            kComboItemDataRole);
    }
}

std::intptr_t GetComboItemData(const QComboBox* pCombo, int nIndex) {
    if (pCombo == nullptr || nIndex < 0 || nIndex >= pCombo->count()) {
        return 0;
    }
    const QVariant value = pCombo->itemData(nIndex, kComboItemDataRole);
    return value.isValid() ? static_cast<std::intptr_t>(value.toLongLong()) : 0;
}

std::intptr_t GetComboSelData(const QComboBox* pCombo) {
    if (pCombo == nullptr) {
        return 0;
    }
    return GetComboItemData(pCombo, pCombo->currentIndex());
}

void SelectComboByData(QComboBox* pCombo, std::intptr_t nData, int nDefaultIndex) {
    if (pCombo == nullptr) {
        return;
    }
    for (int i = 0; i < pCombo->count(); ++i) {
        const QVariant value = pCombo->itemData(i, kComboItemDataRole);
        if (value.isValid() && static_cast<std::intptr_t>(value.toLongLong()) == nData) {
            pCombo->setCurrentIndex(i);
            return;
        }
    }
    pCombo->setCurrentIndex(nDefaultIndex >= 0 && nDefaultIndex < pCombo->count() ? nDefaultIndex : -1);
}
