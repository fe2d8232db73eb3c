#include "StandardIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

// A button's standard icon read as it is drawn must draw as the style's own icon does, in every mode, at sizes
// around the buttons' own and at screen scales 1 and 2: for every icon the windows use.
class TestStandardIconEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsAsTheStylesIcon_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("scale");
        for (const QStyle::StandardPixmap which :
             {QStyle::SP_ArrowDown, QStyle::SP_DialogApplyButton, QStyle::SP_DialogCancelButton,
              QStyle::SP_DialogCloseButton, QStyle::SP_DialogHelpButton, QStyle::SP_DialogSaveButton,
              QStyle::SP_FileDialogContentsView, QStyle::SP_FileDialogInfoView, QStyle::SP_FileDialogNewFolder,
              QStyle::SP_TrashIcon})
            for (const int size : {12, 16, 32})
                for (const qreal scale : {1.0, 2.0})
                    QTest::addRow("%d at %d px, scale %g", int(which), size, scale) << int(which) << size << scale;
    }

    void drawsAsTheStylesIcon()
    {
        QFETCH(int, which);
        QFETCH(int, size);
        QFETCH(qreal, scale);
        const QIcon lazy = StandardIconEngine::icon(QStyle::StandardPixmap(which));
        const QIcon own = QApplication::style()->standardIcon(QStyle::StandardPixmap(which));
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            const QPixmap expected = own.pixmap(QSize(size, size), scale, mode);
            const QPixmap drawn = lazy.pixmap(QSize(size, size), scale, mode);
            QCOMPARE(drawn.devicePixelRatio(), expected.devicePixelRatio());
            QCOMPARE(drawn.toImage().convertToFormat(QImage::Format_ARGB32),
                     expected.toImage().convertToFormat(QImage::Format_ARGB32));
        }
    }
};

QTEST_MAIN(TestStandardIconEngine)
#include "tst_standardiconengine.moc"
