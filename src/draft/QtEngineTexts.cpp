#include "QtEngineTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QtEngineTexts::QtEngineTexts()
{
    // Without Qt's Portuguese catalogue the dialogs keep Qt's built-in English texts.
    if (m_translator.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_installed = QCoreApplication::installTranslator(&m_translator);
}

QtEngineTexts::~QtEngineTexts()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}
