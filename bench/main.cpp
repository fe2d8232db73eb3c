// The benchmark program: measures every speed target of the program against its floor, on data it makes itself in
// a scratch folder, and prints one table at the end.
#include "AppFonts.h"
#include "AttachLines.h"
#include "BenchTable.h"
#include "ContainerTotals.h"
#include "DalvoraApplication.h"
#include "DraftFilling.h"
#include "EdiBlComposer.h"
#include "EdiBlFile.h"
#include "EdiBlRowsReader.h"
#include "Store.h"
#include "TDM_BL.h"
#include "TF_BLAPDF.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_SD.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace {

QString scratch;

// How much data the run makes. The full sizes are those of the targets; the tiny ones only prove that every
// benchmark runs (the test suite runs the program that way).
struct DataSize
{
    int bls, containers, documents, ncms, descriptionLines;
};
const DataSize FullSize{100000, 1000, 500, 190, 2000};
const DataSize TinySize{50, 10, 5, 3, 20};
DataSize size = FullSize;

// Fills the store with one big BL (1,000 containers, 500 documents, 190 NCM codes, 2,000-line description) and
// 100,000 small ones, in one transaction.
void seedStore()
{
    QSqlDatabase db = Store::database();
    QSqlQuery q(db);
    q.exec(QStringLiteral("BEGIN"));
    QStringList description;
    for (int i = 0; i < size.descriptionLines; ++i)
        description << QStringLiteral("LINE %1 OF THE DESCRIPTION OF GOODS, SAID TO CONTAIN").arg(i);
    q.prepare(
        QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_RefShipper, Bls_Navio, Bls_Viagem, "
                       "Bls_PortLoading, Bls_PortDischarge, Bls_Shipper1, Bls_Cnee1, Bls_Notify1, Bls_Carga, "
                       "Bls_Cia_Nome, Bls_Cia_Usuario, Bls_Cia_Cidade, Bls_Cia_Arquivo, Bls_Descricao, Bls_Marks, "
                       "Bls_Imo, Bls_AsPerAgee, Bls_EmissaoBL, Bls_Payable) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'FCL', 'CIA', 'USER', 'SANTOS', 'CIA01', ?, ?, 0, 0, "
                       "'ORI', 'ORI')"));
    for (int code = 1; code <= size.bls; ++code) {
        const int n = (code * 7919) % 100000;
        q.addBindValue(code);
        q.addBindValue(QStringLiteral("BK%1").arg(n, 6, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("REF%1").arg(code));
        q.addBindValue(QStringLiteral("VESSEL %1").arg((code * 31) % 997));
        q.addBindValue(QStringLiteral("V%1").arg(code % 50));
        q.addBindValue(QStringLiteral("SANTOS"));
        q.addBindValue(QStringLiteral("ROTTERDAM"));
        q.addBindValue(QStringLiteral("SHIPPER %1 LTDA").arg(code));
        q.addBindValue(QStringLiteral("CONSIGNEE %1 BV").arg(code));
        q.addBindValue(QStringLiteral("NOTIFY %1").arg(code));
        q.addBindValue(code == 1 ? description.join(QStringLiteral("\r\n")) : QStringLiteral("GOODS"));
        q.addBindValue(QStringLiteral("MARKS"));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Tipo, Cnt_Peso, Cnt_Tara, "
                             "Cnt_Lacre_1, Cnt_Volume, Cnt_VolTipo) VALUES (?, 1, ?, ?, ?, 2200, ?, 10, 'BOXES')"));
    for (int i = 1; i <= size.containers; ++i) {
        q.addBindValue(i);
        q.addBindValue(QStringLiteral("ABCU%1").arg(i, 7, 10, QLatin1Char('0')));
        q.addBindValue(i % 2 ? QStringLiteral("Dry Box 20") : QStringLiteral("Dry Box 40"));
        q.addBindValue(10000.5 + i);
        q.addBindValue(QStringLiteral("SEAL%1").arg(i));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO Dal_SD (Sd_Codigo, Sd_Cod_BL, Sd_Tipo, Sd_Numero, Sd_Vencto, Sd_Peso, "
                             "Sd_Volume, Sd_ValorFOB) VALUES (?, 1, 'SD', ?, '2026-12-31', 1234.5, 10, 99999.99)"));
    for (int i = 1; i <= size.documents; ++i) {
        q.addBindValue(i);
        q.addBindValue(QStringLiteral("SD%1").arg(i, 8, 10, QLatin1Char('0')));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO Dal_NCM (Ncm_Codigo, Ncm_Cod_BL, Ncm_Numero) VALUES (?, 1, ?)"));
    for (int i = 1; i <= size.ncms; ++i) {
        q.addBindValue(i);
        q.addBindValue(QStringLiteral("%1").arg(84000000 + i));
        q.exec();
    }
    q.exec(QStringLiteral("COMMIT"));
}

