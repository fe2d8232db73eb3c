#include "ScreenshotTour.h"

#include "DraftPreview.h"
#include "ExampleData.h"
#include "Formats.h"
#include "TF_Container.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_TXT.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QEventLoop>
#include <QImageWriter>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

const QString MainInicial = QStringLiteral("main-inicial.png");
const QString MainDescricao = QStringLiteral("main-descricao.png");
const QString Search = QStringLiteral("search.png");
const QString Container = QStringLiteral("container.png");
const QString EdiCheck = QStringLiteral("edi-check.png");
const QString Draft = QStringLiteral("draft.png");

// Lets pending layouts, paints and timers run before a picture is taken.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
}

void closeWindow(QWidget *window)
{
    if (auto *dialog = qobject_cast<QDialog *>(window))
        dialog->reject();
    else
        window->close();
}

// A window the tour did not ask for is closed, and what it said is told, so a failure behind it can be found.
void turnDown(QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            texts << label->text();
    qInfo("Closed \"%s\" (%s): %s", qPrintable(window->windowTitle()), window->metaObject()->className(),
          qPrintable(texts.join(QLatin1String(" | "))));
    closeWindow(window);
}

} // namespace

ScreenshotTour::ScreenshotTour(TF_Principal &mainWindow, const QString &folder) : m_main(mainWindow), m_folder(folder)
{
}

QStringList ScreenshotTour::fileNames()
{
    return {Search, MainInicial, MainDescricao, Container, EdiCheck, Draft};
}

void ScreenshotTour::save(const QImage &image, const QString &name)
{
    QImageWriter writer(m_folder + QLatin1Char('/') + name, "png");
    writer.setQuality(0); // the strongest compression; PNG stays lossless
    if (image.isNull() || !writer.write(image)) {
        qWarning("%s: %s", qPrintable(name), qPrintable(writer.errorString()));
        m_failed << name;
        return;
    }
    m_saved << name;
}

void ScreenshotTour::withModal(const std::function<void()> &open, const std::function<void(QWidget *)> &shown)
{
    QPointer<QWidget> window;
    bool taken = false; // the window may be gone while a question it left behind is still to come
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == window)
            return;
        if (taken) {
            turnDown(modal);
            return;
        }
        taken = true;
        window = modal;
        // Outside this timer's handler, so the timer goes on turning down what `shown` opens.
        QTimer::singleShot(0, modal, [&] {
            settle();
            shown(window);
            if (window && window->isVisible())
                closeWindow(window);
        });
    });
    poll.start();
    open();
}

QStringList ScreenshotTour::run()
{
    // The search window lists the stored BLs; the one found by its booking number opens on the main window.
    withModal([this] { m_main.SB_Procura->click(); },
              [this](QWidget *window) {
                  auto *search = qobject_cast<TF_Procura *>(window);
                  if (!search)
                      return;
                  save(search->grab().toImage(), Search);
                  search->Edit1->setText(QString::fromLatin1(ExampleData::ShownBooking));
                  search->SB_Confirma->click();
              });

    // Closing the container editor totals the containers into the BL.
    withModal([this] { m_main.SB_Cntr->click(); },
              [this](QWidget *window) {
                  if (auto *editor = qobject_cast<TF_Container *>(window))
                      save(editor->grab().toImage(), Container);
              });

    // Today's date in the status bar would change the pictures from day to day.
    m_main.StatusBar1->setPanelText(1, Formats::shortDate(QDate(2026, 3, 2)));
    m_main.PageControl1->setCurrentIndex(0);
    settle();
    save(m_main.grab().toImage(), MainInicial);
    m_main.PageControl1->setCurrentIndex(1);
    settle();
    save(m_main.grab().toImage(), MainDescricao);

    // Confirmar composes the file onto the check page and offers to save it: the save dialog is turned down.
    withModal([this] { m_main.SB_TXT->click(); },
              [this](QWidget *window) {
                  auto *generation = qobject_cast<TF_TXT *>(window);
                  if (!generation)
                      return;
                  generation->SB_Confirma->click();
                  generation->PageControl1->setCurrentWidget(generation->TS_CHECK);
                  settle();
                  save(generation->grab().toImage(), EdiCheck);
              });

    m_main.SB_Impressao->click();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *preview = qobject_cast<DraftPreview *>(window); preview && preview->report().pageCount() > 0) {
            save(preview->report().pageImage(0), Draft);
            preview->close();
        }
    }

    QStringList missing = m_failed;
    for (const QString &name : fileNames())
        if (!m_saved.contains(name) && !missing.contains(name))
            missing << name;
    return missing;
}
