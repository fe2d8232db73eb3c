#include "DialogDriver.h"
#include "LanguageSwitch.h"
#include "StoreFixture.h"
#include "TF_Container.h"
#include "TMsgDlg.h"
#include "TestEnv.h"
#include "TranslateText.h"

#include <QComboBox>
#include <QDialog>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

// Drives the container editor through its real entry: the window is modal, so each scenario runs as the answer to
// the editor's own appearance, and the message dialogs it opens are answered from the driver's queue.
class TestTF_Container : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;

    // The window shown as its entry shows it, but not modally, so the message dialogs it opens are the only modal
    // ones and the driver answers them; closing ends as the entry does, with the queries closed.
    void runEditor(const std::function<void(TF_Container *)> &scenario)
    {
        TF_Container::openQuery();
        {
            TF_Container editor;
            editor.show();
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            scenario(&editor);
            click(editor.BB_Fechar);
            QVERIFY(!editor.isVisible());
        }
        DM_BL->qyCntr->close();
    }

    // Clicked near the left edge, where a check box or radio button has its mark.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    static void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    static void chooseType(TF_Container *editor, int index)
    {
        editor->DBComboBox2->setCurrentIndex(index);
        // The choice is taken into the row as the clerk makes it.
        Q_EMIT editor->DBComboBox2->activated(index);
    }

    static QList<QVariantList> rows(const QString &sql)
    {
        QSqlQuery q(Store::database());
        q.exec(sql);
        QList<QVariantList> result;
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            result << row;
        }
        return result;
    }