void openBl(int code)
{
    EditBuffer *bls = DM_BL->qyBLS;
    bls->close();
    bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
    bls->setPp1(code);
    bls->open();
}

// Start-up: process start to main window shown, against a bare Qt window started the same way.
void runProbe(benchmark::State &state, const char *program)
{
    for (auto _ : state) {
        QProcess process;
        process.setWorkingDirectory(scratch + QStringLiteral("/startup"));
        QElapsedTimer timer;
        timer.start();
        process.start(QString::fromLocal8Bit(program), {});
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        process.waitForFinished(10000);
    }
}
void BM_StartupMainWindow(benchmark::State &state)
{
    runProbe(state, STARTUP_PROBE);
}
void BM_StartupBareWindow(benchmark::State &state)
{
    runProbe(state, BARE_PROBE);
}

// The search list's query stepped through by SQLite alone: the floor of the search list figure.
void BM_SearchListSqliteFloor(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(Store::filePath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const char *sql = "SELECT Bls_Codigo,\nBls_ReservaNr, Bls_RefShipper, Bls_Navio,\nBls_Viagem, Bls_PortLoading, "
                      "Bls_PortDischarge,\nBls_Shipper1, Bls_Cnee1, Bls_Notify1\nfrom Dal_Bls\nORDER BY Bls_ReservaNr";
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        qint64 sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int(stmt, 0);
            for (int c = 1; c < 10; ++c)
                sum += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) != nullptr);
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}

void BM_TotalizaContainers(benchmark::State &state)
{
    openBl(1);
    for (auto _ : state)
        ContainerTotals::TotalizaContainers(*DM_BL, QStringLiteral("Tipo Volume"), QStringLiteral("Cubagem"),
                                            [](const QString &) { return true; });
}

void BM_AttachContainerLines(benchmark::State &state)
{
    openBl(1);
    EditBuffer *cntr = DM_BL->qyCntr;
    ContainerLineParts parts;
    parts.number = parts.type = parts.seal = parts.gross = parts.tare = parts.packages = parts.packageKind = true;
    for (auto _ : state) {
        cntr->close();
        cntr->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1"),
                      QStringLiteral("ORDER BY Cnt_Numero")});
        cntr->setPp1(1);
        cntr->open();
        const QString marks = AttachLines::appendLines(DM_BL->qyBLS->text(QStringLiteral("Bls_Marks")),
                                                       AttachLines::containerLines(*cntr, parts));
        benchmark::DoNotOptimize(marks);
    }
    cntr->close();
}

// The draft of the BL with a 2,000-line description, against drawing the same lines of text alone.
void BM_DraftPrepare(benchmark::State &state)
{
    for (auto _ : state) {
        TF_BLAPDF form;
        DraftFilling::fill(form, DraftFilling::readPrintRow(1), DraftRemarks{});
        const PreparedReport report = form.prepare();
        benchmark::DoNotOptimize(report.pageCount());
    }
}
void BM_DraftTextFloor(benchmark::State &state)
{
    const QStringList lines =
        DraftFilling::memoLines(DraftFilling::readPrintRow(1).value(QStringLiteral("Bls_Descricao")).toString());
    const QFont font = TF_BLAPDF::arial(13);
    for (auto _ : state) {
        QPicture picture;
        QPainter painter(&picture);
        painter.setFont(font);
        int y = 0;
        for (const QString &line : lines)
            painter.drawText(QPointF(38, y += 15), line);
        painter.end();
        benchmark::DoNotOptimize(picture.size());
    }
}

