#include "DialogDriver.h"
#include "TestEnv.h"

#include "DRYearCal2.h"
#include "LanguageSwitch.h"
#include "TF_Calendario.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

class TestTF_Calendario : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { LanguageSwitch::apply(1); }
    void longDateLine_data();
    void longDateLine();
    void opensOnToday();
    void yearStepping();
    void leapYearsWhileStepping();
    void closesOnlyByItsButton();
};

void TestTF_Calendario::longDateLine_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("line");
    // The names follow the language; "de" stays Portuguese in all three.
    QTest::newRow("English") << 2 << QDate(2010, 1, 5) << " Tuesday, 5  de January de 2010";
    QTest::newRow("Portuguese") << 1 << QDate(2010, 1, 5) << QStringLiteral(" terça-feira, 5  de janeiro de 2010");
    QTest::newRow("Spanish") << 3 << QDate(2010, 1, 5) << " martes, 5  de enero de 2010";
    QTest::newRow("two-digit day") << 2 << QDate(1999, 12, 31) << " Friday, 31  de December de 1999";
}

void TestTF_Calendario::longDateLine()
{
    QFETCH(int, language);
    QFETCH(QDate, date);
    QFETCH(QString, line);
    LanguageSwitch::apply(language);
    QCOMPARE(TF_Calendario::longDateLine(date), line);
}

void TestTF_Calendario::opensOnToday()
{
    LanguageSwitch::apply(2);
    QWidget owner;
    DialogDriver driver;
    const QDate today = QDate::currentDate();
    // What the open window showed, read while it is open and compared once it has closed.
    QString name, title, line, currentCaption, focus;
    QSize size;
    bool fixed = false, closeBox = true, owned = false;
    int year = 0;
    QDate calendarToday;
    driver.handle([&](QWidget *window) {
        name = window->objectName();
        owned = window->parentWidget() == &owner;
        title = window->windowTitle();
        size = window->size();
        fixed = window->minimumSize() == window->maximumSize();
        closeBox = window->windowFlags() & Qt::WindowCloseButtonHint;
        line = window->findChild<QLabel *>("Label1")->text();
        currentCaption = window->findChild<QToolButton *>("SB_Atual")->text();
        year = window->findChild<TDRYearCal *>("DRYearCal2")->year();
        calendarToday = window->findChild<TDRYearCal *>("DRYearCal2")->today();
        focus = window->focusWidget() ? window->focusWidget()->objectName() : QString();
        QTest::mouseClick(window->findChild<QPushButton *>("BB_Fechar"), Qt::LeftButton);
    });
    TF_Calendario::execCalendar(&owner);
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(name, QStringLiteral("F_Calendario"));
    QVERIFY(owned);
    QCOMPARE(title, QStringLiteral("Calendar"));
    QCOMPARE(size, QSize(599, 372));
    QVERIFY(fixed);
    QVERIFY(!closeBox);
    QCOMPARE(line, TF_Calendario::longDateLine(today));
    QVERIFY(line.contains(QLocale().monthName(today.month())));
    QCOMPARE(currentCaption, QString::number(today.year()));
    QCOMPARE(year, today.year());
    QCOMPARE(calendarToday, today);
    QCOMPARE(focus, QStringLiteral("BB_Fechar"));
    // Released on close.
    QVERIFY(owner.findChildren<TF_Calendario *>().isEmpty());
}

void TestTF_Calendario::yearStepping()
{
    TF_Calendario window;
    window.show();
    const int thisYear = QDate::currentDate().year();
    auto *previous = window.findChild<QToolButton *>("SB_Anterior");
    auto *current = window.findChild<QToolButton *>("SB_Atual");
    auto *next = window.findChild<QToolButton *>("SB_Proximo");
    QCOMPARE(previous->toolTip(), QStringLiteral("Previous Year"));
    QCOMPARE(current->toolTip(), QStringLiteral("Current Year"));
    QCOMPARE(next->toolTip(), QStringLiteral("Next Year"));

    QTest::mouseClick(previous, Qt::LeftButton);
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(window.shownYear(), thisYear - 2);
    QCOMPARE(current->text(), QString::number(thisYear));
    QTest::mouseClick(current, Qt::LeftButton);
    QCOMPARE(window.shownYear(), thisYear);
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(window.shownYear(), thisYear + 1);
    QCOMPARE(current->text(), QString::number(thisYear));

    // A new opening starts at today's year again.
    window.hide();
    window.show();
    QCOMPARE(window.shownYear(), thisYear);
}

void TestTF_Calendario::leapYearsWhileStepping()
{
    TF_Calendario window;
    window.show();
    auto *calendar = window.findChild<TDRYearCal *>("DRYearCal2");
    calendar->setYear(2000);
    QCOMPARE(TDRYearCal::daysInMonth(window.shownYear(), 2), 29);
    QTest::mouseClick(window.findChild<QToolButton *>("SB_Anterior"), Qt::LeftButton);
    QCOMPARE(window.shownYear(), 1999);
    QCOMPARE(TDRYearCal::daysInMonth(window.shownYear(), 2), 28);
    calendar->setYear(1901);
    QTest::mouseClick(window.findChild<QToolButton *>("SB_Anterior"), Qt::LeftButton);
    QCOMPARE(window.shownYear(), 1900);
    QCOMPARE(TDRYearCal::daysInMonth(window.shownYear(), 2), 28);
}

void TestTF_Calendario::closesOnlyByItsButton()
{
    TF_Calendario window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QTest::mouseClick(window.findChild<QPushButton *>("BB_Fechar"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

DALVORA_TEST_MAIN(TestTF_Calendario)
#include "tst_tf_calendario.moc"
