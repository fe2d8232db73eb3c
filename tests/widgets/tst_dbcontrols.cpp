#include "DialogDriver.h"
#include "Formats.h"
#include "Store.h"
#include "TDBComboBox.h"
#include "TDBDateEdit.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TDBRadioGroup.h"
#include "TDM_BL.h"
#include "TIvBinaryDictionary.h"
#include "TestEnv.h"
#include "TranslateText.h"

#include <QClipboard>
#include <QDir>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <memory>

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

    void newDocument()
    {
        dm->qySD->setSql({QStringLiteral("SELECT * from Dal_SD"), QStringLiteral("where Sd_Cod_BL = :pp1")});
        dm->qySD->open();
        dm->qySD->insert();
    }

    // Key presses carrying any character (QTest::keyClicks knows only ASCII).
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    // Shows the window and makes it the active one, as a click on it would: fields then get and lose the focus as
    // the clerk sees it.
    [[nodiscard]] static bool shownActive(QWidget &window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
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
        // A text stored in small letters shows as stored; only typing makes capitals.
        dm->qyBLS->edit();
        dm->qyBLS->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("bk-9"));
        QCOMPARE(edit.text(), QStringLiteral("bk-9"));
        edit.end(false);
        QTest::keyClicks(&edit, QStringLiteral("a"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BK-9A"));
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

    // A cell copied from a spreadsheet ends in a line break: a one-line field takes the cell without it, a text and
    // a number alike, wherever the cursor stood, and a number without blanks around it. A break inside the text is
    // still refused.
    void aCellCopiedFromASpreadsheetPastesWithoutItsLineBreak()
    {
        TDBEdit text;
        text.bind(dm->DS_BLS, QStringLiteral("Bls_Navio"));
        TDBEdit number;
        number.bind(dm->DS_BLS, QStringLiteral("Bls_LCL_Volumes"));
        newBl();
        for (const auto &[edit, pasted, shown] :
             {std::tuple{&text, "MSKU9070323\r\n", "MSKU9070323"}, std::tuple{&text, "CELL\n", "CELL"},
              std::tuple{&number, " 12 ", "12"}, std::tuple{&number, "1234\r\n", "1234"}}) {
            edit->clear();
            QGuiApplication::clipboard()->setText(QLatin1String(pasted));
            edit->paste();
            QCOMPARE(edit->text(), QLatin1String(shown));
            QCOMPARE(edit->cursorPosition(), edit->text().size());
        }
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Navio")), QStringLiteral("CELL"));
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_LCL_Volumes")), 1234);
        text.setCursorPosition(2); // pasted into the middle, the break would split the text
        QGuiApplication::clipboard()->setText(QStringLiteral("X\n"));
        text.paste();
        QCOMPARE(text.text(), QStringLiteral("CELL"));
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

    // Memos and edits obey one input rule for typed keys, composed characters and pastes, and keep the editing
    // shortcuts.
    void composedCharactersAndShortcutsFollowTheInputRules_data()
    {
        QTest::addColumn<bool>("memo");
        QTest::newRow("memo") << true;
        QTest::newRow("edit") << false;
    }
    void composedCharactersAndShortcutsFollowTheInputRules()
    {
        QFETCH(bool, memo);
        std::unique_ptr<QWidget> field;
        const QString column = memo ? QStringLiteral("Bls_Marks") : QStringLiteral("Bls_Shipper1");
        if (memo) {
            auto *m = new TDBMemo;
            m->bind(dm->DS_BLS, column);
            field.reset(m);
        } else {
            auto *e = new TDBEdit;
            e->bind(dm->DS_BLS, column);
            field.reset(e);
        }
        field->show();
        field->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(field.get()));
        field->setFocus();
        newBl();
        const auto compose = [&](const QString &committed) {
            QInputMethodEvent preedit(QStringLiteral("´"), {});
            QApplication::sendEvent(field.get(), &preedit);
            QInputMethodEvent commit;
            commit.setCommitString(committed);
            QApplication::sendEvent(field.get(), &commit);
        };
        const auto stored = [&] { return dm->qyBLS->text(column); };

        QTest::keyClicks(field.get(), QStringLiteral("CAF"));
        compose(QStringLiteral("É"));
        QCOMPARE(stored(), QStringLiteral("CAFÉ"));
        compose(QStringLiteral("č")); // no Windows-1252 byte
        QCOMPARE(stored(), QStringLiteral("CAFÉ"));

        QTest::keySequence(field.get(), QKeySequence::SelectAll);
        QTest::keySequence(field.get(), QKeySequence::Copy);
        QTest::keyClick(field.get(), Qt::Key_End);
        QTest::keySequence(field.get(), QKeySequence::Paste);
        QCOMPARE(stored(), QStringLiteral("CAFÉCAFÉ"));
        QTest::keySequence(field.get(), QKeySequence::Undo);
        QCOMPARE(stored(), QStringLiteral("CAFÉ"));
        QTest::keySequence(field.get(), QKeySequence::Redo);
        QCOMPARE(stored(), QStringLiteral("CAFÉCAFÉ"));
        QTest::keySequence(field.get(), QKeySequence::SelectAll);
        QTest::keySequence(field.get(), QKeySequence::Cut);
        QCOMPARE(stored(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("CAFÉCAFÉ"));
        dm->qyBLS->cancel();
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

    // Enter, Tab, or an arrow while only viewing, leave a stored kind as it is, whether or not the list holds it and
    // whatever entry the list was last left on. (Qt still puts a list entry that differs only in case in its place.)
    void comboKeepsAStoredKindThroughEnterAndTab()
    {
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *combo = new TDBComboBox(&window);
        auto *after = new QLineEdit(&window);
        combo->move(0, 40);
        after->move(0, 80);
        combo->addItems({QStringLiteral("BAGS"), QStringLiteral("CAIXAS"), QStringLiteral("PALLETS")});
        combo->bind(dm->DS_BLS, QStringLiteral("Bls_LCL_TipoVolume"));
        QVERIFY(shownActive(window));
        for (const char *stored : {"PALLET", "CAIXAS", ""}) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
                newBl();
                combo->setCurrentIndex(1); // the list left on an entry by an earlier BL
                dm->qyBLS->setText(QStringLiteral("Bls_LCL_TipoVolume"), QLatin1String(stored));
                dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
                dm->qyBLS->post();
                combo->setFocus(Qt::TabFocusReason);
                QTest::keyClick(combo, Qt::Key_Down); // while only viewing
                dm->qyBLS->edit();
                before->setFocus();
                QTest::keyClick(before, Qt::Key_Tab);
                QVERIFY(combo->hasFocus());
                QTest::keyClick(combo, key);
                QTest::keyClick(combo, Qt::Key_Tab);
                QCOMPARE(combo->currentText(), QLatin1String(stored));
                QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_LCL_TipoVolume")), QLatin1String(stored));
                dm->qyBLS->cancel();
                dm->qyBLS->close();
                QVERIFY(QSqlQuery(Store::database()).exec(QStringLiteral("DELETE FROM Dal_Bls")));
            }
        }
    }

    // A drop-down explains a refused character under its text, and the explanation goes when Tab leaves the box.
    void comboHidesItsExplanationWhenLeft()
    {
        QWidget window;
        auto *combo = new TDBComboBox(&window);
        auto *after = new QLineEdit(&window);
        after->move(0, 40);
        combo->bind(dm->DS_BLS, QStringLiteral("Bls_LCL_TipoVolume"));
        QVERIFY(shownActive(window));
        newBl();
        combo->setFocus(Qt::TabFocusReason);
        typeText(combo, QStringLiteral("ABŁ"));
        QCOMPARE(combo->currentText(), QStringLiteral("AB"));
        const QLabel *balloon = combo->lineEdit()->findChild<QLabel *>(QStringLiteral("RefusalHint"));
        QVERIFY(balloon && balloon->isVisible());
        QTest::keyClick(combo, Qt::Key_Tab);
        QVERIFY(after->hasFocus());
        QVERIFY(!balloon->isVisible());
    }

    // What a field refuses, typed or pasted, it explains under itself in the language in force, while the clerk types
    // on, until the field loses the focus.
    void refusalsAreExplainedUnderTheField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("hint");
        QTest::newRow("letter in a number") << "Bls_LCL_PesoBruto"
                                            << "12 kg" << false << 1 << "Este campo aceita somente números.";
        QTest::newRow("decimals in a count") << "Bls_LCL_Volumes"
                                             << "1,5" << false << 1 << "Este campo aceita somente números inteiros.";
        QTest::newRow("count too large") << "Bls_LCL_Volumes"
                                         << "99999999999" << false << 1 << "Número grande demais para este campo.";
        QTest::newRow("16th digit") << "Bls_LCL_PesoBruto"
                                    << "1234567890123,456" << false << 1 << "Este campo guarda no máximo 15 dígitos.";
        QTest::newRow("decimals beyond those shown")
            << "Bls_LCL_PesoBruto"
            << "12,3456" << false << 1 << "Este campo aceita no máximo 3 casas decimais.";
        QTest::newRow("decimals beyond those shown, English")
            << "Bls_LCL_PesoBruto"
            << "12.3456" << false << 2 << "This field takes at most 3 decimal places.";
        QTest::newRow("outside the code page") << "Bls_Navio"
                                               << "MSC Łódź" << false << 1 << "Caractere não aceito neste campo.";
        QTest::newRow("typed beyond the width")
            << "Bls_ReservaNr" << QString(26, u'9') << false << 1 << "Este campo aceita no máximo 25 caracteres.";
        QTest::newRow("pasted beyond the width, English")
            << "Bls_ReservaNr" << QString(30, u'9') << true << 2 << "This field takes at most 25 characters.";
        QTest::newRow("letter in a number, English") << "Bls_LCL_PesoBruto"
                                                     << "12 kg" << false << 2 << "This field takes numbers only.";
        QTest::newRow("pasted outside the code page, Spanish")
            << "Bls_Navio"
            << "Ωmega" << true << 3 << "Carácter no admitido en este campo.";
        QTest::newRow("count too large, Spanish")
            << "Bls_LCL_Volumes"
            << "99999999999" << false << 3 << "Número demasiado grande para este campo.";
    }
    void refusalsAreExplainedUnderTheField()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, pasted);
        QFETCH(int, language);
        QFETCH(QString, hint);
        const auto restore = qScopeGuard([] { TIvBinaryDictionary::instance().switchLanguage(1); });
        TIvBinaryDictionary::instance().switchLanguage(language);
        dm->qyBLS->setDisplayFormat(QStringLiteral("Bls_LCL_PesoBruto"), QString::fromLatin1(Formats::WeightPattern));
        TDBEdit edit;
        edit.bind(dm->DS_BLS, field);
        QVERIFY(shownActive(edit));
        QTest::keyClicks(&edit, QStringLiteral("1"));
        QVERIFY(!edit.findChild<QLabel *>(QStringLiteral("RefusalHint"))); // read-only while viewing: no refusal
        newBl();
        edit.setFocus();
        if (pasted) {
            QGuiApplication::clipboard()->setText(typed);
            edit.paste();
        } else {
            typeText(&edit, typed);
        }
        const QLabel *balloon = edit.findChild<QLabel *>(QStringLiteral("RefusalHint"));
        QVERIFY(balloon && balloon->isVisible());
        QCOMPARE(balloon->text(), hint);
        QVERIFY(balloon->geometry().top() >= edit.mapToGlobal(QPoint(0, edit.height())).y());
        QVERIFY(edit.hasFocus()); // the clerk types on
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_1);
        QVERIFY(balloon->isVisible());
        edit.clearFocus();
        QVERIFY(!balloon->isVisible());
    }

    // A memo explains the characters it refuses, typed or pasted, and not a paste that carries no text.
    void memoExplainsARefusedCharacter()
    {
        TDBMemo memo;
        memo.bind(dm->DS_BLS, QStringLiteral("Bls_Descricao"));
        QVERIFY(shownActive(memo));
        newBl();
        memo.setFocus();
        typeText(&memo, QStringLiteral("Ω"));
        const QLabel *balloon = memo.findChild<QLabel *>(QStringLiteral("RefusalHint"));
        QVERIFY(balloon && balloon->isVisible());
        QCOMPARE(balloon->text(), QStringLiteral("Caractere não aceito neste campo."));
        memo.clearFocus();
        QVERIFY(!balloon->isVisible());
        memo.setFocus();
        QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
        memo.paste();
        QVERIFY(!balloon->isVisible());
        QGuiApplication::clipboard()->setText(QStringLiteral("Ωmega"));
        memo.paste();
        QVERIFY(balloon->isVisible());
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Descricao")), QString());
    }

    // A number field stores a text only when the whole of it is a number in the separators in force; otherwise it
    // says so and keeps the value it held before the typing, never the part that reads as a number.
    void numbersFollowTheSeparatorsInForce_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("pt_BR") << br << "1234,5" << false << 1234.5 << "1.234,500";
        QTest::newRow("en_US") << us << "1234.5" << false << 1234.5 << "1,234.500";
        QTest::newRow("grouped") << br << "1.234,5" << false << 1234.5 << "1.234,500";
        QTest::newRow("letters never typed") << br << "12a3" << false << 123.0 << "123,000";
        QTest::newRow("negative") << br << "-2" << false << -2.0 << "-2,000";
        // A double holds 15 significant digits: the 16th is not taken, so nothing shows digits never typed.
        QTest::newRow("16th digit not taken")
            << br << "12345678901234,56" << false << 12345678901234.5 << "12.345.678.901.234,500";
        QTest::newRow("zeros ending the decimals") << br << "1,0000000000000000" << false << 1.0 << "1,000";
        // Decimals beyond those the field shows are not taken: the draft and the carrier file hold what was seen.
        QTest::newRow("4th decimal not taken") << br << "1,0005" << false << 1.0 << "1,000";
        QTest::newRow("English separators in Portuguese") << br << "1,234.5" << true << 500.0 << "500,000";
        QTest::newRow("English point in Portuguese") << br << "12.5" << true << 500.0 << "500,000";
        QTest::newRow("grouping in the decimals") << br << "7000,5.1" << true << 500.0 << "500,000";
        QTest::newRow("Portuguese comma in English") << us << "12,5" << true << 500.0 << "500.000";
    }
    void numbersFollowTheSeparatorsInForce()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        QLocale::setDefault(locale);
        const QString field = QStringLiteral("Bls_LCL_PesoBruto");
        TDBEdit edit;
        edit.bind(dm->DS_BLS, field);
        dm->qyBLS->setDisplayFormat(field, QStringLiteral("###,###,##0.000"));
        newBl();
        dm->qyBLS->setNumber(field, 500); // the value before the clerk types
        edit.show();
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, typed);

        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        QCOMPARE(edit.commit(), !refused);
        QCOMPARE(dm->qyBLS->number(field), stored);
        QCOMPARE(driver.pending(), refused ? 0 : 1);
        if (refused)
            QCOMPARE(driver.seen.first().text, TranslateText(QStringLiteral("Número inválido.")) + u' ' + typed);
        edit.clearFocus();
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        QCOMPARE(edit.text(), shown);
    }

    // A number entered by Tab or Shift+Tab is selected whole in its typing form, so that what is typed replaces it.
    void tabSelectsTheWholeNumberForTyping()
    {
        const QString field = QStringLiteral("Bls_LCL_PesoBruto");
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *edit = new TDBEdit(&window);
        auto *after = new QLineEdit(&window);
        edit->move(0, 40);
        after->move(0, 80);
        edit->bind(dm->DS_BLS, field);
        dm->qyBLS->setDisplayFormat(field, QStringLiteral("###,###,##0.000"));
        newBl();
        dm->qyBLS->setNumber(field, 1234.5);
        QVERIFY(shownActive(window));
        for (const auto &[from, key, typed, stored] :
             {std::tuple{before, Qt::Key_Tab, "2000", 2000.0}, std::tuple{after, Qt::Key_Backtab, "7", 7.0}}) {
            from->setFocus();
            QTest::keyClick(from, key);
            QVERIFY(edit->hasFocus());
            QCOMPARE(edit->selectedText(), edit->text());
            QTest::keyClicks(edit, QLatin1String(typed));
            QTest::keyClick(edit, Qt::Key_Tab);
            QCOMPARE(dm->qyBLS->number(field), stored);
        }
        // The typing form holds the decimals the field shows: a sum's binary noise, or a value stored with more
        // decimals than shown, reads as shown and takes typing without an explanation of refusal.
        for (const auto &[value, typing] : {std::pair{10.1 + 20.2, "30,3"}, {1234.5678, "1234,568"}, {-0.0001, "0"}}) {
            dm->qyBLS->setNumber(field, value);
            before->setFocus();
            QTest::keyClick(before, Qt::Key_Tab);
            QCOMPARE(edit->text(), QLatin1String(typing));
            QTest::keyClick(edit, Qt::Key_Home);
            QTest::keyClick(edit, Qt::Key_1);
            QCOMPARE(edit->text(), u'1' + QLatin1String(typing));
            QVERIFY(!edit->findChild<QLabel *>(QStringLiteral("RefusalHint")));
        }
    }

    // Another window becoming active, or a menu opening over the field, takes the focus only for a while: a number
    // or date half typed is neither refused nor dropped, and the clerk goes on typing it on coming back.
    void anotherWindowTakesTheFocusOnlyForAWhile()
    {
        QWidget window;
        auto *number = new TDBEdit(&window);
        auto *date = new TDBDateEdit(&window);
        date->move(0, 40);
        number->bind(dm->DS_BLS, QStringLiteral("Bls_LCL_PesoBruto"));
        date->bind(dm->DS_SD, QStringLiteral("Sd_Vencto"));
        newBl();
        newDocument();
        dm->qyBLS->setNumber(QStringLiteral("Bls_LCL_PesoBruto"), 10);
        QVERIFY(shownActive(window));
        QWidget other;
        other.move(300, 0);
        DialogDriver driver; // answers a refusal, should one come
        driver.press(QStringLiteral("OK")).press(QStringLiteral("OK"));
        const auto awayAndBack = [&](QWidget *field) {
            QVERIFY(shownActive(other));
            QVERIFY(!field->hasFocus());
            other.hide();
            QVERIFY(shownActive(window));
            QVERIFY(field->hasFocus());
        };

        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, QStringLiteral("-"));
        awayAndBack(number);
        QCOMPARE(number->text(), QStringLiteral("-"));
        QTest::keyClicks(number, QStringLiteral("5"));
        QVERIFY(number->commit());
        QCOMPARE(dm->qyBLS->number(QStringLiteral("Bls_LCL_PesoBruto")), -5.0);

        date->setFocus();
        date->home(false);
        QTest::keyClicks(date, QStringLiteral("3101"));
        awayAndBack(date);
        QTest::keyClicks(date, QStringLiteral("2025"));
        QVERIFY(date->commit());
        QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), QDate(2025, 1, 31));
        QVERIFY2(driver.seen.isEmpty(), qPrintable(driver.report()));
    }

    // Random texts typed into number and date fields: the field refuses the text, or what it stores, formatted back,
    // is what it shows, and is the number (or date) the whole text reads as.
    void typedValuesAreStoredAsShown_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("pt_BR") << QLocale(QLocale::Portuguese, QLocale::Brazil);
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("es_ES") << QLocale(QLocale::Spanish, QLocale::Spain);
    }
    void typedValuesAreStoredAsShown()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        const QString alphabet = QStringLiteral("0123456789.,-+ ea");
        QRandomGenerator random(20261210);
        for (const QString &field : {QStringLiteral("Bls_LCL_PesoBruto"), QStringLiteral("Bls_LCL_Volumes")}) {
            TDBEdit edit;
            edit.bind(dm->DS_BLS, field);
            for (int round = 0; round < 60; ++round) {
                QString typed;
                for (int i = 0, n = random.bounded(1, 10); i < n; ++i)
                    typed += alphabet.at(random.bounded(int(alphabet.size())));
                newBl();
                edit.clear();
                QTest::keyClicks(&edit, typed);
                const QString shown = edit.text(); // what the field let through
                DialogDriver driver;
                driver.press(QStringLiteral("OK"));
                const bool accepted = edit.commit();
                const QString context = field + QStringLiteral(": ") + typed + QStringLiteral(" -> ") + shown;
                QVERIFY2(accepted == driver.seen.isEmpty(), qPrintable(context));
                if (!accepted || shown.isEmpty()) {
                    QVERIFY2(dm->qyBLS->isNull(field), qPrintable(context));
                } else {
                    QVERIFY2(Formats::parseNumber(shown) == dm->qyBLS->number(field), qPrintable(context));
                    QCOMPARE(Formats::editNumber(dm->qyBLS->number(field)),
                             Formats::editNumber(*Formats::parseNumber(shown)));
                }
                dm->qyBLS->cancel();
                dm->qyBLS->close();
            }
        }

        TDBDateEdit date;
        date.bind(dm->DS_SD, QStringLiteral("Sd_Vencto"));
        newDocument();
        for (int round = 0; round < 60; ++round) {
            QString typed;
            for (int i = 0; i < 8; ++i)
                typed += QChar(u'0' + random.bounded(10));
            date.home(false);
            QTest::keyClicks(&date, typed);
            const QString shown = date.text();
            DialogDriver driver;
            driver.press(QStringLiteral("OK"));
            const QDate before = dm->qySD->date(QStringLiteral("Sd_Vencto"));
            if (date.commit()) {
                QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")).toString(QStringLiteral("dd/MM/yyyy")), shown);
            } else {
                QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), before);
                QCOMPARE(date.text(),
                         before.isValid() ? before.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("//"));
            }
        }
    }

    void dateEditRefusesImpossibleDates()
    {
        TDBDateEdit date;
        date.bind(dm->DS_SD, QStringLiteral("Sd_Vencto"));
        newDocument();
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

        // A day or month of one digit ended by its separator is that day or month.
        for (const auto &[typed, stored] : {std::pair{"1/2/2024", QDate(2024, 2, 1)},
                                            {"15/3/2024", QDate(2024, 3, 15)},
                                            {"01/02/2024", QDate(2024, 2, 1)},
                                            {"7/11/2025", QDate(2025, 11, 7)}}) {
            date.clear();
            date.home(false);
            QTest::keyClicks(&date, QLatin1String(typed));
            DialogDriver refusal;
            refusal.press(QStringLiteral("OK"));
            QVERIFY2(date.commit(), typed);
            QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), stored);
        }

        // Typed over a stored date, a day or month of one digit ended by its separator is that day or month too, not
        // the stored date's digits around it.
        for (const auto &[typed, stored] : {std::pair{"2/1/2024", QDate(2024, 1, 2)},
                                            {"1/3/2024", QDate(2024, 3, 1)},
                                            {"12/3/2024", QDate(2024, 3, 12)}}) {
            dm->qySD->setDate(QStringLiteral("Sd_Vencto"), QDate(2023, 11, 25));
            QCOMPARE(date.text(), QStringLiteral("25/11/2023"));
            date.home(false);
            QTest::keyClicks(&date, QLatin1String(typed));
            QVERIFY2(date.commit(), typed);
            QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), stored);
        }

        // Separators typed where the mask has them are taken in silence; a letter is refused, and the field says why.
        date.show();
        date.clear();
        date.home(false);
        QTest::keyClicks(&date, QStringLiteral("01/02/2024"));
        QCOMPARE(date.text(), QStringLiteral("01/02/2024"));
        QVERIFY(!date.findChild<QLabel *>(QStringLiteral("RefusalHint")));
        date.clear();
        date.home(false);
        QTest::keyClicks(&date, QStringLiteral("1x"));
        QCOMPARE(date.text(), QStringLiteral("1//"));
        const QLabel *balloon = date.findChild<QLabel *>(QStringLiteral("RefusalHint"));
        QVERIFY(balloon && balloon->isVisible());
        QCOMPARE(balloon->text(), QStringLiteral("Este campo aceita somente os algarismos da data."));
    }

    // A click anywhere in a date being typed puts the cursor where the next digit goes, not past the mask's end,
    // where the digits typed would be lost; a click among typed digits stays where it was, to correct one of them.
    void clickPutsTheCursorWhereTheNextDigitGoes()
    {
        QWidget window;
        auto *other = new QLineEdit(&window);
        auto *date = new TDBDateEdit(&window);
        date->setGeometry(0, 40, 200, 30);
        date->bind(dm->DS_SD, QStringLiteral("Sd_Vencto"));
        newDocument();
        QVERIFY(shownActive(window));
        for (const auto &[before, typed, stored] :
             {std::tuple{"", "01022024", QDate(2024, 2, 1)}, std::tuple{"15", "032025", QDate(2025, 3, 15)}}) {
            other->setFocus();
            date->setText(QLatin1String(before));
            QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 5, date->height() / 2));
            QVERIFY(date->hasFocus());
            QTest::keyClicks(date, QLatin1String(typed));
            QVERIFY(date->commit());
            QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), stored);
        }
        // Among the typed digits the click keeps its place: the month is typed over.
        date->setCursorPosition(3);
        const QPoint month = date->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        other->setFocus();
        QTest::mouseClick(date, Qt::LeftButton, {}, month);
        QCOMPARE(date->cursorPosition(), 3);
        QTest::keyClicks(date, QStringLiteral("04"));
        QVERIFY(date->commit());
        QCOMPARE(dm->qySD->date(QStringLiteral("Sd_Vencto")), QDate(2025, 4, 15));
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

    // With nothing chosen yet, an arrow chooses the item it moves to, as it does once an item is chosen; while
    // viewing it still changes nothing.
    void arrowsChooseWhenNothingIsChosen()
    {
        TDBRadioGroup group;
        group.setItems({QStringLiteral("Sim"), QStringLiteral("Não")});
        group.setValues({QStringLiteral("True"), QStringLiteral("False")});
        group.bind(dm->DS_BLS, QStringLiteral("Bls_Imo"));
        group.show();
        group.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&group));
        newBl();
        QCOMPARE(group.itemIndex(), -1);
        group.buttons().at(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(group.buttons().at(0), Qt::Key_Down);
        QVERIFY(group.buttons().at(1)->hasFocus());
        QCOMPARE(group.itemIndex(), 1);
        QCOMPARE(dm->qyBLS->logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("False"));
        QTest::keyClick(group.buttons().at(1), Qt::Key_Up);
        QCOMPARE(dm->qyBLS->logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("True"));

        dm->qyBLS->setValue(QStringLiteral("Bls_Imo"), QVariant());
        dm->qyBLS->setInteger(QStringLiteral("Bls_Codigo"), 1);
        dm->qyBLS->post();
        QCOMPARE(group.itemIndex(), -1);
        QTest::keyClick(group.buttons().at(0), Qt::Key_Right);
        QVERIFY(dm->qyBLS->isNull(QStringLiteral("Bls_Imo")));
        QCOMPARE(group.itemIndex(), -1);
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

    // A language switch changes the separators in force: fields and grid cells show their numbers again in them,
    // never the old ones ("1.234,500" would read as about one kilogram in English).
    void numbersShownAgainInANewLanguage()
    {
        const QString field = QStringLiteral("Bls_LCL_PesoBruto");
        newBl();
        dm->qyBLS->setDisplayFormat(field, QString::fromLatin1(Formats::WeightPattern));
        dm->qyBLS->setNumber(field, 1234.5);
        dm->postWithNewCode(dm->qyBLS);
        DataSource source(dm->qyBLS);
        TDBEdit edit;
        edit.bind(&source, field);
        TDBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({field}, {QStringLiteral("Peso")}, {100});
        QSignalSpy gridShownAgain(grid.model(), &QAbstractItemModel::dataChanged);
        const auto restore = qScopeGuard([] { TIvBinaryDictionary::instance().switchLanguage(1); });
        for (const auto &[language, shown] : {std::pair{2, "1,234.500"}, {3, "1.234,500"}, {2, "1,234.500"}}) {
            const qsizetype before = gridShownAgain.size();
            TIvBinaryDictionary::instance().switchLanguage(language);
            QCOMPARE(edit.text(), QLatin1String(shown));
            QVERIFY(gridShownAgain.size() > before);
            QCOMPARE(grid.model()->index(0, 0).data().toString(), QLatin1String(shown));
        }
    }
};

DALVORA_TEST_MAIN(TestDbControls)
#include "tst_dbcontrols.moc"
