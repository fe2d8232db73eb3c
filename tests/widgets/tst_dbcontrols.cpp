#include "DialogDriver.h"
#include "Store.h"
#include "TDBComboBox.h"
#include "TDBDateEdit.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TDBRadioGroup.h"
#include "TDM_BL.h"
#include "TestEnv.h"

#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

// The data-aware controls over a real store: what they show, what typing and pasting write, what they refuse.
class TestDbControls : public QObject
{
    Q_OBJECT

    TDM_BL *dm = nullptr;

    void newBl()
    {
        dm->qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        dm->qyBLS->open();
        dm->qyBLS->insert();
    }

    // Key presses carrying any character (QTest::keyClicks knows only ASCII).
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        Store::open(QDir::currentPath());
        dm = new TDM_BL;
        DM_BL = dm;
    }
    void cleanup()
    {
        delete dm;
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void editWritesOnlyWhileEditing()
    {
        TDBEdit edit;
        edit.setUpperCase(true);
        edit.bind(dm->DS_BLS, QStringLiteral("Bls_ReservaNr"));
        QVERIFY(edit.isReadOnly());
        newBl();
        QVERIFY(!edit.isReadOnly());
        QTest::keyClicks(&edit, QStringLiteral("bk-1234567890123456789012345678"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BK-1234567890123456789012")); // 25
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        QVERIFY(edit.isReadOnly());
        QTest::keyClicks(&edit, QStringLiteral("X"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BK-1234567890123456789012"));
    }

    void pastedTextOutsideTheCodePageOrWithLineBreaksIsRefused_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("accents of the code page") << QStringLiteral("AÇÃO €") << QStringLiteral("AÇÃO €");
        QTest::newRow("line break") << QStringLiteral("A\nB") << QStringLiteral("OLD");
        QTest::newRow("outside Windows-1252") << QStringLiteral("Ωmega") << QStringLiteral("OLD");
        QTest::newRow("control character") << QStringLiteral("A\x01") << QStringLiteral("OLD");
    }
    void pastedTextOutsideTheCodePageOrWithLineBreaksIsRefused()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        TDBEdit edit;
        edit.bind(dm->DS_BLS, QStringLiteral("Bls_Navio"));
        newBl();
        QTest::keyClicks(&edit, QStringLiteral("OLD"));
        edit.selectAll();
        QGuiApplication::clipboard()->setText(pasted);
        edit.paste();
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Navio")), stored);

        TDBMemo memo;
        memo.bind(dm->DS_BLS, QStringLiteral("Bls_Marks"));
        memo.selectAll();
        memo.paste();
        if (pasted.contains(QLatin1Char('\n')))
            QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Marks")), QStringLiteral("A\r\nB")); // memos take lines
        else
            QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Marks")), stored == QLatin1String("OLD") ? QString() : stored);
    }

    void memoTypesLinesAndRefusesCharactersTheFileCannotHold()
    {
        TDBMemo memo;
        memo.bind(dm->DS_BLS, QStringLiteral("Bls_Descricao"));
        QVERIFY(memo.isReadOnly());
        QCOMPARE(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        newBl();
        QVERIFY(!memo.isReadOnly());
        QTest::keyClicks(&memo, QStringLiteral("10 BAGS"));
        QTest::keyClick(&memo, Qt::Key_Return);
        typeText(&memo, QStringLiteral("CAFÉ Ω"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Descricao")), QStringLiteral("10 BAGS\r\nCAFÉ "));
        dm->qyBLS->cancel();
        QCOMPARE(memo.toPlainText(), QString()); // no row: empty
    }

    void comboTakesTypedTextAndEntriesOnlyWhileEditing()
    {
        TDBComboBox combo;
        combo.addItems({QStringLiteral("BAGS"), QStringLiteral("BOXES"), QString()});
        combo.bind(dm->DS_BLS, QStringLiteral("Bls_LCL_TipoVolume"));
        QCOMPARE(combo.currentText(), QString());
        newBl();
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("SACOS"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_LCL_TipoVolume")), QStringLiteral("SACOS"));
        combo.setCurrentIndex(1);
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_LCL_TipoVolume")), QStringLiteral("BOXES"));
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        combo.setCurrentIndex(0); // while only viewing: the field keeps its value and the box shows it
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_LCL_TipoVolume")), QStringLiteral("BOXES"));
        QCOMPARE(combo.currentText(), QStringLiteral("BOXES"));
        QVERIFY(combo.lineEdit()->isReadOnly());
    }

    void numbersFollowTheSeparatorsInForce_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pt_BR") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "1234,5" << 1234.5 << "1.234,500";
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "1234.5" << 1234.5 << "1,234.500";
        QTest::newRow("letters refused") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "12a3" << 123.0
                                         << "123,000";
        QTest::newRow("wrong separator refused")
            << QLocale(QLocale::English, QLocale::UnitedStates) << "12,5" << 12.0 << "12.000";
        QTest::newRow("negative") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "-2" << -2.0 << "-2,000";
    }
    void numbersFollowTheSeparatorsInForce()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        QLocale::setDefault(locale);
        TDBEdit edit;
        edit.bind(dm->DS_BLS, QStringLiteral("Bls_LCL_PesoBruto"));
        dm->qyBLS->setDisplayFormat(QStringLiteral("Bls_LCL_PesoBruto"), QStringLiteral("###,###,##0.000"));
        newBl();
        QTest::keyClicks(&edit, typed);
        QCOMPARE(dm->qyBLS->number(QStringLiteral("Bls_LCL_PesoBruto")), stored);
        edit.clearFocus();
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        QCOMPARE(edit.text(), shown);
    }

    void dateEditRefusesImpossibleDates()
    {
        UpdateSql sd(TableDef::sd());
        TDBDateEdit date;
        date.bind(dm->DS_SD, QStringLiteral("Sd_Vencto"));
        dm->qySD->setSql({QStringLiteral("SELECT * from Dal_SD"), QStringLiteral("where Sd_Cod_BL = :pp1")});
        dm->qySD->open();
        dm->qySD->insert();
        QCOMPARE(date.text(), QStringLiteral("//"));
        date.setFocus();
        date.home(false);
        QTest::keyClicks(&date, QStringLiteral("29022024"));
        QVERIFY(date.commit());
        QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), QDate(2024, 2, 29));

        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        date.home(false);
        QTest::keyClicks(&date, QStringLiteral("31022024"));
        QVERIFY(!date.commit());
        QCOMPARE(driver.seen.size(), 1);
        QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), QDate(2024, 2, 29)); // nothing stored
        QCOMPARE(date.text(), QStringLiteral("29/02/2024"));

        date.clear();
        QVERIFY(date.commit());
        QVERIFY(dm->qySD->isNull(QStringLiteral("Sd_Vencto")));
    }

    void radioGroupStoresItsValuesAndIgnoresClicksWhileViewing()
    {
        TDBRadioGroup group;
        group.setItems({QStringLiteral("Sim"), QStringLiteral("Não")});
        group.setValues({QStringLiteral("True"), QStringLiteral("False")});
        group.setColumns(2);
        group.bind(dm->DS_BLS, QStringLiteral("Bls_Imo"));
        newBl();
        QCOMPARE(group.itemIndex(), -1);
        QSignalSpy changed(&group, &TDBRadioGroup::changed);
        group.buttons().at(0)->click();
        QCOMPARE(dm->qyBLS->logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("True"));
        group.buttons().at(0)->click(); // the chosen item again: no change
        QCOMPARE(changed.count(), 1);
        QVERIFY(group.buttons().at(0)->isChecked());
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        group.buttons().at(1)->click();
        QCOMPARE(dm->qyBLS->logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("True"));
        QVERIFY(group.buttons().at(0)->isChecked());
        QCOMPARE(changed.count(), 1);
        group.setItems({QStringLiteral("Yes"), QStringLiteral("No")});
        QVERIFY(group.buttons().at(0)->isChecked());
    }

    void gridFollowsTheBuffer()
    {
        for (int i = 1; i <= 3; ++i) {
            newBl();
            dm->qyBLS->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("B%1").arg(i));
            dm->postWithNewCode(dm->qyBLS);
        }
        EditBuffer *list = dm->qyBusca;
        list->setSql({QStringLiteral("SELECT Bls_Codigo, Bls_ReservaNr from Dal_Bls"),
                      QStringLiteral("ORDER BY Bls_ReservaNr")});
        list->open();
        DataSource source(list);
        TDBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({QStringLiteral("Bls_ReservaNr")}, {QStringLiteral("Reserva")}, {150});
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Reserva"));
        list->setCurrentIndex(2);
        QCOMPARE(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(grid.model()->index(1, 0));
        QCOMPARE(list->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("B2"));

        list->close(); // read again: same widths, the selection on the buffer's row
        list->open();
        list->setCurrentIndex(1);
        QCOMPARE(grid.columnWidth(0), 150);
        QCOMPARE(grid.currentIndex().row(), 1);
    }
};

DALVORA_TEST_MAIN(TestDbControls)
#include "tst_dbcontrols.moc"
