#pragma once

#include <QString>

class QRect;
class QUrl;
class QWidget;

// Opens browser windows. The web engine lives in a plugin loaded on first use, so the program starts without it.
class BrowserLauncher
{
public:
    static constexpr int Left = 100;
    static constexpr int Top = 42;
    static constexpr int Width = 690;
    static constexpr int Height = 550;

    // To be called before the application object exists: the web engine, loaded later from its plugin, needs the
    // application's shared OpenGL context, which is only made at the application's construction. Costs nothing at
    // start; without it every opening fails with the connection error.
    static void prepareApplication();

    // A new browser window on `address`: owned by the application (deleted when the user closes it), 690 x 550 at
    // (100, 42), shown without waiting. The page loads inside it; a page that cannot be reached is shown there.
    // Returns nullptr, with the reason in `error`, when no browser component is available.
    static QWidget *open(const QUrl &address, QString *error = nullptr);

    // Where a browser window wanted at `wanted` goes so that it leaves `keepClear` (a window beside it, frames
    // included) uncovered within `available`: where it was when they do not meet, else left of `keepClear` when it fits
    // there, else right of it, narrowed to the wider side if need be, else above or below it in the same way.
    static QRect clearOf(const QRect &wanted, const QRect &keepClear, const QRect &available);

    // The plugin file the next opening loads: the one set, or else the one for the running program's folder. Setting
    // another file (one that does not exist, for instance) makes the next opening use it: tests use it to stand for a
    // machine without the browser component.
    static QString pluginFile();
    static void setPluginFile(const QString &file);
    // The plugin file of a program in `programDir`: in its private library folder when installed, beside it when
    // copied there by hand, else where the build put it; empty in a build without the browser component.
    static QString pluginFileFor(const QString &programDir);
};
