#pragma once

#include <QTranslator>

// Passes the toolkit's own built-in texts (standard button captions, key names, its error messages) through the
// dictionary when they are fetched. The dictionary holds almost none of them, so they mostly stay as they are.
// Install once on the application: QCoreApplication::installTranslator(new FrameworkTranslator(&app)).
class FrameworkTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
