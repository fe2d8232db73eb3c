#include "Store.h"
#include "StoreError.h"
#include "StoreMessage.h"
#include "TDM_BL.h"
#include "TestEnv.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <limits>

class TestDataModule : public QObject
{
    Q_OBJECT

    TDM_BL *dm = nullptr;

    qint64 newBl(const QString &booking)
    {
        dm->qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        dm->qyBLS->open();
        dm->qyBLS->insert();
        dm->qyBLS->setText(QStringLiteral("Bls_ReservaNr"), booking);
        return dm->postWithNewCode(dm->qyBLS);
    }

    int newDetail(EditBuffer *buffer, const TableDef &table, int blCode, const QString &numberColumn)
    {
        buffer->setSql(
            {QStringLiteral("SELECT * from %1").arg(table.name), QStringLiteral("where %1 = :pp1").arg(table.link)});
        buffer->setPp1(blCode);
        buffer->open();
        buffer->insert();
        buffer->setInteger(table.link, blCode);
        buffer->setText(numberColumn, QStringLiteral("N"));
        return dm->postWithNewCode(buffer);
    }

    static int count(const QString &table)
    {
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT count(*) FROM ") + table);
        q.next();
        return q.value(0).toInt();
    }

private Q_SLOTS:
    void init()
    {
        Store::open(QDir::currentPath());
        dm = new TDM_BL;
    }
    void cleanup()
    {
        delete dm;
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void codesAreMaximumPlusOne()
    {
        QCOMPARE(dm->maxCode(TableDef::bls()), 0);
        QCOMPARE(newBl(QStringLiteral("A")), 1);
        QCOMPARE(newBl(QStringLiteral("B")), 2);
        // Detail codes run over the whole table, whichever BL the row belongs to.
        QCOMPARE(newDetail(dm->qyCntr, TableDef::cntr(), 1, QStringLiteral("Cnt_Numero")), 1);
        QCOMPARE(newDetail(dm->qyCntr, TableDef::cntr(), 2, QStringLiteral("Cnt_Numero")), 2);
        QCOMPARE(newDetail(dm->qyCntr, TableDef::cntr(), 1, QStringLiteral("Cnt_Numero")), 3);
        QCOMPARE(newDetail(dm->qySD, TableDef::sd(), 2, QStringLiteral("Sd_Numero")), 1);
        QCOMPARE(newDetail(dm->qyNCM, TableDef::ncm(), 2, QStringLiteral("Ncm_Numero")), 1);
    }

    // Keys are SQLite's 64-bit integers: a code past 32 bits is handed out, the largest key has no next one.
    void codesPast32Bits_data()
    {
        QTest::addColumn<qint64>("highest");
        QTest::newRow("32-bit limit") << qint64(2147483647);
        QTest::newRow("past 32 bits") << qint64(4294967297);
        QTest::newRow("largest key") << std::numeric_limits<qint64>::max();
    }

    void codesPast32Bits()
    {
        QFETCH(qint64, highest);
        QSqlQuery insert(Store::database());
        insert.prepare(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr) VALUES (?, 'HIGH')"));
        insert.addBindValue(highest);
        QVERIFY(insert.exec());
        if (highest == std::numeric_limits<qint64>::max()) {
            QCOMPARE(storeMessage([this] { newBl(QStringLiteral("NEXT")); }),
                     QStringLiteral("Não há mais códigos livres na tabela Dal_Bls"));
            QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert); // what was typed is kept for the clerk
            QCOMPARE(count(QStringLiteral("Dal_Bls")), 1);
            return;
        }
        const qint64 bl = newBl(QStringLiteral("NEXT"));
        QCOMPARE(bl, highest + 1);
        dm->qyBLS->close();
        dm->qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        dm->qyBLS->setPp1(bl);
        dm->qyBLS->open();
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("NEXT"));
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), bl);
    }

    void deletingTheHighestBlFreesItsCodeAndDetails()
    {
        newBl(QStringLiteral("A"));
        newBl(QStringLiteral("B"));
        newDetail(dm->qyCntr, TableDef::cntr(), 2, QStringLiteral("Cnt_Numero"));
        newDetail(dm->qySD, TableDef::sd(), 2, QStringLiteral("Sd_Numero"));
        newDetail(dm->qyNCM, TableDef::ncm(), 2, QStringLiteral("Ncm_Numero"));
        newDetail(dm->qyCntr, TableDef::cntr(), 1, QStringLiteral("Cnt_Numero"));
        dm->deleteBlWithDetails(2);
        QCOMPARE(count(QStringLiteral("Dal_Bls")), 1);
        QCOMPARE(count(QStringLiteral("Dal_Cntr")), 1); // the other BL's container stays
        QCOMPARE(count(QStringLiteral("Dal_SD")), 0);
        QCOMPARE(count(QStringLiteral("Dal_NCM")), 0);
        QCOMPARE(newBl(QStringLiteral("C")), 2);
        dm->qyCntr->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1")});
        dm->qyCntr->setPp1(2);
        dm->qyCntr->open();
        QCOMPARE(dm->qyCntr->recordCount(), 0);
    }

    void cascadeDeleteIsAllOrNothing()
    {
        newBl(QStringLiteral("A"));
        newDetail(dm->qyCntr, TableDef::cntr(), 1, QStringLiteral("Cnt_Numero"));
        QSqlQuery(Store::database())
            .exec(
                QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON Dal_Bls BEGIN SELECT RAISE(ABORT, 'no'); END"));
        QVERIFY_THROWS_EXCEPTION(StoreError, dm->deleteBlWithDetails(1));
        QCOMPARE(count(QStringLiteral("Dal_Cntr")), 1);
        QCOMPARE(count(QStringLiteral("Dal_Bls")), 1);
    }

    // Another writer holds the store: the allocation waits, then fails without a code and without writing;
    // once the other writer is done, the code after its row is handed out.
    void twoWritersNeverGetTheSameCode()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(Store::filePath());
        QVERIFY(other.open());
        {
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo) VALUES (1)")));
            dm->qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
            dm->qyBLS->open();
            dm->qyBLS->insert();
            dm->qyBLS->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("MINE"));
            QVERIFY_THROWS_EXCEPTION(StoreError, dm->postWithNewCode(dm->qyBLS));
            QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert);
            QVERIFY(dm->qyBLS->isNull(QStringLiteral("Bls_Codigo")));
            QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("MINE"));
            QVERIFY(q.exec(QStringLiteral("COMMIT")));
        }
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QCOMPARE(dm->postWithNewCode(dm->qyBLS), 2);
    }

    void limpaTexto_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("only removed") << QStringLiteral(" *,-./") << QString();
        QTest::newRow("booking") << QStringLiteral("AB-12.3/4 *5,6")
                                 << QStringLiteral("AB12345 6").remove(QLatin1Char(' '));
        QTest::newRow("others stay") << QStringLiteral("a_b#Ç") << QStringLiteral("a_b#Ç");
    }
    void limpaTexto()
    {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QCOMPARE(TDM_BL::LimpaTexto(text), clean);
    }

    void modeTexts()
    {
        QCOMPARE(dm->ModoBLS, QString());
        QCOMPARE(dm->IdiomaAtual(), 1);
        dm->qyBLS->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        dm->qyBLS->open();
        QCOMPARE(dm->ModoBLS, QStringLiteral("Visualizar"));
        dm->qyBLS->insert();
        QCOMPARE(dm->ModoBLS, QStringLiteral("Incluir"));
        dm->qyBLS->setText(QStringLiteral("Bls_ReservaNr"), QStringLiteral("A"));
        dm->postWithNewCode(dm->qyBLS);
        QCOMPARE(dm->ModoBLS, QStringLiteral("Visualizar"));
        dm->qyBLS->edit();
        QCOMPARE(dm->ModoBLS, QStringLiteral("Editar"));
        dm->qyBLS->cancel();
        dm->qyBLS->close();
        QCOMPARE(dm->ModoBLS, QStringLiteral("Visualizar")); // closing keeps the last text
        QCOMPARE(dm->ModoCntr, QString());
    }
};

DALVORA_TEST_MAIN(TestDataModule)
#include "tst_tdm_bl.moc"
