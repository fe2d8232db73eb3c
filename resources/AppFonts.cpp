#include "AppFonts.h"

#include <QApplication>
#include <QFontDatabase>

void AppFonts::install()
{
    static bool done = false;
    if (!done) {
        // Regular and bold: no window or page of the program draws italic text.
        for (const char *file : {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"})
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        done = true;
    }
    QApplication::setFont(screen());
}

QFont AppFonts::screen(int pointSize, bool bold)
{
    QFont font(QString::fromLatin1(Family), pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}
