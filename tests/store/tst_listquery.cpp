#include "ListQuery.h"
#include "Store.h"
#include "StoreError.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

// The search list against a small store: whatever it reads page by page must be exactly what sorting all rows in
// memory gives, for every order, and the jump must land where a walk through that order lands.
class TestListQuery : public QObject
{
    Q_OBJECT

    static inline const QStringList Shown{"Bls_Codigo", "Bls_ReservaNr",   "Bls_RefShipper",    "Bls_Navio",
                                          "Bls_Viagem", "Bls_PortLoading", "Bls_PortDischarge", "Bls_Shipper1",
                                          "Bls_Cnee1",  "Bls_Notify1"};

    using Row = QList<QVariant>; // the shown columns, as stored
    QList<Row> stored;           // by code

    static void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(Store::database());
        QVERIFY2(q.prepare(sql), qPrintable(q.lastError().text()));
        for (const QVariant &v : values)
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }

    // 300 BLs, several pages of the list: few distinct values per column so that most rows tie with others, empty
    // cells both as NULL and as '', upper and lower case, a letter beyond ASCII and GLOB's own special characters.
    void storeMany()
    {
        const QVariantList values{QVariant(),
                                  QStringLiteral(""),
                                  QStringLiteral("BK1"),
                                  QStringLiteral("BK10"),
                                  QStringLiteral("bk1"),
                                  QStringLiteral("A*1"),
                                  QStringLiteral("A1"),
                                  QStringLiteral("[X"),
                                  QStringLiteral("ÉPSILON"),
                                  QStringLiteral("EZ"),
                                  QStringLiteral("B?2"),
                                  QStringLiteral("BK100")};
        quint32 seed = 7;
        stored.clear();
        exec(QStringLiteral("BEGIN"));
        for (int code = 1; code <= 300; ++code) {
            Row row{code};
            for (int c = 1; c < Shown.size(); ++c) {
                seed = seed * 1103515245u + 12345u;
                row << values[(seed >> 16) % (c == 1 ? values.size() : 5 + c % 4)];
            }
            // A few rare booking numbers, so that the jump also finds its row among few matches.
            if (code == 40 || code == 250)
                row[1] = QStringLiteral("ZRARE");
            if (code == 120)
                row[1] = QStringLiteral("ZRARE2");
            stored << row;
            exec(QStringLiteral("INSERT INTO Dal_Bls (%1) VALUES (?%2)")
                     .arg(Shown.join(QLatin1Char(',')), QStringLiteral(",?").repeated(Shown.size() - 1)),
                 row);
        }
        exec(QStringLiteral("COMMIT"));
    }

    // All rows sorted in memory as ORDER BY sorts them: empty cells first, text by its UTF-8 bytes, equal values by
    // code (the order rows were stored in).
    QList<Row> sortedBy(const QString &column) const
    {
        QList<Row> rows = stored;
        const int c = int(Shown.indexOf(column));
        if (c > 0)
            std::stable_sort(rows.begin(), rows.end(), [c](const Row &a, const Row &b) {
                if (a[c].isNull() || b[c].isNull())
                    return a[c].isNull() && !b[c].isNull();
                return a[c].toString().toUtf8() < b[c].toString().toUtf8();
            });
        return rows;
    }

    // The codes of the list read from the top down, or from the bottom up as a grid scrolled upwards reads them.
    static QList<int> listedCodes(const ListQuery &list, bool upwards = false)
    {
        QList<int> codes(list.recordCount());
        for (int i = 0; i < list.recordCount(); ++i) {
            const int row = upwards ? list.recordCount() - 1 - i : i;
            codes[row] = list.valueAt(row, QStringLiteral("Bls_Codigo")).toInt();
        }
        return codes;
    }

