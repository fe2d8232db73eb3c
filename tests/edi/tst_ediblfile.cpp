#include "EdiBlFile.h"
#include "FileSizeLimit.h"
#include "TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

QString manyLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("[CNN]CONTAINER%1").arg(i);
    return lines.join(u'\n');
}
} // namespace

class TestEdiBlFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("every line ends in CR LF, the last too")
            << "[Dalvora-BL]\n[EP2]\n[Dalvora-BL]" << QByteArray("[Dalvora-BL]\r\n[EP2]\r\n[Dalvora-BL]\r\n");
        QTest::newRow("empty lines, the last too") << "\n[MAR]\n\n" << QByteArray("\r\n[MAR]\r\n\r\n\r\n");
        QTest::newRow("accented letters as single bytes")
            << QStringLiteral("[SH3]SÃO PAULO ção") << QByteArray("[SH3]S\xC3O PAULO \xE7\xE3o\r\n");
        QTest::newRow("Windows-1252 beyond Latin-1") << QStringLiteral("[CE1]€ “A” – …")
                                                     << QByteArray("[CE1]\x80 \x93"
                                                                   "A\x94 \x96 \x85\r\n");
        QTest::newRow("nothing") << QString() << QByteArray();
    }

    void bytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EdiBlFile::bytes(text).value_or("<not encodable>"), bytes);
    }

    void noSubstituteForMissingCharacters()
    {
        QVERIFY(!EdiBlFile::bytes(QStringLiteral("[EP1]1\n[SH1]Łódź")).has_value());
        QVERIFY(!EdiBlFile::bytes(QStringLiteral("[SH1]Łódź\n[EP1]1")).has_value());
        QVERIFY(!EdiBlFile::bytes(QStringLiteral("[SH1]x\U0001F600")).has_value());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(!EdiBlFile::write(buffer, QStringLiteral("[SH1]日本")));
        QVERIFY(buffer.data().isEmpty());
        QVERIFY(!EdiBlFile::save(QDir::current().filePath("X.TXT"), QStringLiteral("[SH1]日本")));
        QVERIFY(!QFile::exists("X.TXT"));
    }

    void createsAndReplaces()
    {
        const QString path = QDir::current().filePath("DVBL_ABC_1.TXT");
        QVERIFY(EdiBlFile::save(path, manyLines(100)));
        QCOMPARE(readAll(path), EdiBlFile::bytes(manyLines(100)).value());
        // A shorter file replaces a longer one whole: nothing of the old one is left after its end.
        QVERIFY(EdiBlFile::save(path, u"[Dalvora-BL]"));
        QCOMPARE(readAll(path), QByteArray("[Dalvora-BL]\r\n"));
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"DVBL_ABC_1.TXT"});
    }

    // Failures that also stop root: each leaves what stood at the path as it was.
    void failureLeavesPathAlone()
    {
        // The chosen name is a folder.
        QVERIFY(QDir::current().mkdir("FOLDER.TXT"));
        QVERIFY(!EdiBlFile::save(QDir::current().filePath("FOLDER.TXT"), u"[Dalvora-BL]"));
        QVERIFY(QFileInfo(QDir::current().filePath("FOLDER.TXT")).isDir());
        // The folder of the name is a file.
        writeFile("NOTAFOLDER", "keep");
        QVERIFY(!EdiBlFile::save(QDir::current().filePath("NOTAFOLDER/A.TXT"), u"[Dalvora-BL]"));
        QCOMPARE(readAll("NOTAFOLDER"), QByteArray("keep"));
    }

    // Over the limit while writing, or only when the buffered bytes are flushed at the end.
    void failedWriteKeepsPreviousFile_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("large file") << 1000;
        QTest::newRow("small file") << 20;
    }

    void failedWriteKeepsPreviousFile()
    {
        QFETCH(int, lineCount);
        const QDir folder(QDir::current().filePath(QTest::currentDataTag()));
        QVERIFY(QDir::current().mkpath(folder.path()));
        const QString path = folder.filePath("DVBL_OLD.TXT");
        writeFile(path, "[Dalvora-BL]\r\nprevious\r\n");
        bool saved = true;
        {
            FileSizeLimit limit(64);
            saved = EdiBlFile::save(path, manyLines(lineCount));
        }
        QVERIFY(!saved);
        QCOMPARE(readAll(path), QByteArray("[Dalvora-BL]\r\nprevious\r\n"));
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList{"DVBL_OLD.TXT"});
    }
};

DALVORA_TEST_MAIN(TestEdiBlFile)
#include "tst_ediblfile.moc"
