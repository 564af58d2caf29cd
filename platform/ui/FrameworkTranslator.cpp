#include "platform/ui/FrameworkTranslator.h"

#include "platform/base/ResourceLibrary.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

constexpr unsigned kPrimaryLanguageMask = 0x3FF;
constexpr unsigned kLangGerman = 0x07;

}  // namespace

CFrameworkTranslator::CFrameworkTranslator() = default;

CFrameworkTranslator::~CFrameworkTranslator() {
    Remove();
}

bool CFrameworkTranslator::Install() {
    Remove();
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    // Without resources the built-in German ones are meant.
    const bool bGerman = pModule == nullptr || (pModule->GetLanguage() & kPrimaryLanguageMask) == kLangGerman;
    if (!bGerman) {
        return true;
    }
    m_strFileName = QStringLiteral("qtbase_de");
    auto pTranslator = std::make_unique<QTranslator>();
    if (QCoreApplication::instance() == nullptr ||
        !pTranslator->load(m_strFileName, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(pTranslator.get());
    m_pTranslator = std::move(pTranslator);
    return true;
}

void CFrameworkTranslator::Remove() {
    m_strFileName.clear();
    if (m_pTranslator != nullptr) {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::removeTranslator(m_pTranslator.get());
        }
        m_pTranslator.reset();
    }
}
