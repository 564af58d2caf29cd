#pragma once
// Qt's own dialogs and buttons (the file and print dialogs, the standard
// buttons) speak the language of the active resources: Qt's German
// translations with the German resources, Qt's own English with the English
// satellite. The translations come from Qt's translations folder.

#include <QString>

#include <memory>

class QTranslator;

class CFrameworkTranslator {
public:
    CFrameworkTranslator();
    ~CFrameworkTranslator();

    CFrameworkTranslator(const CFrameworkTranslator&) = delete;
    CFrameworkTranslator& operator=(const CFrameworkTranslator&) = delete;

    // Installs the translations for the active resources' language into the
    // application object, in place of those installed before. False when
    // that language needs translations and they cannot be loaded; the
    // dialogs then stay English.
    bool Install();
    // Takes them out again; before the application object goes.
    void Remove();

    // The file Install looked for last; empty for English.
    const QString& GetFileName() const { return m_strFileName; }

private:
    std::unique_ptr<QTranslator> m_pTranslator;
    QString m_strFileName;
};
