#include "FuzzApplication.h"

// libFuzzer calls this once before the first input.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt SQL's connection list is gone before a static application's destructor would
    // reach it.
    new QApplication(*argc, *argv);
    return 0;
}

void FuzzApplication::setConventions(uint8_t choice)
{
    static const QLocale locales[] = {QLocale(QLocale::Portuguese, QLocale::Brazil),
                                      QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::Spanish, QLocale::Spain)};
    QLocale::setDefault(locales[choice % 3]);
}