// The search window with its list of 100,000 BLs shown; a re-sort by vessel; one jump while typing.
void openList()
{
    ListQuery *list = DM_BL->qyMostra;
    list->close();
    list->setOrder(TF_Procura::orderColumn(0));
    list->open();
}
void BM_SearchListShown(benchmark::State &state)
{
    for (auto _ : state) {
        openList();
        TF_Procura window;
        window.show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.hide();
        DM_BL->qyMostra->close();
        state.ResumeTiming();
    }
}
double residentMb = 0;
void BM_SearchResortByVessel(benchmark::State &state)
{
    openList();
    TF_Procura window;
    window.show();
    QCoreApplication::processEvents();
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                residentMb = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    int column = 2;
    for (auto _ : state) {
        window.DBGrid1TitleClick(column);
        QCoreApplication::processEvents();
        column = column == 2 ? 0 : 2; // vessel, then back to the booking number
    }
    DM_BL->qyMostra->close();
}
void BM_SearchJump(benchmark::State &state)
{
    openList();
    TF_Procura window;
    window.show();
    QCoreApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        window.Edit1->setText(QStringLiteral("BK%1").arg((n += 7919) % 100000, 6, 10, QLatin1Char('0')));
        QCoreApplication::processEvents();
    }
    DM_BL->qyMostra->close();
}

// A language switch with the main window and one modal window open.
void BM_LanguageSwitch(benchmark::State &state)
{
    openBl(1);
    TF_Principal mainWindow;
    mainWindow.show();
    TF_SD details(&mainWindow);
    details.show();
    QCoreApplication::processEvents();
    int language = 1;
    for (auto _ : state) {
        language = language == 1 ? 2 : 1;
        mainWindow.MudaIdioma(language);
    }
    mainWindow.MudaIdioma(1);
    details.hide();
    DM_BL->qyBLS->close();
}

// Composing and writing the EDI/BL file of the big BL, against writing the same bytes directly.
EdiBlRows bigRows()
{
    openBl(1);
    const auto open = [](EditBuffer *buffer, const char *table, const char *link) {
        buffer->close();
        buffer->setSql({QStringLiteral("SELECT * from %1").arg(QLatin1String(table)),
                        QStringLiteral("where %1 = :pp1").arg(QLatin1String(link))});
        buffer->setPp1(1);
        buffer->open();
    };
    open(DM_BL->qyCntr, "Dal_Cntr", "Cnt_Cod_BL");
    open(DM_BL->qySD, "Dal_SD", "Sd_Cod_BL");
    open(DM_BL->qyNCM, "Dal_NCM", "Ncm_Cod_BL");
    const EdiBlRows rows = EdiBlRowsReader::read(*DM_BL->qyBLS, *DM_BL->qyCntr, *DM_BL->qySD, *DM_BL->qyNCM);
    DM_BL->qyCntr->close();
    DM_BL->qySD->close();
    DM_BL->qyNCM->close();
    return rows;
}
void BM_EdiComposeAndWrite(benchmark::State &state)
{
    const EdiBlRows rows = bigRows();
    const QStringList marks{QStringLiteral("MARKS")};
    const QStringList description =
        DraftFilling::memoLines(rows.bl.value(QStringLiteral("Bls_Descricao")).toString()).mid(0, 40);
    const QString path = scratch + QStringLiteral("/DVBL_CIA01_BIG.TXT");
    for (auto _ : state) {
        QStringList lines;
        ComposeEdiBlLines(rows, marks, description, QStringLiteral("1.1.26"), QDate::currentDate(), lines);
        EdiBlFile::save(path, lines);
    }
}
// The floor writes the file's bytes straight to disk with the same durability as the program's save (the data is
// synced before the call returns), without composing the lines or going through a temporary file.
void BM_EdiWriteFloor(benchmark::State &state)
{
    const QString path = scratch + QStringLiteral("/DVBL_CIA01_BIG.TXT");
    QFile made(path);
    made.open(QIODevice::ReadOnly);
    const QByteArray bytes = made.readAll();
    made.close();
    const QString copy = scratch + QStringLiteral("/floor.TXT");
    for (auto _ : state) {
        QFile::remove(copy);
        QFile file(copy);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.flush();
        ::fdatasync(file.handle());
        file.close();
    }
}

