#include "EditBuffer.h"
#include "Store.h"
#include "StoreError.h"
#include "TestEnv.h"
#include "UpdateSql.h"

#include <QDir>
#include <QSignalSpy>
#include <QSqlQuery>

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
        QVERIFY(modify.endsWith(QStringLiteral("where   Bls_Codigo = :OLD_Bls_Codigo")));
        QCOMPARE(bls.deleteSql().join(QLatin1Char(' ')),
                 QStringLiteral("delete from Dal_Bls where   Bls_Codigo = :OLD_Bls_Codigo"));
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
        try {
            buffer.post();
            QFAIL("post must fail");
        } catch (const StoreError &e) {
            QCOMPARE(e.message(), QStringLiteral("Update failed"));
        }
        QCOMPARE(buffer.state(), EditBuffer::Edit);
        QCOMPARE(buffer.text(QStringLiteral("Cnt_Numero")), QStringLiteral("TYPED"));
        buffer.cancel();
        QVERIFY_THROWS_EXCEPTION(StoreError, buffer.deleteCurrent());
        QCOMPARE(buffer.recordCount(), 1);
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
