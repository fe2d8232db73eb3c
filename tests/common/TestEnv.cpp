#include "TestEnv.h"

#include "AppFonts.h"

#include <QDir>
#include <QLocale>

TestEnv::TestEnv()
{
    m_dir.setAutoRemove(true);
    QDir::setCurrent(m_dir.path());
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    // The suite runs on the store file; a shared server set in the developer's own shell is not the test's.
    qunsetenv("DALVORA_DATABASE");
    qputenv("LANG", "pt_BR.UTF-8");
    qputenv("LC_ALL", "pt_BR.UTF-8");
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
}

TestEnv::~TestEnv()
{
    QDir::setCurrent(QDir::tempPath());
}

void prepareTestApplication()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    AppFonts::install();
}
