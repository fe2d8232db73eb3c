#include "DialogDriver.h"
#include "DraftPreview.h"
#include "Store.h"
#include "StoreError.h"
#include "TDM_BL.h"
#include "TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>

namespace {

const DraftRemarks remarks{QStringLiteral("Emissão de B/L"),
                           QStringLiteral("Origem"),
                           QStringLiteral("As Per Agreement"),
                           QStringLiteral("Não"),
                           QStringLiteral("CARGA"),
                           QStringLiteral("SOLTA"),
                           QStringLiteral("IMO"),
                           QStringLiteral("Não")};

QString longDescription()
{
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("LINE %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

class TestDraftPreview : public QObject
{
    Q_OBJECT

    TDM_BL *dm = nullptr;

    int storeBl(const QString &description)
    {
        EditBuffer *bls = dm->qyBLS;
        bls->close();
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        bls->open();
        bls->insert();
        bls->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("BK1"));
        bls->setText(QStringLiteral("Bls_Descricao"), description);
        const int code = dm->postWithNewCode(bls);
        bls->close();
        return code;
    }

    static QList<DraftPreview *> openPreviews()
    {
        QList<DraftPreview *> previews;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *preview = qobject_cast<DraftPreview *>(widget); preview && preview->isVisible())
                previews << preview;
        }
        return previews;
    }

private Q_SLOTS:
    void init()
    {
        Store::open(QDir::currentPath());
        dm = new TDM_BL;
        DM_BL = dm;
    }

    void cleanup()
    {
        for (DraftPreview *preview : openPreviews())
            delete preview;
        delete dm;
        Store::close();
        QFile::remove(QString::fromLatin1(Store::FileName));
    }

    void previewShowsTheDraftOnItsOwn()
    {
        const int code = storeBl(longDescription());
        DraftPreview *preview = DraftPreview::open(nullptr, code, remarks);
        QVERIFY(preview->isVisible());
        QVERIFY(!preview->isModal());
        QVERIFY(preview->windowState() & Qt::WindowMaximized);
        QCOMPARE(preview->previewWidget()->zoomMode(), QPrintPreviewWidget::CustomZoom);
        QCOMPARE(preview->previewWidget()->zoomFactor(), 1.0);
        QTRY_COMPARE(preview->previewWidget()->pageCount(), 2);
        QVERIFY(!dm->qyPrint->isOpen());

        // Only printing is offered of the output functions; navigation and zoom stay.
        QVERIFY(preview->printAction()->isVisible());
        // The preview speaks Portuguese whatever the interface language, when Qt's catalogue is installed.
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_pt_BR.qm")))
            QCOMPARE(preview->printAction()->text(), QStringLiteral("Imprimir"));
        QStringList hidden;
        for (QAction *action : preview->findChildren<QAction *>()) {
            if (!action->isVisible())
                hidden << action->text();
        }
        QCOMPARE(hidden.size(), 3); // page setup, portrait, landscape

        // The pages are the preview's own: deleting the BL afterwards changes nothing on screen.
        dm->deleteBlWithDetails(code);
        preview->previewWidget()->updatePreview();
        QCOMPARE(preview->previewWidget()->pageCount(), 2);
        QCOMPARE(preview->report().item(0, QStringLiteral("RLL_NrBL"))->text, QStringLiteral("BK1"));
    }

    void severalPreviewsMayBeOpen()
    {
        const int first = storeBl(QString());
        const int second = storeBl(longDescription());
        DraftPreview *one = DraftPreview::open(nullptr, first, remarks);
        DraftPreview *two = DraftPreview::open(nullptr, second, remarks);
        QCOMPARE(openPreviews().size(), 2);
        QCOMPARE(one->report().pageCount(), 1);
        QCOMPARE(two->report().pageCount(), 2);
        one->close(); // deleted on close
        QTRY_COMPARE(openPreviews().size(), 1);
    }

    void storeFailureCreatesNoPreview()
    {
        Store::close();
        QVERIFY_THROWS_EXCEPTION(StoreError, DraftPreview::open(nullptr, 1, remarks));
        QVERIFY(openPreviews().isEmpty());
    }

    void printingWithoutPrinterSaysSo()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed on this machine");
        DraftPreview *preview = DraftPreview::open(nullptr, storeBl(QString()), remarks);
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        preview->printAction()->trigger();
        QCOMPARE(driver.pending(), 0);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Nenhuma impressora instalada.")});
        QCOMPARE(driver.seen.first().title, QStringLiteral("Informação"));
        QVERIFY(preview->isVisible());
    }
};

DALVORA_TEST_MAIN(TestDraftPreview)
#include "tst_draftpreview.moc"