private Q_SLOTS:
    void init() { Store::open(QDir::currentPath()); }
    void cleanup()
    {
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void orderAndJump_data()
    {
        QTest::addColumn<QString>("order");
        QTest::newRow("by code only") << QString();
        for (const QString &column : Shown.mid(1))
            QTest::newRow(qPrintable(column)) << column;
    }

    void orderAndJump()
    {
        QFETCH(QString, order);
        storeMany();
        ListQuery list(QStringLiteral("qyMostra"), TableDef::bls(), Shown);
        list.setOrder(order);
        list.open();
        const QList<Row> expected = sortedBy(order);
        QList<int> codes;
        for (const Row &row : expected)
            codes << row[0].toInt();
        QCOMPARE(listedCodes(list), codes);
        list.open();
        QCOMPARE(listedCodes(list, true), codes);
        QCOMPARE(list.currentIndex(), 0);
        // Every cell as stored: an empty text stays apart from NULL, whichever cells stand next to it.
        for (int row = 0; row < expected.size(); ++row)
            for (int c = 0; c < Shown.size(); ++c) {
                const QVariant value = list.valueAt(row, Shown[c]);
                QVERIFY2(value.isValid() == expected[row][c].isValid() &&
                             list.displayTextAt(row, Shown[c]) == expected[row][c].toString(),
                         qPrintable(QStringLiteral("row %1, %2").arg(row).arg(Shown[c])));
            }

        // Matches common and rare, none, another case, a character beyond ASCII, GLOB's special characters.
        for (const QString prefix : {"B", "BK1", "BK10", "ZRARE", "ZZ", "b", "É", "A*", "A?", "[", "B?", "BK1000"}) {
            list.setCurrentIndex(5);
            int first = -1;
            for (int i = 0; i < expected.size() && first < 0; ++i)
                if (expected[i][1].toString().startsWith(prefix, Qt::CaseSensitive))
                    first = i;
            QCOMPARE(list.locate(QStringLiteral("Bls_ReservaNr"), prefix), first >= 0);
            QVERIFY2(list.currentIndex() == (first >= 0 ? first : 5), qPrintable(prefix));
        }
    }

    void emptyAndSingleRow()
    {
        ListQuery list(QStringLiteral("qyMostra"), TableDef::bls(), Shown);
        list.setOrder(QStringLiteral("Bls_Navio"));
        list.open();
        QCOMPARE(list.recordCount(), 0);
        QCOMPARE(list.currentIndex(), -1);
        QCOMPARE(list.integer(QStringLiteral("Bls_Codigo")), 0);
        QVERIFY(!list.locate(QStringLiteral("Bls_ReservaNr"), QStringLiteral("B")));

        exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr) VALUES (7, 'SSZ1')"));
        list.open();
        QCOMPARE(list.recordCount(), 1);
        QCOMPARE(list.currentIndex(), 0);
        QCOMPARE(list.integer(QStringLiteral("Bls_Codigo")), 7);
        QCOMPARE(list.text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("SSZ1"));
        QVERIFY(list.locate(QStringLiteral("Bls_ReservaNr"), QStringLiteral("SS")));
        list.close();
        QVERIFY(!list.isOpen());
        QCOMPARE(list.recordCount(), 0);
    }

    // Another clerk deletes and adds BLs while the list is open: rows already read stay whole, a row read after its
    // deletion is empty (no code, so nothing acts on it), an added row is neither shown nor jumped to until the next
    // open.
    void changesByAnotherConnection()
    {
        storeMany();
        ListQuery list(QStringLiteral("qyMostra"), TableDef::bls(), Shown);
        list.setOrder(QStringLiteral("Bls_ReservaNr"));
        list.open();
        const QList<Row> order = sortedBy(QStringLiteral("Bls_ReservaNr"));
        const int shownRow = 1;   // on the first page, read before the deletion
        const int laterRow = 200; // on a page not read yet
        const QString shownBooking = list.displayTextAt(shownRow, QStringLiteral("Bls_ReservaNr"));
        int rare = 0;
        while (order[rare][0].toInt() != 40)
            ++rare;
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(Store::filePath());
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("DELETE FROM Dal_Bls WHERE Bls_Codigo IN (%1, %2, 40, 120, 250)")
                               .arg(order[shownRow][0].toInt())
                               .arg(order[laterRow][0].toInt())));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr) VALUES (900, 'ZRAREST')")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));

        QCOMPARE(list.recordCount(), 300);
        QCOMPARE(list.displayTextAt(shownRow, QStringLiteral("Bls_ReservaNr")), shownBooking);
        for (const QString &column : Shown)
            QVERIFY(list.displayTextAt(laterRow, column).isEmpty());
        QVERIFY(!list.valueAt(laterRow, QStringLiteral("Bls_Codigo")).isValid());
        QVERIFY(list.displayTextAt(rare, QStringLiteral("Bls_ReservaNr")).isEmpty());
        QVERIFY(!list.locate(QStringLiteral("Bls_ReservaNr"), QStringLiteral("ZRARE")));

        list.open();
        QCOMPARE(list.recordCount(), 300 - 5 + 1);
        QVERIFY(list.locate(QStringLiteral("Bls_ReservaNr"), QStringLiteral("ZRARE")));
        QCOMPARE(list.integer(QStringLiteral("Bls_Codigo")), 900);
    }

    void unknownColumnsAreRefused()
    {
        QVERIFY_THROWS_EXCEPTION(StoreError, ListQuery(QStringLiteral("q"), TableDef::bls(), {"Bls_Navio"}));
        ListQuery list(QStringLiteral("q"), TableDef::bls(), Shown);
        QVERIFY_THROWS_EXCEPTION(StoreError, list.setOrder(QStringLiteral("Bls_Navio; DROP TABLE Dal_Bls")));
    }
};

DALVORA_TEST_MAIN(TestListQuery)
#include "tst_listquery.moc"