// iterations 0: Google Benchmark picks the count. A tiny run measures each benchmark once.
void registerAll(bool tiny)
{
    struct Entry
    {
        const char *name;
        void (*function)(benchmark::State &);
        int iterations, repetitions;
        bool manualTime;
    };
    const Entry entries[] = {
        {"BM_StartupMainWindow", BM_StartupMainWindow, 1, 7, true},
        {"BM_StartupBareWindow", BM_StartupBareWindow, 1, 7, true},
        {"BM_SearchListShown", BM_SearchListShown, 3, 5, false},
        {"BM_SearchListSqliteFloor", BM_SearchListSqliteFloor, 0, 5, false},
        {"BM_SearchResortByVessel", BM_SearchResortByVessel, 4, 5, false},
        {"BM_SearchJump", BM_SearchJump, 50, 5, false},
        {"BM_LanguageSwitch", BM_LanguageSwitch, 20, 5, false},
        {"BM_EdiComposeAndWrite", BM_EdiComposeAndWrite, 0, 5, false},
        {"BM_EdiWriteFloor", BM_EdiWriteFloor, 0, 5, false},
        {"BM_TotalizaContainers", BM_TotalizaContainers, 0, 5, false},
        {"BM_AttachContainerLines", BM_AttachContainerLines, 0, 5, false},
        {"BM_DraftPrepare", BM_DraftPrepare, 0, 5, false},
        {"BM_DraftTextFloor", BM_DraftTextFloor, 0, 5, false},
    };
    for (const Entry &e : entries) {
        benchmark::internal::Benchmark *b = benchmark::RegisterBenchmark(e.name, e.function);
        b->Unit(benchmark::kMillisecond)->Repetitions(tiny ? 1 : e.repetitions);
        if (tiny || e.iterations > 0)
            b->Iterations(tiny ? 1 : e.iterations);
        if (e.manualTime)
            b->UseManualTime();
    }
}

const std::vector<Figure> figures{
    {"start-up to main window shown", "BM_StartupMainWindow", 300, "BM_StartupBareWindow", 1.5},
    {"search list of 100,000 BLs shown", "BM_SearchListShown", 200, "BM_SearchListSqliteFloor", 2},
    {"search list re-sorted by vessel", "BM_SearchResortByVessel", 300, "", 0},
    {"jump while typing a booking number", "BM_SearchJump", 10, "", 0},
    {"language switch, main window and a modal window", "BM_LanguageSwitch", 30, "", 0},
    {"TotalizaContainers, 1,000 containers", "BM_TotalizaContainers", 50, "", 0},
    {"ANEXAR of 1,000 container lines", "BM_AttachContainerLines", 50, "", 0},
    {"draft with a 2,000-line description", "BM_DraftPrepare", 500, "BM_DraftTextFloor", 0},
    {"EDI/BL of 1,000 containers, 500 SD, 190 NCM", "BM_EdiComposeAndWrite", 20, "BM_EdiWriteFloor", 3},
};

} // namespace

int main(int argc, char *argv[])
{
    // --tiny: small data, one run of each benchmark, and no verdict on the targets.
    const auto isTiny = [](const char *argument) { return std::strcmp(argument, "--tiny") == 0; };
    const bool tiny = std::any_of(argv + 1, argv + argc, isTiny);
    argc = int(std::remove_if(argv + 1, argv + argc, isTiny) - argv);
    size = tiny ? TinySize : FullSize;

    QTemporaryDir dir;
    scratch = dir.path();
    QDir(scratch).mkpath(QStringLiteral("startup"));
    QDir::setCurrent(scratch);
    qputenv("HOME", scratch.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    DalvoraApplication app(argc, argv);
    AppFonts::install();
    Store::open(scratch);
    TDM_BL dataModule;
    DM_BL = &dataModule;
    seedStore();

    benchmark::Initialize(&argc, argv);
    registerAll(tiny);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const TableResult result = printTable(reporter, figures, residentMb, 150);
    benchmark::Shutdown();
    if (tiny) {
        std::printf("tiny data: the figures only show that every benchmark ran\n");
        return result.unmeasured == 0 ? 0 : 1;
    }
    return result.misses + result.unmeasured == 0 ? 0 : 1;
}
