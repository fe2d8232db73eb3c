#pragma once

#include <QTranslator>

// While alive, Qt's own dialogs (preview, print dialog) speak Portuguese, whatever the interface language: the
// report engine's texts are not part of the program's dictionary.
class QtEngineTexts
{
public:
    QtEngineTexts();
    ~QtEngineTexts();
    QtEngineTexts(const QtEngineTexts &) = delete;
    QtEngineTexts &operator=(const QtEngineTexts &) = delete;

private:
    QTranslator m_translator;
    bool m_installed = false;
};
