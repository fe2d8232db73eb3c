#include "../edi/ExampleBl.h"
#include "DialogDriver.h"
#include "DraftFilling.h"
#include "DraftRemarks.h"
#include "MemoText.h"
#include "StoreFixture.h"
#include "TF_BLAPDF.h"
#include "TF_Container.h"
#include "TF_Principal.h"
#include "TF_TXT.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// The printable characters of Windows-1252 (0x20-0x7E and the defined ones of 0x80-0xFF), 16 to a piece, so each
// piece fits any text column of the store.
QStringList printablePieces()
{
    QStringList pieces{QString()};
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x7F)
            continue;
        QStringDecoder decoder("windows-1252");
        const QString c = decoder.decode(QByteArray(1, char(byte)));
        if (decoder.hasError() || c.size() != 1 || c.front() == QChar::ReplacementCharacter ||
            c.front().category() == QChar::Other_Control)
            continue; // 81, 8D, 8F, 90 and 9D have no character
        if (pieces.last().size() == 16)
            pieces << QString();
        pieces.last() += c;
    }
    return pieces;
}

QByteArray windows1252(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

// Each character as its own key press, text included, as a keyboard layout delivers it.
void typeText(QWidget *field, const QString &text)
{
    field->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pasteText(QWidget *field, const QString &text)
{
    field->setFocus();
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(field, QKeySequence::Paste);
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The values of a tag in the file, in order, as bytes.
QList<QByteArray> values(const QByteArray &file, const QByteArray &tag)
{
    QList<QByteArray> found;
    for (const QByteArray &line : file.split('\n')) {
        if (line.startsWith(tag))
            found << line.mid(tag.size()).chopped(1); // without its CR
    }
    return found;
}

} // namespace

// Every Windows-1252 character, typed or pasted into each kind of field, is stored, shown, read again, written into
// the EDI/BL file as its own byte and put on the draft unchanged.
class TestCharset : public QObject
{
    Q_OBJECT

    StoreFixture store;
    DialogDriver *driver = nullptr;
    int m_bl = 0;

    // Composes and saves the BL's carrier file through the EDI/BL window; gives the file's bytes.
    QByteArray carrierFile()
    {
        const QString path = QDir::currentPath() + u"/charset.TXT"_s;
        QFile::remove(path);
        driver->handle([path](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            QVERIFY(dialog);
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            name->setFocus();
            name->selectAll();
            QTest::keyClicks(name, path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        driver->press(TMsgDlg::caption(TMsgDlg::Ok, 1));
        {
            TF_TXT window;
            window.openQueries();
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                return {};
            click(window.SB_Confirma);
            click(window.SB_Fechar);
        }
        if (!driver->allAnswered())
            return driver->report().toUtf8();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString column(const QString &name)
    {
        QSqlQuery q(Store::database());
        q.exec(u"SELECT %1 FROM Dal_Bls"_s.arg(name));
        return q.next() ? q.value(0).toString() : u"(none)"_s;
    }

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init()
    {
        store.setUp();
        m_bl = StoreFixture::newBl(ExampleBl::header());
        DM_BL->qyBLS->close();
        driver = new DialogDriver;
    }
    void cleanup()
    {
        delete driver;
        store.tearDown();
    }

    void everyCharacterSurvives_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("pasted");
        for (const char *field : {"line", "memo", "grid"}) {
            QTest::addRow("%s typed", field) << QString::fromLatin1(field) << false;
            QTest::addRow("%s pasted", field) << QString::fromLatin1(field) << true;
        }
    }

    void everyCharacterSurvives()
    {
        QFETCH(QString, field);
        QFETCH(bool, pasted);
        const QStringList pieces = printablePieces();
        QCOMPARE(pieces.join(QString()).size(), 218);
        const auto enter = [pasted](QWidget *edit, const QString &text) {
            pasted ? pasteText(edit, text) : typeText(edit, text);
        };

        QList<QByteArray> written;
        QList<QByteArray> wanted;
        if (field == u"line" || field == u"memo") {
            TF_Principal w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            // Opened as the clerk opens it: Procurar, then Confirmar on the only BL of the list.
            driver->handle([](QWidget *search) { click(search->findChild<QToolButton *>(u"SB_Confirma"_s)); });
            click(w.SB_Procura);
            QVERIFY2(driver->allAnswered(), qPrintable(driver->report()));
            click(w.SB_Edit);
            QCOMPARE(DM_BL->qyBLS->state(), EditBuffer::Edit);
            // Single-line edits: the five lines of shipper, consignee and notify; the memo: the description.
            QList<TDBEdit *> lines;
            QStringList columns;
            for (const char *party : {"Shipper", "Cnee", "Notify"})
                for (int i = 1; i <= 5; ++i)
                    columns << u"Bls_%1%2"_s.arg(QLatin1String(party)).arg(i);
            for (const QString &c : std::as_const(columns))
                for (TDBEdit *edit : w.findChildren<TDBEdit *>())
                    if (edit->dataField() == c)
                        lines << edit;
            if (field == u"line") {
                for (int i = 0; i < pieces.size(); ++i) {
                    lines[i]->selectAll();
                    enter(lines[i], pieces[i]);
                }
            } else {
                w.PageControl1->setCurrentIndex(1);
                w.DBMemo2->selectAll();
                if (pasted) {
                    enter(w.DBMemo2, pieces.join(u'\n'));
                } else {
                    for (int i = 0; i < pieces.size(); ++i) {
                        if (i > 0)
                            QTest::keyClick(w.DBMemo2, Qt::Key_Return);
                        enter(w.DBMemo2, pieces[i]);
                    }
                }
            }
            click(w.SB_Grava);
            QCOMPARE(DM_BL->qyBLS->state(), EditBuffer::Browse);

            // Stored, shown, and shown again when read back from the store.
            for (int pass = 0; pass < 2; ++pass) {
                if (field == u"line") {
                    for (int i = 0; i < pieces.size(); ++i) {
                        QCOMPARE(column(columns[i]), pieces[i]);
                        QCOMPARE(lines[i]->text(), pieces[i]);
                    }
                } else {
                    QCOMPARE(column(u"Bls_Descricao"_s), pieces.join(u"\r\n"_s));
                    QCOMPARE(MemoText::text(*w.DBMemo2), pieces.join(u'\n'));
                }
                StoreFixture::showBl(m_bl);
            }

            // The draft page.
            TF_BLAPDF draft;
            DraftFilling::fill(draft, DraftFilling::readPrintRow(m_bl), DraftRemarks{});
            if (field == u"line") {
                const QStringList slots{u"PDF_Shipper"_s, u"PDF_Cnee"_s, u"PDF_Notify"_s};
                for (int i = 0; i < pieces.size(); ++i)
                    QCOMPARE(draft.text(slots[i / 5] + QString::number(i % 5 + 1)), pieces[i]);
            } else {
                QCOMPARE(draft.lines(u"PDF_Desciption"_s), pieces);
            }

            const QByteArray file = carrierFile();
            if (field == u"line") {
                for (const char *tag : {"[SH", "[CE", "[NT"})
                    for (int i = 1; i <= 5; ++i)
                        written << values(file, tag + QByteArray::number(i) + ']').value(0, "(missing)");
                for (const QString &piece : pieces)
                    wanted << windows1252(piece);
                wanted << QByteArray(); // the last notify line was left empty
            } else {
                // The file holds the memo's lines as wrapped on screen: together they are the text without breaks.
                written << values(file, "[DES]").join();
                wanted << windows1252(pieces.join(QString()));
            }
        } else {
            // The container editor: four seals to a container, the list of containers beside them.
            StoreFixture::showBl(m_bl);
            TF_Container::openQuery();
            {
                TF_Container editor;
                editor.show();
                QVERIFY(QTest::qWaitForWindowExposed(&editor));
                const QList<TDBEdit *> seals{editor.DBEdit19, editor.DBEdit20, editor.DBEdit21, editor.DBEdit22};
                for (int container = 0; container * 4 < pieces.size(); ++container) {
                    click(editor.SB_Inclusao);
                    QTest::keyClicks(editor.DBEdit15, u"CNTU000000%1"_s.arg(container));
                    editor.DBComboBox2->setCurrentIndex(1);
                    Q_EMIT editor.DBComboBox2->activated(1);
                    for (int seal = 0; seal < 4 && container * 4 + seal < pieces.size(); ++seal)
                        enter(seals[seal], pieces[container * 4 + seal]);
                    click(editor.SB_Grava);
                    QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Browse);
                    for (int seal = 0; seal < 4 && container * 4 + seal < pieces.size(); ++seal)
                        QCOMPARE(seals[seal]->text(), pieces[container * 4 + seal]);
                }
                click(editor.BB_Fechar);
            }
            DM_BL->qyCntr->close();
            QSqlQuery q(Store::database());
            q.exec(u"SELECT Cnt_Lacre_1, Cnt_Lacre_2, Cnt_Lacre_3, Cnt_Lacre_4 FROM Dal_Cntr ORDER BY Cnt_Numero"_s);
            QStringList stored;
            while (q.next())
                for (int i = 0; i < 4; ++i)
                    stored << q.value(i).toString();
            QCOMPARE(stored.mid(0, pieces.size()), pieces);

            const QByteArray file = carrierFile();
            QList<QList<QByteArray>> byTag;
            for (int i = 1; i <= 4; ++i)
                byTag << values(file, "[CN" + QByteArray::number(i) + ']');
            for (int i = 0; i < pieces.size(); ++i) {
                written << byTag[i % 4].value(i / 4, "(missing)");
                wanted << windows1252(pieces[i]);
            }
        }
        QCOMPARE(written, wanted);
    }
};

DALVORA_TEST_MAIN(TestCharset)
#include "tst_charset.moc"
