#include "EditBuffer.h"
#include "Store.h"
#include "StoreError.h"
#include "StoreMessage.h"
#include "TestEnv.h"
#include "UpdateSql.h"

#include <QDir>
#include <QSignalSpy>
#include <QSqlQuery>
#include <array>

class TestEditBuffer : public QObject
{
    Q_OBJECT

    UpdateSql m_update{TableDef::cntr()};

    void openCntr(EditBuffer &buffer, int blCode)
    {
        buffer.setUpdateObject(&m_update);
        buffer.setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1"),
                       QStringLiteral("ORDER BY Cnt_Numero")});
        buffer.setPp1(blCode);
        buffer.open();
    }

    static inline const QString Refusal =
        QStringLiteral("Update failed\nO registro foi alterado ou excluído por outro usuário. Abra-o novamente.");

    static int countRows(const QString &where)
    {
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT count(*) FROM Dal_Cntr WHERE ") + where);
        q.next();
        return q.value(0).toInt();
    }

private Q_SLOTS:
    void init() { Store::open(QDir::currentPath()); }
    void cleanup()
    {
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void statementsAreBuiltFromTheColumnList()
    {
        const UpdateSql bls(TableDef::bls());
        const QString modify = bls.modifySql().join(QLatin1Char(' '));
        QVERIFY(modify.startsWith(QStringLiteral("update Dal_Bls set ")));
        QVERIFY(modify.contains(QStringLiteral("Bls_Codigo = :Bls_Codigo,")));
        QVERIFY(modify.contains(QStringLiteral("Bls_Shipper1 = :Bls_Shipper1,")));
        // Written only while the row is as it was read, every column compared null-safe.
        const QString unchanged = QStringLiteral(" where   Bls_Codigo = :OLD_Bls_Codigo   and Bls_Shipper1 IS "
                                                 ":OLD_Bls_Shipper1 ");
        QVERIFY(modify.contains(QStringLiteral(":Bls_Payable") + unchanged));
        QVERIFY(modify.endsWith(QStringLiteral("and Bls_Payable IS :OLD_Bls_Payable")));
        const QString remove = bls.deleteSql().join(QLatin1Char(' '));
        QVERIFY(remove.startsWith(QStringLiteral("delete from Dal_Bls") + unchanged));
        QVERIFY(remove.endsWith(QStringLiteral("and Bls_Payable IS :OLD_Bls_Payable")));
        const QString insert = bls.insertSql().join(QLatin1Char(' '));
        QVERIFY(insert.startsWith(QStringLiteral("insert into Dal_Bls   (Bls_Codigo, Bls_Shipper1, ")));
        QVERIFY(insert.contains(QStringLiteral("values   (:Bls_Codigo, :Bls_Shipper1, ")));
        QVERIFY(insert.endsWith(QStringLiteral(":Bls_Payable)")));
        QCOMPARE(TableDef::bls().columns.size(), 43);
    }

    void statesAndPostWriteAtOnce()
    {
        EditBuffer buffer(QStringLiteral("qyCntr"));
        QCOMPARE(buffer.state(), EditBuffer::Closed);
        openCntr(buffer, 0);
        QCOMPARE(buffer.state(), EditBuffer::Browse);
        QCOMPARE(buffer.recordCount(), 0); // pp1 = 0 gives no row
        QVERIFY(buffer.eof());

        QSignalSpy states(&buffer, &EditBuffer::stateChanged);
        buffer.insert();
        QCOMPARE(buffer.state(), EditBuffer::Insert);
        buffer.setInteger(QStringLiteral("Cnt_Codigo"), 7);
        buffer.setInteger(QStringLiteral("Cnt_Cod_BL"), 3);
        buffer.setText(QStringLiteral("Cnt_Numero"), QStringLiteral("ABCU1234567"));
        buffer.setNumber(QStringLiteral("Cnt_Peso"), 1234.5);
        buffer.post();
        QCOMPARE(buffer.state(), EditBuffer::Browse);
        QCOMPARE(countRows(QStringLiteral("Cnt_Codigo = 7 AND Cnt_Peso = 1234.5")), 1); // in the table at once
        QCOMPARE(states.size(), 2);

        buffer.edit();
        buffer.setText(QStringLiteral("Cnt_Numero"), QStringLiteral("XYZU7654321"));
        buffer.cancel();
        QCOMPARE(buffer.text(QStringLiteral("Cnt_Numero")), QStringLiteral("ABCU1234567"));

        buffer.edit();
        buffer.setText(QStringLiteral("Cnt_Tipo"), QStringLiteral("Dry Box 20"));
        buffer.post();
        QCOMPARE(countRows(QStringLiteral("Cnt_Tipo = 'Dry Box 20'")), 1);

        buffer.insert();
        buffer.cancel(); // Insert cancelled: nothing written, back in Browse
        QCOMPARE(buffer.state(), EditBuffer::Browse);
        QCOMPARE(countRows(QStringLiteral("1")), 1);

        buffer.deleteCurrent();
        QCOMPARE(countRows(QStringLiteral("1")), 0);
        QCOMPARE(buffer.recordCount(), 0);
    }

    void typedReadsOfEmptyAndLogicalColumns()
    {
        UpdateSql bls(TableDef::bls());
        EditBuffer buffer(QStringLiteral("qyBLS"));
        buffer.setUpdateObject(&bls);
        buffer.setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        buffer.open();
        QCOMPARE(buffer.recordCount(), 0);
        buffer.insert();
        QCOMPARE(buffer.recordCount(), 1);
        QCOMPARE(buffer.integer(QStringLiteral("Bls_LCL_Volumes")), 0);
        QCOMPARE(buffer.number(QStringLiteral("Bls_LCL_PesoBruto")), 0.0);
        QCOMPARE(buffer.text(QStringLiteral("Bls_Navio")), QString());
        buffer.setInteger(QStringLiteral("Bls_Codigo"), 1);
        buffer.setLogical(QStringLiteral("Bls_Imo"), true);
        buffer.setValue(QStringLiteral("Bls_AsPerAgee"), QStringLiteral("False"));
        buffer.setText(QStringLiteral("Bls_Marks"), QStringLiteral("A\r\nB"));
        buffer.post();
        buffer.setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        buffer.setPp1(1);
        buffer.open();
        QCOMPARE(buffer.logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("True"));
        QCOMPARE(buffer.logicalText(QStringLiteral("bls_asperagee")), QStringLiteral("False"));
        QCOMPARE(buffer.text(QStringLiteral("Bls_Marks")), QStringLiteral("A\r\nB"));
        // A format set on an open buffer tells the bound controls to show the field again.
        QSignalSpy changed(&buffer, &EditBuffer::fieldChanged);
        buffer.setDisplayFormat(QStringLiteral("Bls_LCL_PesoBruto"), QStringLiteral("###,###,##0.000"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toString(), QStringLiteral("Bls_LCL_PesoBruto"));
        buffer.edit();
        buffer.setNumber(QStringLiteral("Bls_LCL_PesoBruto"), 0);
        QCOMPARE(buffer.displayText(QStringLiteral("Bls_LCL_PesoBruto")), QStringLiteral("0,000"));
        buffer.setNumber(QStringLiteral("Bls_LCL_PesoBruto"), 1234.5);
        QCOMPARE(buffer.displayText(QStringLiteral("Bls_LCL_PesoBruto")), QStringLiteral("1.234,500"));
        QCOMPARE(buffer.number(QStringLiteral("Bls_LCL_PesoBruto")), 1234.5);
        // A number column without a format shows the general form, in the separators in force too.
        const QList<std::pair<double, QString>> general{
            {2.5, QStringLiteral("2,5")}, {1234.5, QStringLiteral("1234,5")}, {0.00001, QStringLiteral("0,00001")}};
        for (const auto &[value, shown] : general) {
            buffer.setNumber(QStringLiteral("Bls_LCL_Cubagem"), value);
            QCOMPARE(buffer.displayText(QStringLiteral("Bls_LCL_Cubagem")), shown);
        }
    }

    void writingOutsideInsertOrEditIsRefused()
    {
        EditBuffer buffer(QStringLiteral("qyCntr"));
        openCntr(buffer, 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, buffer.setText(QStringLiteral("Cnt_Numero"), QStringLiteral("X")));
    }

    // A row deleted by someone else: the modify and the delete affect no row and fail with "Update failed";
    // the buffer goes back to Edit with the typed values, nothing written.
    void updateFailedKeepsTheTypedValues()
    {
        EditBuffer buffer(QStringLiteral("qyCntr"));
        openCntr(buffer, 0);
        buffer.insert();
        buffer.setInteger(QStringLiteral("Cnt_Codigo"), 1);
        buffer.post();
        QSqlQuery(Store::database()).exec(QStringLiteral("DELETE FROM Dal_Cntr"));

        buffer.edit();
        buffer.setText(QStringLiteral("Cnt_Numero"), QStringLiteral("TYPED"));
        QCOMPARE(storeMessage([&] { buffer.post(); }), Refusal);
        QCOMPARE(buffer.state(), EditBuffer::Edit);
        QCOMPARE(buffer.text(QStringLiteral("Cnt_Numero")), QStringLiteral("TYPED"));
        buffer.cancel();
        QVERIFY_THROWS_EXCEPTION(StoreError, buffer.deleteCurrent());
        QCOMPARE(buffer.recordCount(), 1);
    }

    // What another tool wrote, of a type the column does not declare, survives the clerk's edit of another field:
    // the row is rewritten with the value as read, not with its conversion.
    void unchangedColumnsKeepTheStoredValue_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored"); // an SQL literal
        const QList<std::array<const char *, 4>> cases{
            {"text in a number", "Dal_SD", "Sd_Peso", "'12 CX'"},
            {"double to the last bit", "Dal_SD", "Sd_Peso", "0.1"},
            {"fraction in an integer", "Dal_SD", "Sd_Cod_BL", "1.5"},
            {"date of another form", "Dal_SD", "Sd_Vencto", "'10/12/2026'"},
            {"date with a time", "Dal_SD", "Sd_Vencto", "'2026-12-10T08:00:00'"},
            {"bytes in a text", "Dal_SD", "Sd_Numero", "X'00FF41'"},
            {"text that is not UTF-8", "Dal_SD", "Sd_Numero", "CAST(X'434146C9' AS TEXT)"},
            {"empty text, not null", "Dal_SD", "Sd_Numero", "''"},
            {"logical 7", "Dal_Bls", "Bls_Imo", "7"},
            {"logical as a word", "Dal_Bls", "Bls_AsPerAgee", "'yes'"},
            {"memo with a lone LF", "Dal_Bls", "Bls_Marks", "'A' || char(10) || 'B'"},
        };
        for (const auto &[tag, table, column, stored] : cases)
            QTest::newRow(tag) << QString::fromLatin1(table) << QString::fromLatin1(column)
                               << QString::fromLatin1(stored);
    }

    void unchangedColumnsKeepTheStoredValue()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        const TableDef &def = table == u"Dal_Bls" ? TableDef::bls() : TableDef::sd();
        const QString edited = table == u"Dal_Bls" ? QStringLiteral("Bls_Navio") : QStringLiteral("Sd_Tipo");
        QSqlQuery q(Store::database());
        QVERIFY(q.exec(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (1, %4)").arg(table, def.key, column, stored)));
        const auto storedNow = [&] {
            QSqlQuery read(Store::database());
            read.exec(QStringLiteral("SELECT typeof(%1), quote(%1), hex(%1) FROM %2").arg(column, table));
            read.next();
            return read.value(0).toString() + u' ' + read.value(1).toString() + u' ' + read.value(2).toString();
        };
        const QString before = storedNow();

        const UpdateSql update(def);
        EditBuffer buffer(QStringLiteral("qy"));
        buffer.setUpdateObject(&update);
        buffer.setSql({QStringLiteral("SELECT * from ") + table});
        buffer.open();
        buffer.edit();
        buffer.setText(edited, QStringLiteral("X"));
        buffer.post(); // the row is found as read: no "Update failed"
        QCOMPARE(storedNow(), before);
        QVERIFY(q.exec(QStringLiteral("SELECT %1 FROM %2").arg(edited, table)) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("X"));

        // Deleting it finds it as read too.
        buffer.deleteCurrent();
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM ") + table) && q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }

    // Another program changed or deleted the row after it was read: Confirmar and Excluir write nothing and say so,
    // whichever column the other changed, and the other's change stays.
    void noLostUpdates_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("deleting");
        QTest::newRow("text changed, then confirm") << "UPDATE Dal_Cntr SET Cnt_Lacre_1 = 'THEIRS'" << false;
        QTest::newRow("number changed, then confirm") << "UPDATE Dal_Cntr SET Cnt_Peso = 2" << false;
        QTest::newRow("emptied, then confirm") << "UPDATE Dal_Cntr SET Cnt_Lacre_1 = NULL" << false;
        QTest::newRow("deleted, then confirm") << "DELETE FROM Dal_Cntr" << false;
        QTest::newRow("text changed, then delete") << "UPDATE Dal_Cntr SET Cnt_Lacre_1 = 'THEIRS'" << true;
        QTest::newRow("set from null, then delete") << "UPDATE Dal_Cntr SET Cnt_Tipo = '20'" << true;
    }

    void noLostUpdates()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, deleting);
        QSqlQuery q(Store::database());
        QVERIFY(
            q.exec(QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Lacre_1, Cnt_Peso) "
                                  "VALUES (1, 0, 'MSKU1234565', 'MINE', 1.5)")));
        EditBuffer buffer(QStringLiteral("qyCntr"));
        openCntr(buffer, 0);
        QVERIFY(q.exec(meanwhile));
        QVERIFY(q.exec(QStringLiteral("SELECT group_concat(quote(Cnt_Lacre_1) || quote(Cnt_Peso) || quote(Cnt_Tipo)) "
                                      "FROM Dal_Cntr")) &&
                q.next());
        const QString theirs = q.value(0).toString();
        if (deleting) {
            QCOMPARE(storeMessage([&] { buffer.deleteCurrent(); }), Refusal);
        } else {
            buffer.edit();
            buffer.setText(QStringLiteral("Cnt_Numero"), QStringLiteral("TCLU1234567"));
            QCOMPARE(storeMessage([&] { buffer.post(); }), Refusal);
            QCOMPARE(buffer.state(), EditBuffer::Edit);
        }
        QVERIFY(q.exec(QStringLiteral("SELECT group_concat(quote(Cnt_Lacre_1) || quote(Cnt_Peso) || quote(Cnt_Tipo)) "
                                      "FROM Dal_Cntr")) &&
                q.next());
        QCOMPARE(q.value(0).toString(), theirs);
        QCOMPARE(countRows(QStringLiteral("Cnt_Numero = 'TCLU1234567'")), 0);
    }

    void duplicateKeyLeavesTheInsertPending()
    {
        EditBuffer buffer(QStringLiteral("qyCntr"));
        openCntr(buffer, 0);
        for (const QString &number : {QStringLiteral("FIRST"), QStringLiteral("SECOND")}) {
            buffer.insert();
            buffer.setInteger(QStringLiteral("Cnt_Codigo"), 5);
            buffer.setText(QStringLiteral("Cnt_Numero"), number);
            if (number == QLatin1String("FIRST"))
                buffer.post();
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, buffer.post());
        QCOMPARE(buffer.state(), EditBuffer::Insert);
        QCOMPARE(buffer.text(QStringLiteral("Cnt_Numero")), QStringLiteral("SECOND"));
        QCOMPARE(countRows(QStringLiteral("1")), 1);
    }

    void rowsInQueryOrder()
    {
        EditBuffer buffer(QStringLiteral("qyCntr"));
        openCntr(buffer, 9);
        const QStringList numbers{QStringLiteral("bb"), QStringLiteral("Ab"), QStringLiteral("Ac")};
        for (int i = 0; i < numbers.size(); ++i) {
            buffer.insert();
            buffer.setInteger(QStringLiteral("Cnt_Codigo"), i + 1);
            buffer.setInteger(QStringLiteral("Cnt_Cod_BL"), 9);
            buffer.setText(QStringLiteral("Cnt_Numero"), numbers[i]);
            buffer.setNumber(QStringLiteral("Cnt_Peso"), 10 - i);
            buffer.post();
        }
        openCntr(buffer, 9);
        QCOMPARE(buffer.recordCount(), 3);
        QStringList visited; // ORDER BY Cnt_Numero: upper case before lower case
        for (buffer.first(); !buffer.eof(); buffer.next())
            visited << buffer.text(QStringLiteral("Cnt_Numero"));
        QCOMPARE(visited, QStringList({"Ab", "Ac", "bb"}));
    }
};

DALVORA_TEST_MAIN(TestEditBuffer)
#include "tst_editbuffer.moc"