private Q_SLOTS:
    void init()
    {
        fx.setUp();
        driver = new DialogDriver;
    }
    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        delete driver;
        fx.tearDown();
    }

    void refusalOnLooseCargo_data()
    {
        QTest::addColumn<QString>("carga");
        QTest::addColumn<QString>("message");
        QTest::newRow("loose cargo") << "LCL"
                                     << "Necessário CARGA CNTR";
        QTest::newRow("containers") << "FCL"
                                    << "";
        QTest::newRow("empty cargo kind opens") << ""
                                                << "";
    }
    void refusalOnLooseCargo()
    {
        QFETCH(QString, carga);
        QFETCH(QString, message);
        QCOMPARE(TF_Container::refusal(carga, QStringLiteral("CARGA")), message);
    }

    // Numbers as a clerk may type them: a doubtful one is marked with its reason and still confirmed as typed.
    void doubtfulNumberIsMarkedNotRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("doubt");
        const QString shape = QStringLiteral("Número fora do padrão ISO 6346: 4 letras e 7 algarismos");
        const QString category = QStringLiteral("A quarta letra deve ser U, J ou Z");
        const QString digit = QStringLiteral("Dígito verificador não confere: esperado %1");
        QTest::newRow("valid") << "CSQU3054383"
                               << "";
        QTest::newRow("valid, another owner") << "MSKU9070323"
                                              << "";
        QTest::newRow("lower case, upper-cased as typed") << "csqu3054383"
                                                          << "";
        QTest::newRow("check digit mistyped") << "CSQU3054380" << digit.arg(3);
        QTest::newRow("serial digit mistyped") << "CSQU3054393" << digit.arg(9);
        QTest::newRow("another serial digit mistyped") << "CSQU3054883" << digit.arg(7);
        QTest::newRow("first serial digit mistyped") << "MSKU8070323" << digit.arg(9);
        QTest::newRow("remainder 10 gives 0") << "MSKU9071323" << digit.arg(0);
        QTest::newRow("owner letter mistyped") << "CSQV3054383" << category;
        QTest::newRow("category letter not U, J or Z") << "MSKA9070323" << category;
        QTest::newRow("short") << "MSKU907032" << shape;
        QTest::newRow("long") << "MSKU90703231" << shape;
        QTest::newRow("digit in the owner code") << "MS1U9070323" << shape;
        QTest::newRow("letter in the serial") << "MSKU90703X3" << shape;
    }
    void doubtfulNumberIsMarkedNotRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, doubt);
        StoreFixture::newBl();
        runEditor([&](TF_Container *editor) {
            const QColor plain = editor->DBEdit15->palette().color(QPalette::Base);
            click(editor->SB_Inclusao);
            type(editor->DBEdit15, typed);
            QCOMPARE(editor->DBEdit15->toolTip(), doubt);
            QCOMPARE(editor->DBEdit15->palette().color(QPalette::Base),
                     doubt.isEmpty() ? plain : TF_Container::DoubtfulColor);
            chooseType(editor, 1);
            click(editor->SB_Grava); // no question, no refusal: the driver has nothing queued
            QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Browse);
        });
        QCOMPARE(rows(QStringLiteral("SELECT Cnt_Numero FROM Dal_Cntr")), QList<QVariantList>{{typed.toUpper()}});
    }

    void doubtIsInTheInterfaceLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("doubt");
        QTest::newRow("English") << 2 << "Check digit does not match: expected 3";
        QTest::newRow("Spanish") << 3 << "Dígito verificador no coincide: se esperaba 3";
    }
    void doubtIsInTheInterfaceLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, doubt);
        LanguageSwitch::apply(language);
        const auto back = qScopeGuard([] { LanguageSwitch::apply(1); });
        QCOMPARE(TF_Container::numberDoubt(QStringLiteral("CSQU3054380")), doubt);
    }

    void openingShowsTheBlContainersInNumberOrder()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("ZZZU2"), QStringLiteral("Nor 40"));
        StoreFixture::addContainer(bl, QStringLiteral("AAAU1"), QStringLiteral("Nor 20"), 1234.5);
        StoreFixture::addContainer(StoreFixture::newBl(), QStringLiteral("OTHER"), QStringLiteral("Nor 20"));
        StoreFixture::showBl(bl);
        // Through the real entry: the window is modal and closes with its button.
        driver->handle([](QWidget *window) {
            auto *editor = qobject_cast<TF_Container *>(window);
            QVERIFY(editor);
            QCOMPARE(editor->windowTitle(), QStringLiteral("Containers"));
            QCOMPARE(editor->DBComboBox2->count(), 16);
            QCOMPARE(editor->DBComboBox2->maxVisibleItems(), 16);
            const EditBuffer *q = DM_BL->qyCntr;
            QCOMPARE(q->recordCount(), 2);
            QCOMPARE(q->text(QStringLiteral("Cnt_Numero")), QStringLiteral("AAAU1"));
            QCOMPARE(editor->DBEdit23->text(), QStringLiteral("1.234,500"));
            QCOMPARE(editor->StatusBar1->panelText(1), QStringLiteral("Visualizar"));
            QVERIFY(editor->SB_Inclusao->isEnabled() && editor->SB_Edit->isEnabled());
            QVERIFY(!editor->SB_Grava->isEnabled() && !editor->SB_Cancela->isEnabled());
            click(editor->SB_Inclusao);
            QTest::keyClicks(editor->DBEdit15, QStringLiteral("PENDING"));
            click(editor->BB_Fechar);
        });
        TF_Container::execFor(nullptr);
        // Closed, dropping the row left pending; the confirmed rows stay.
        QVERIFY(!DM_BL->qyCntr->isOpen());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).size(), 3);
    }

    void includeAllocatesCodesOverAllBls()
    {
        const int first = StoreFixture::newBl();
        const int second = StoreFixture::newBl();
        StoreFixture::addContainer(first, QStringLiteral("A1"), QStringLiteral("Nor 20"));
        StoreFixture::addContainer(first, QStringLiteral("A2"), QStringLiteral("Nor 20"));
        StoreFixture::showBl(second);
        runEditor([](TF_Container *editor) {
            click(editor->SB_Inclusao);
            QCOMPARE(editor->StatusBar1->panelText(1), QStringLiteral("Incluir"));
            QVERIFY(!editor->DBGrid2->isEnabled());
            QVERIFY(editor->focusWidget() == editor->DBEdit15);
            QTest::keyClicks(editor->DBEdit15, QStringLiteral("msku 123"));
            chooseType(editor, 12); // "Reefer 40"
            // Only numbers in the current separators are taken.
            type(editor->DBEdit23, QStringLiteral("abc1500,5"));
            click(editor->SB_Grava);
            QCOMPARE(editor->StatusBar1->panelText(1), QStringLiteral("Visualizar"));
            QVERIFY(editor->DBGrid2->isEnabled());
            QVERIFY(editor->SB_Inclusao->isEnabled() && !editor->SB_Grava->isEnabled());
        });
        const auto stored = rows(QStringLiteral("SELECT Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Tipo, Cnt_Peso "
                                                "FROM Dal_Cntr WHERE Cnt_Cod_BL = %1")
                                     .arg(second));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0].toInt(), 3); // one more than the highest code of any BL
        QCOMPARE(stored[0][1].toInt(), second);
        QCOMPARE(stored[0][2].toString(), QStringLiteral("MSKU 123")); // upper-cased as typed
        QCOMPARE(stored[0][3].toString(), QStringLiteral("Reefer 40"));
        QCOMPARE(stored[0][4].toDouble(), 1500.5);
    }

    void editKeepsTheCodes()
    {
        const int bl = StoreFixture::newBl();
        const int code = StoreFixture::addContainer(bl, QStringLiteral("A1"), QStringLiteral("Nor 20"));
        runEditor([](TF_Container *editor) {
            click(editor->SB_Edit);
            QCOMPARE(editor->StatusBar1->panelText(1), QStringLiteral("Editar"));
            type(editor->DBEdit18, QStringLiteral("PALLETS"));
            click(editor->SB_Grava);
        });
        const auto stored = rows(QStringLiteral("SELECT Cnt_Codigo, Cnt_Cod_BL, Cnt_VolTipo FROM Dal_Cntr"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0].toInt(), code);
        QCOMPARE(stored[0][1].toInt(), bl);
        QCOMPARE(stored[0][2].toString(), QStringLiteral("PALLETS"));
    }

    void editOnAnEmptyListStartsANewRow()
    {
        StoreFixture::newBl();
        runEditor([](TF_Container *editor) {
            click(editor->SB_Edit);
            QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Insert);
            QVERIFY(editor->focusWidget() == editor->Panel1);
            type(editor->DBEdit15, QStringLiteral("B1"));
            chooseType(editor, 0);
            click(editor->SB_Grava);
        });
        QCOMPARE(rows(QStringLiteral("SELECT Cnt_Codigo FROM Dal_Cntr")).size(), 1);
    }

    void requiredNumberThenType()
    {
        StoreFixture::newBl();
        runEditor([this](TF_Container *editor) {
            click(editor->SB_Inclusao);
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Número"));
            QVERIFY(editor->focusWidget() == editor->DBEdit15);
            QTest::keyClicks(editor->DBEdit15, QStringLiteral("C1"));
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Tipo"));
            QVERIFY(editor->focusWidget() == editor->DBEdit15);
            QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Insert);
        });
        // The pending row was dropped on closing.
        QVERIFY(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).isEmpty());
    }

    void storedTypeOutsideTheListMustBeChosenAgain()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("dry box 20"));
        runEditor([this](TF_Container *editor) {
            click(editor->SB_Edit);
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Tipo"));
            chooseType(editor, 0);
            click(editor->SB_Grava);
            QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Browse);
        });
        QCOMPARE(rows(QStringLiteral("SELECT Cnt_Tipo FROM Dal_Cntr"))[0][0].toString(), QStringLiteral("Dry Box 20"));
    }

    void cancelRestoresTheRow()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("Nor 20"));
        runEditor([](TF_Container *editor) {
            click(editor->SB_Edit);
            type(editor->DBEdit15, QStringLiteral("X"));
            // A weight being typed that is not a number goes with the rest: nothing to refuse.
            type(editor->DBEdit23, QStringLiteral("1.5"));
            DialogDriver refusal; // an answer at hand, so that a refusal fails here instead of waiting
            refusal.press(QStringLiteral("OK"));
            click(editor->SB_Cancela);
            QCOMPARE(refusal.texts(), QStringList());
            QCOMPARE(editor->DBEdit15->text(), QStringLiteral("C1"));
            QVERIFY(editor->SB_Edit->isEnabled() && !editor->SB_Cancela->isEnabled());
        });
        QCOMPARE(rows(QStringLiteral("SELECT Cnt_Numero FROM Dal_Cntr"))[0][0].toString(), QStringLiteral("C1"));
    }

    // Closing the window throws a row being typed away, as Cancelar does: a weight that is not a number is not
    // refused on the way out.
    void closingDropsAValueBeingTyped()
    {
        StoreFixture::newBl();
        DialogDriver refusal; // an answer at hand, so that a refusal fails here instead of waiting
        refusal.press(QStringLiteral("OK"));
        runEditor([](TF_Container *editor) {
            click(editor->SB_Inclusao);
            type(editor->DBEdit23, QStringLiteral("1,2,3"));
        });
        QCOMPARE(refusal.texts(), QStringList());
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Cntr"))[0][0].toInt(), 0);
    }

    void deleteAsksTwice_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("remaining");
        QTest::newRow("OK twice deletes") << QStringList{"OK", "OK"} << 0;
        QTest::newRow("Cancel at the first keeps") << QStringList{"Cancelar"} << 1;
        QTest::newRow("Escape at the second keeps") << QStringList{"OK", "Escape"} << 1;
    }
    void deleteAsksTwice()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, remaining);
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("MSKU9"), QStringLiteral("Nor 20"));
        runEditor([&](TF_Container *editor) {
            for (const QString &answer : answers)
                answer == QLatin1String("Escape") ? driver->escape() : driver->press(answer);
            click(editor->BB_Delete);
            QCOMPARE(driver->texts().first(), QStringLiteral("DESEJA EXCLUIR ?   Cntr: MSKU9"));
            if (answers.size() == 2)
                QCOMPARE(driver->texts().last(), QStringLiteral("DESEJA REALMENTE EXCLUIR ?"));
        });
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).size(), remaining);
    }

    // Deleting while a change is being typed names the row that goes, as stored, not the number being typed.
    void deleteWhileEditingNamesTheStoredRow()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("MSKU9"), QStringLiteral("Nor 20"));
        runEditor([this](TF_Container *editor) {
            click(editor->SB_Edit);
            type(editor->DBEdit15, QStringLiteral("ZZZU5"));
            driver->press(QStringLiteral("Cancelar"));
            click(editor->BB_Delete);
            QCOMPARE(driver->texts(), QStringList{QStringLiteral("DESEJA EXCLUIR ?   Cntr: MSKU9")});
            click(editor->SB_Cancela);
        });
        QCOMPARE(rows(QStringLiteral("SELECT Cnt_Numero FROM Dal_Cntr"))[0][0].toString(), QStringLiteral("MSKU9"));
    }

    void deleteQuestionInEnglishKeepsCntrUntranslated()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("MSKU9"), QStringLiteral("Nor 20"));
        LanguageSwitch::apply(2);
        const auto back = qScopeGuard([] { LanguageSwitch::apply(1); });
        runEditor([this](TF_Container *editor) {
            QCOMPARE(editor->SB_Inclusao->text(), TranslateText(QStringLiteral("Incluir")));
            QCOMPARE(editor->StatusBar1->panelText(1), TranslateText(QStringLiteral("Visualizar")));
            driver->press(TMsgDlg::caption(TMsgDlg::Cancel, 2));
            click(editor->BB_Delete);
            QCOMPARE(driver->texts(),
                     QStringList{TranslateText(QStringLiteral("DESEJA EXCLUIR ?")) + QStringLiteral("   Cntr: MSKU9")});
            QCOMPARE(driver->seen.last().title, TMsgDlg::title(TMsgDlg::Confirmation, 2));
        });
        QVERIFY(TranslateText(QStringLiteral("DESEJA EXCLUIR ?")) != QStringLiteral("DESEJA EXCLUIR ?"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).size(), 1);
    }

    void deleteWhileInsertingDoesNothing()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("Nor 20"));
        runEditor([this](TF_Container *editor) {
            click(editor->SB_Inclusao);
            type(editor->DBEdit15, QStringLiteral("NEW"));
            click(editor->BB_Delete);
            QVERIFY(driver->texts().isEmpty());
            QCOMPARE(DM_BL->qyCntr->state(), EditBuffer::Insert);
            QCOMPARE(editor->DBEdit15->text(), QStringLiteral("NEW"));
        });
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).size(), 1);
    }

    void sealOrderOnlyWhileEditing()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("Nor 20"), 0, 0,
                                   {{QStringLiteral("Cnt_Lacre_1"), QStringLiteral("S1")}});
        runEditor([this](TF_Container *editor) {
            // Viewing: no message.
            editor->DBEdit21->setFocus();
            QVERIFY(driver->texts().isEmpty());
            click(editor->SB_Edit);
            editor->DBEdit20->setFocus(); // seal 1 is filled
            QVERIFY(driver->texts().isEmpty());
            driver->press(QStringLiteral("OK"));
            editor->DBEdit21->setFocus();
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Lacre 2"));
            QVERIFY(editor->focusWidget() == editor->Panel1);
            // Focus events reach the window again once it is active after the message.
            editor->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(editor));
            driver->press(QStringLiteral("OK"));
            editor->DBEdit22->setFocus();
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Lacre 3"));
            click(editor->SB_Cancela);
        });
    }

    void calendarButtonOpensTheCalendar()
    {
        StoreFixture::newBl();
        runEditor([this](TF_Container *editor) {
            QString shown;
            driver->handle([&shown](QWidget *window) {
                shown = window->metaObject()->className();
                static_cast<QDialog *>(window)->reject();
            });
            click(editor->SB_Calendario);
            QCOMPARE(shown, QStringLiteral("TF_Calendario"));
        });
    }

    void ctrlDeleteInTheListIsSwallowed()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("Nor 20"));
        runEditor([this](TF_Container *editor) {
            editor->DBGrid2->setFocus();
            QTest::keyClick(editor->DBGrid2, Qt::Key_Delete, Qt::ControlModifier);
            QVERIFY(driver->texts().isEmpty());
        });
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Dal_Cntr")).size(), 1);
    }
};

DALVORA_TEST_MAIN(TestTF_Container)
#include "tst_tf_container.moc"
