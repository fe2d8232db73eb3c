#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QImage;
class QWidget;
class TF_Principal;

// Walks through the program's windows as the clerk opens them from the main window and writes a picture of each:
// the main window's two pages, the search window, the container editor, the EDI/BL window's check page and the first
// page of the draft.
class ScreenshotTour
{
public:
    ScreenshotTour(TF_Principal &mainWindow, const QString &folder);

    // Takes every picture; returns the names of those that could not be taken or written.
    QStringList run();

    // The file names, in the order they are taken.
    static QStringList fileNames();

private:
    void save(const QImage &image, const QString &name);
    // Runs an action that shows a modal window and returns once it is closed. `shown` gets that window after it is
    // on screen (it is closed afterwards if `shown` left it open); any other modal window that appears meanwhile, a
    // question or a save dialog, is turned down.
    void withModal(const std::function<void()> &open, const std::function<void(QWidget *)> &shown);

    TF_Principal &m_main;
    QString m_folder;
    QStringList m_saved;
    QStringList m_failed;
};
