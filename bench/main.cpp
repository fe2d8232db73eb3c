// The benchmark program: measures every speed target of the program against its floor, on data it makes itself in
// a scratch folder, and prints one table at the end.
#include "AppFonts.h"
#include "AttachLines.h"
#include "BareGrid.h"
#include "BenchTable.h"
#include "ContainerTotals.h"
#include "DalvoraApplication.h"
#include "DraftFilling.h"
#include "EdiBlComposer.h"
#include "EdiBlFile.h"
#include "EdiBlRowsReader.h"
#include "FloorReads.h"
#include "PgCluster.h"
#include "Store.h"
#include "TDM_BL.h"
#include "TF_BLAPDF.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_SD.h"
#include "TableDef.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

QString scratch;

// How much data the run makes besides the BLs of the search list. The full sizes are those of the targets; the tiny
// ones only prove that every benchmark runs (the test suite runs the program that way).
struct DataSize
{
    int containers, documents, ncms, descriptionLines;
};
const DataSize FullSize{1000, 500, 190, 2000};
const DataSize TinySize{10, 5, 3, 20};
DataSize size = FullSize;

// One prepared INSERT of the seeding, its values bound by position.
struct Insert
{
    sqlite3_stmt *statement = nullptr;
    Insert(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    ~Insert() { sqlite3_finalize(statement); }
    void run(std::initializer_list<std::string> values)
    {
        int position = 0;
        for (const std::string &value : values)
            sqlite3_bind_text(statement, ++position, value.data(), int(value.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(statement) != SQLITE_DONE)
            qFatal("seeding the store: %s", sqlite3_errmsg(sqlite3_db_handle(statement)));
        sqlite3_reset(statement);
    }
};

std::string number(const char *format, long long value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Writes a new store into the folder: the tables as the program creates them, one big BL (code 1: 1,000 containers,
// 500 documents, 190 NCM codes, a 2,000-line description) and small ones up to the number of BLs, in one transaction.
// It is written through SQLite alone, so that a million BLs take seconds; the program's own open then adds the
// indexes, as it does to a store made by an earlier version.
void seedStore(const QString &folder, int bls)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(folder + QStringLiteral("/dalvora.db")).constData(), &db);
    for (const TableDef *table : TableDef::all())
        sqlite3_exec(db, table->createSql().toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QStringList description;
    for (int i = 0; i < size.descriptionLines; ++i)
        description << QStringLiteral("LINE %1 OF THE DESCRIPTION OF GOODS, SAID TO CONTAIN").arg(i);
    {
        Insert bl(db, "INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_RefShipper, Bls_Navio, Bls_Viagem, "
                      "Bls_PortLoading, Bls_PortDischarge, Bls_Shipper1, Bls_Cnee1, Bls_Notify1, Bls_Descricao, "
                      "Bls_Carga, Bls_Cia_Nome, Bls_Cia_Usuario, Bls_Cia_Cidade, Bls_Cia_Arquivo, Bls_Marks, Bls_Imo, "
                      "Bls_AsPerAgee, Bls_EmissaoBL, Bls_Payable) VALUES (?, ?, ?, ?, ?, 'SANTOS', 'ROTTERDAM', ?, ?, "
                      "?, ?, 'FCL', 'CIA', 'USER', 'SANTOS', 'CIA01', 'MARKS', 0, 0, 'ORI', 'ORI')");
        const std::string bigDescription = description.join(QStringLiteral("\r\n")).toStdString();
        for (long long code = 1; code <= bls; ++code)
            bl.run({std::to_string(code), number("BK%06lld", (code * 7919) % 100000), number("REF%lld", code),
                    number("VESSEL %lld", (code * 31) % 997), number("V%lld", code % 50),
                    number("SHIPPER %lld LTDA", code), number("CONSIGNEE %lld BV", code), number("NOTIFY %lld", code),
                    code == 1 ? bigDescription : std::string("GOODS")});
    }
    {
        Insert container(db, "INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Tipo, Cnt_Peso, Cnt_Tara, "
                             "Cnt_Lacre_1, Cnt_Volume, Cnt_VolTipo) VALUES (?, 1, ?, ?, ?, 2200, ?, 10, 'BOXES')");
        for (long long i = 1; i <= size.containers; ++i)
            container.run({std::to_string(i), number("ABCU%07lld", i), i % 2 ? "Dry Box 20" : "Dry Box 40",
                           std::to_string(10000.5 + double(i)), number("SEAL%lld", i)});
        Insert document(db, "INSERT INTO Dal_SD (Sd_Codigo, Sd_Cod_BL, Sd_Tipo, Sd_Numero, Sd_Vencto, Sd_Peso, "
                            "Sd_Volume, Sd_ValorFOB) VALUES (?, 1, 'SD', ?, '2026-12-31', 1234.5, 10, 99999.99)");
        for (long long i = 1; i <= size.documents; ++i)
            document.run({std::to_string(i), number("SD%08lld", i)});
        Insert ncm(db, "INSERT INTO Dal_NCM (Ncm_Codigo, Ncm_Cod_BL, Ncm_Numero) VALUES (?, 1, ?)");
        for (long long i = 1; i <= size.ncms; ++i)
            ncm.run({std::to_string(i), std::to_string(84000000 + i)});
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void openBl(qint64 code)
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

// The search window over the store's BLs: shown, re-sorted by vessel, a jump while typing, a scroll to the end or the
// middle. Each against its floor: SQLite alone, on a connection of its own, doing the reads the list does for it (the
// codes in the list's order, the page of rows shown, the seek of a booking number).
void openList()
{
    ListQuery *list = DM_BL->qyMostra;
    list->close();
    list->setOrder(TF_Procura::orderColumn(0));
    list->open();
}

// The booking number of the i-th jump: always one that is stored, spread over the whole list.
QString bookingToJumpTo(int i, int bls)
{
    const long long code = (i * 7919LL) % bls + 1;
    return QStringLiteral("BK%1").arg((code * 7919) % 100000, 6, 10, QLatin1Char('0'));
}

// The row the i-th scroll goes to: the end region and the middle region in turn, never twice the same page.
int rowToScrollTo(int i, int bls)
{
    const int spread = std::max(1, bls / 4);
    const int offset = int((i * 4099LL) % spread);
    return i % 2 ? bls / 2 + offset / 2 : bls - 1 - offset;
}

sqlite3 *openFloor()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(Store::filePath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    return db;
}

// The list's open runs on the store's connection, open since the program started, into memory it has had before. A
// floor that opens the list runs one read first, so that its first timed read is neither the connection's first nor
// the list's first taking of its memory.
void warmUp(sqlite3 *db, FloorList &list)
{
    floorCodes(db, "Bls_ReservaNr", list);
}

void BM_SearchListShown(benchmark::State &state, int)
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
void BM_SearchListFloor(benchmark::State &state, int)
{
    sqlite3 *db = openFloor();
    FloorList list;
    warmUp(db, list);
    for (auto _ : state) {
        floorCodes(db, "Bls_ReservaNr", list);
        benchmark::DoNotOptimize(floorPage(db, list.codes, 0));
    }
    sqlite3_close(db);
}

std::map<int, double> residentMb; // by number of BLs, the most seen with the list open

// Shows the window, then times one step per iteration with the repaint it causes.
template <typename Window>
void timeSteps(benchmark::State &state, Window &window, const std::function<void(Window &, int)> &step)
{
    window.show();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        step(window, ++i);
        QCoreApplication::processEvents();
    }
}

// Opens the list sorted by booking number in the search window and times the steps. Notes the resident memory at
// the end, with the list still open.
void timeInSearchWindow(benchmark::State &state, int bls, const std::function<void(TF_Procura &, int)> &step)
{
    openList();
    TF_Procura window;
    timeSteps(state, window, step);
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                residentMb[bls] = std::max(residentMb[bls], line.mid(6).trimmed().split(' ').first().toDouble() / 1024);
    DM_BL->qyMostra->close();
}

void BM_SearchResortByVessel(benchmark::State &state, int bls)
{
    timeInSearchWindow(state, bls, [](TF_Procura &window, int) { window.DBGrid1TitleClick(2); });
}
void BM_SearchResortFloor(benchmark::State &state, int)
{
    sqlite3 *db = openFloor();
    FloorList list;
    warmUp(db, list);
    for (auto _ : state) {
        floorCodes(db, "Bls_Navio", list);
        benchmark::DoNotOptimize(floorPage(db, list.codes, 0));
    }
    sqlite3_close(db);
}

void BM_SearchJump(benchmark::State &state, int bls)
{
    timeInSearchWindow(state, bls,
                       [bls](TF_Procura &window, int i) { window.Edit1->setText(bookingToJumpTo(i, bls)); });
}
// SQLite's seek of a booking number typed, and the row's place in the list found in memory: the row the jump lands
// on, whose page the list reads.
class FloorSeek
{
public:
    FloorSeek(sqlite3 *db, const std::vector<qint64> &codes) : m_places(codes.size())
    {
        sqlite3_prepare_v2(
            db, "SELECT Bls_Codigo FROM Dal_Bls WHERE Bls_ReservaNr GLOB ? ORDER BY Bls_ReservaNr, Bls_Codigo", -1,
            &m_seek, nullptr);
        // Where each code stands in the list, sorted by code. (One block, given back when freed, so the window
        // figures after this one see no more memory.)
        for (size_t at = 0; at < codes.size(); ++at)
            m_places[at] = {codes[at], at};
        std::sort(m_places.begin(), m_places.end());
    }
    ~FloorSeek() { sqlite3_finalize(m_seek); }
    FloorSeek(const FloorSeek &) = delete;
    FloorSeek &operator=(const FloorSeek &) = delete;

    size_t rowOf(const QString &booking)
    {
        const std::string pattern = booking.toStdString() + "*";
        sqlite3_bind_text(m_seek, 1, pattern.data(), int(pattern.size()), SQLITE_TRANSIENT);
        sqlite3_step(m_seek);
        const qint64 code = sqlite3_column_int64(m_seek, 0);
        sqlite3_reset(m_seek);
        const auto found = std::lower_bound(m_places.begin(), m_places.end(), std::pair<qint64, size_t>(code, 0));
        return found == m_places.end() ? 0 : found->second;
    }

private:
    sqlite3_stmt *m_seek = nullptr;
    std::vector<std::pair<qint64, size_t>> m_places;
};

void BM_SearchJumpFloor(benchmark::State &state, int bls)
{
    sqlite3 *db = openFloor();
    FloorList list;
    floorCodes(db, "Bls_ReservaNr", list);
    {
        FloorSeek seek(db, list.codes);
        int i = 0;
        for (auto _ : state)
            benchmark::DoNotOptimize(floorPage(db, list.codes, seek.rowOf(bookingToJumpTo(++i, bls))));
    }
    sqlite3_close(db);
}

void BM_SearchScroll(benchmark::State &state, int bls)
{
    timeInSearchWindow(state, bls, [bls](TF_Procura &window, int i) {
        window.DBGrid1->verticalScrollBar()->setValue(rowToScrollTo(i, bls));
    });
}
// The list's own part of a jump and of a scroll, without the window: what the list reads and does to find the row
// and to give the cells of the rows a screen shows.
void readScreenFrom(int first)
{
    const ListQuery *list = DM_BL->qyMostra;
    qint64 sum = 0;
    for (int row = first; row < std::min(first + 24, list->recordCount()); ++row)
        for (const char *column : {"Bls_ReservaNr", "Bls_Navio", "Bls_Shipper1", "Bls_Notify1"})
            sum += list->displayTextAt(row, QLatin1String(column)).size();
    benchmark::DoNotOptimize(sum);
}
void BM_SearchJumpList(benchmark::State &state, int bls)
{
    openList();
    int i = 0;
    for (auto _ : state) {
        DM_BL->qyMostra->locate(QStringLiteral("Bls_ReservaNr"), bookingToJumpTo(++i, bls));
        readScreenFrom(DM_BL->qyMostra->currentIndex());
    }
    DM_BL->qyMostra->close();
}
void BM_SearchScrollList(benchmark::State &state, int bls)
{
    openList();
    int i = 0;
    for (auto _ : state)
        readScreenFrom(rowToScrollTo(++i, bls));
    DM_BL->qyMostra->close();
}
void BM_SearchScrollFloor(benchmark::State &state, int bls)
{
    sqlite3 *db = openFloor();
    FloorList list;
    floorCodes(db, "Bls_ReservaNr", list);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(floorPage(db, list.codes, size_t(rowToScrollTo(++i, bls))));
    sqlite3_close(db);
}

// The window figures' floor: the same steps in a plain window over SQLite's reads (BareGrid), with the repaint each
// causes.
void BM_SearchListShownBare(benchmark::State &state, int)
{
    sqlite3 *db = openFloor();
    FloorList list;
    warmUp(db, list);
    for (auto _ : state) {
        BareGrid window(db);
        window.open("Bls_ReservaNr", list);
        window.show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.hide();
        window.closeList();
        state.ResumeTiming();
    }
    sqlite3_close(db);
}

// Opens the plain window sorted by booking number and times the steps.
void timeInBareGrid(benchmark::State &state, sqlite3 *db, FloorList &list,
                    const std::function<void(BareGrid &, int)> &step)
{
    BareGrid window(db);
    window.open("Bls_ReservaNr", list);
    timeSteps(state, window, step);
}

void BM_SearchResortBare(benchmark::State &state, int)
{
    sqlite3 *db = openFloor();
    FloorList list;
    timeInBareGrid(state, db, list, [&list](BareGrid &window, int) { window.open("Bls_Navio", list); });
    sqlite3_close(db);
}

void BM_SearchJumpBare(benchmark::State &state, int bls)
{
    sqlite3 *db = openFloor();
    FloorList list;
    {
        // The seek's places come from the list the window has just read.
        BareGrid bare(db);
        bare.open("Bls_ReservaNr", list);
        FloorSeek seek(db, list.codes);
        timeSteps<BareGrid>(state, bare, [&seek, bls](BareGrid &window, int i) {
            const QString booking = bookingToJumpTo(i, bls);
            window.searchBox()->setText(booking);
            window.select(int(seek.rowOf(booking)));
        });
    }
    sqlite3_close(db);
}

void BM_SearchScrollBare(benchmark::State &state, int bls)
{
    sqlite3 *db = openFloor();
    FloorList list;
    timeInBareGrid(state, db, list, [bls](BareGrid &window, int i) {
        window.view()->verticalScrollBar()->setValue(rowToScrollTo(i, bls));
    });
    sqlite3_close(db);
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
        QString text;
        ComposeEdiBlLines(rows, marks, description, QStringLiteral("1.1.26"), QDate::currentDate(), text);
        EdiBlFile::save(path, text);
    }
}
// The floor writes the same lines with a plain formatter: each tag and its value put into one buffer, numbers through
// std::to_chars, then the buffer written to a new file and synced to disk, as the program's save syncs. What it
// formats is taken from the program's own lines once, before the timing: a value that reads as a number is held as
// a double, any other as its bytes.
void BM_EdiWriteFloor(benchmark::State &state)
{
    struct Line
    {
        std::string tag, text;
        std::optional<double> number;
    };
    std::vector<Line> items;
    {
        const EdiBlRows rows = bigRows();
        const QStringList description =
            DraftFilling::memoLines(rows.bl.value(QStringLiteral("Bls_Descricao")).toString()).mid(0, 40);
        QString text;
        ComposeEdiBlLines(rows, {QStringLiteral("MARKS")}, description, QStringLiteral("1.1.26"), QDate::currentDate(),
                          text);
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            const qsizetype tagEnd = line.startsWith(QLatin1Char('[')) ? line.indexOf(QLatin1Char(']')) + 1 : 0;
            Line item{line.left(tagEnd).toStdString(), line.mid(tagEnd).toStdString(), std::nullopt};
            bool isNumber = false;
            const double value = line.mid(tagEnd).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&isNumber);
            if (isNumber)
                item.number = value;
            items.push_back(std::move(item));
        }
    }
    const QByteArray path = QFile::encodeName(scratch + QStringLiteral("/floor.TXT"));
    std::string buffer;
    for (auto _ : state) {
        buffer.clear();
        for (const Line &item : items) {
            buffer += item.tag;
            if (item.number) {
                char digits[32];
                buffer.append(digits, std::to_chars(digits, digits + sizeof digits, *item.number).ptr);
            } else {
                buffer += item.text;
            }
            buffer += "\r\n";
        }
        ::unlink(path.constData());
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, buffer.data(), buffer.size()));
        ::fdatasync(fd);
        ::close(fd);
    }
}

// The shared store: the same BLs on a PostgreSQL server of the run's own, each with two containers, an export
// document and an NCM code, written by the server itself from a series so that 100,000 BLs take seconds. The
// program's own open has made the tables and indexes before.
void seedServer(const PgCluster &server, int bls)
{
    const QString n = QString::number(bls);
    server.exec(
        QStringLiteral("dalvora"),
        {QStringLiteral(
             "INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_RefShipper, Bls_Navio, Bls_Viagem, Bls_PortLoading, "
             "Bls_PortDischarge, Bls_Shipper1, Bls_Cnee1, Bls_Notify1, Bls_Descricao, Bls_Carga, Bls_Cia_Nome, "
             "Bls_Cia_Usuario, Bls_Cia_Cidade, Bls_Cia_Arquivo, Bls_Marks, Bls_Imo, Bls_AsPerAgee, Bls_EmissaoBL, "
             "Bls_Payable) SELECT g, 'BK' || lpad(((g * 7919) % 100000)::text, 6, '0'), 'REF' || g, "
             "'VESSEL ' || (g * 31) % 997, 'V' || g % 50, 'SANTOS', 'ROTTERDAM', 'SHIPPER ' || g || ' LTDA', "
             "'CONSIGNEE ' || g || ' BV', 'NOTIFY ' || g, 'GOODS', 'FCL', 'CIA', 'USER', 'SANTOS', 'CIA01', 'MARKS', "
             "0, 0, 'ORI', 'ORI' FROM generate_series(1, %1) g")
             .arg(n),
         QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Tipo, Cnt_Peso, Cnt_Tara, "
                        "Cnt_Lacre_1, Cnt_Volume, Cnt_VolTipo) SELECT g, (g + 1) / 2, 'ABCU' || lpad(g::text, 7, '0'), "
                        "'Dry Box 20', 10000.5 + g, 2200, 'SEAL' || g, 10, 'BOXES' FROM generate_series(1, 2 * %1) g")
             .arg(n),
         QStringLiteral("INSERT INTO Dal_SD (Sd_Codigo, Sd_Cod_BL, Sd_Tipo, Sd_Numero, Sd_Vencto, Sd_Peso, Sd_Volume, "
                        "Sd_ValorFOB) SELECT g, g, 'SD', 'SD' || lpad(g::text, 8, '0'), '2026-12-31', 1234.5, 10, "
                        "99999.99 FROM generate_series(1, %1) g")
             .arg(n),
         QStringLiteral("INSERT INTO Dal_NCM (Ncm_Codigo, Ncm_Cod_BL, Ncm_Numero) SELECT g, g, (84000000 + g)::text "
                        "FROM generate_series(1, %1) g")
             .arg(n),
         QStringLiteral("ANALYZE")});
}

// A BL opened as the main window opens one: its row, then its containers, documents and NCM codes.
void BM_ServerBlOpened(benchmark::State &state, int bls)
{
    int i = 0;
    for (auto _ : state) {
        const int code = int((++i * 7919LL) % bls) + 1;
        openBl(code);
        for (EditBuffer *details : {DM_BL->qyCntr, DM_BL->qySD, DM_BL->qyNCM}) {
            const TableDef &table = details->updateObject()->table();
            details->close();
            details->setSql({QStringLiteral("SELECT * from %1").arg(table.name),
                             QStringLiteral("where %1 = :pp1").arg(table.link)});
            details->setPp1(code);
            details->open();
        }
    }
    for (EditBuffer *buffer : {DM_BL->qyBLS, DM_BL->qyCntr, DM_BL->qySD, DM_BL->qyNCM})
        buffer->close();
}

// iterations 0: Google Benchmark picks the count. A tiny run measures each benchmark once.
void add(const std::string &name, std::function<void(benchmark::State &)> function, int iterations, int repetitions,
         bool tiny, bool manualTime = false)
{
    benchmark::internal::Benchmark *b =
        benchmark::RegisterBenchmark(name.c_str(), [function](benchmark::State &state) { function(state); });
    b->Unit(benchmark::kMillisecond)->Repetitions(tiny ? 1 : repetitions);
    if (tiny || iterations > 0)
        b->Iterations(tiny ? 1 : iterations);
    if (manualTime)
        b->UseManualTime();
}

// The search figures for a store of that many BLs, named with the number.
void registerSearch(int bls, bool tiny)
{
    struct Entry
    {
        const char *name;
        void (*function)(benchmark::State &, int);
        int iterations;
    };
    const Entry entries[] = {
        {"BM_SearchListShown", BM_SearchListShown, 3},
        {"BM_SearchListFloor", BM_SearchListFloor, 0},
        {"BM_SearchListShownBare", BM_SearchListShownBare, 3},
        {"BM_SearchResortByVessel", BM_SearchResortByVessel, 4},
        {"BM_SearchResortFloor", BM_SearchResortFloor, 0},
        {"BM_SearchResortBare", BM_SearchResortBare, 4},
        {"BM_SearchJump", BM_SearchJump, 50},
        {"BM_SearchJumpList", BM_SearchJumpList, 50},
        {"BM_SearchJumpFloor", BM_SearchJumpFloor, 50},
        {"BM_SearchJumpBare", BM_SearchJumpBare, 50},
        {"BM_SearchScroll", BM_SearchScroll, 50},
        {"BM_SearchScrollList", BM_SearchScrollList, 50},
        {"BM_SearchScrollFloor", BM_SearchScrollFloor, 50},
        {"BM_SearchScrollBare", BM_SearchScrollBare, 50},
    };
    for (const Entry &e : entries) {
        std::string name(e.name);
        name += '/';
        name += std::to_string(bls);
        add(
            name, [e, bls](benchmark::State &state) { e.function(state, bls); }, e.iterations, 5, tiny);
    }
}

// The figures that do not depend on the number of BLs.
void registerOthers(bool tiny)
{
    add("BM_StartupMainWindow", BM_StartupMainWindow, 1, 7, tiny, true);
    add("BM_StartupBareWindow", BM_StartupBareWindow, 1, 7, tiny, true);
    add("BM_LanguageSwitch", BM_LanguageSwitch, 20, 5, tiny);
    add("BM_EdiComposeAndWrite", BM_EdiComposeAndWrite, 0, 5, tiny);
    add("BM_EdiWriteFloor", BM_EdiWriteFloor, 0, 5, tiny);
    add("BM_TotalizaContainers", BM_TotalizaContainers, 0, 5, tiny);
    add("BM_AttachContainerLines", BM_AttachContainerLines, 0, 5, tiny);
    add("BM_DraftPrepare", BM_DraftPrepare, 0, 5, tiny);
    add("BM_DraftTextFloor", BM_DraftTextFloor, 0, 5, tiny);
}

const std::vector<Figure> figures{
    {"start-up to main window shown", "BM_StartupMainWindow", 300, "BM_StartupBareWindow", 2},
    {"language switch, main window and a modal window", "BM_LanguageSwitch", 30, "", 0},
    {"TotalizaContainers, 1,000 containers", "BM_TotalizaContainers", 50, "", 0},
    {"ANEXAR of 1,000 container lines", "BM_AttachContainerLines", 50, "", 0},
    {"draft with a 2,000-line description", "BM_DraftPrepare", 500, "BM_DraftTextFloor", 0},
    {"EDI/BL of 1,000 containers, 500 SD, 190 NCM", "BM_EdiComposeAndWrite", 20, "BM_EdiWriteFloor", 2},
};

constexpr int ServerBls = 100000;
const std::vector<Figure> serverFigures{
    {"shared store: search list shown, 100,000 BLs", "BM_SearchListShown/server", 300, "", 0},
    {"shared store: a BL opened with its details", "BM_ServerBlOpened/server", 20, "", 0},
};

// The window figures against a plain window over SQLite's reads, which paints the same rows; the list's own part
// against SQLite alone. The window figures against SQLite alone are shown too, without a ratio target: the repaint
// of a screen of rows, which no window that shows them can skip, costs ten times SQLite's reads of them.
const std::vector<GrowthFigure> searchFigures{
    {"search list shown", "BM_SearchListShown", 200, "BM_SearchListShownBare", 2},
    {"re-sorted by vessel", "BM_SearchResortByVessel", 300, "BM_SearchResortBare", 2},
    {"jump while typing a booking number", "BM_SearchJump", 10, "BM_SearchJumpBare", 2},
    {"scrolled to the end or the middle", "BM_SearchScroll", 20, "BM_SearchScrollBare", 2},
    {"jump, the list alone (no repaint)", "BM_SearchJumpList", 10, "BM_SearchJumpFloor", 2},
    {"scroll, the list alone (no repaint)", "BM_SearchScrollList", 20, "BM_SearchScrollFloor", 2},
    {"shown, against SQLite alone", "BM_SearchListShown", 200, "BM_SearchListFloor", 0},
    {"re-sorted, against SQLite alone", "BM_SearchResortByVessel", 300, "BM_SearchResortFloor", 0},
    {"jump, against SQLite alone", "BM_SearchJump", 10, "BM_SearchJumpFloor", 0},
    {"scroll, against SQLite alone", "BM_SearchScroll", 20, "BM_SearchScrollFloor", 0},
};

// The numbers of BLs of "--bls N[,N...]", taken out of the arguments; by default the three sizes of the targets.
std::vector<int> takeSizes(int &argc, char *argv[])
{
    std::vector<int> sizes;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--bls") != 0)
            continue;
        for (const QString &n : QString::fromLocal8Bit(argv[i + 1]).split(QLatin1Char(',')))
            if (n.toInt() > 0)
                sizes.push_back(n.toInt());
        std::copy(argv + i + 2, argv + argc, argv + i);
        argc -= 2;
        break;
    }
    if (sizes.empty())
        sizes = {10000, 100000, 1000000};
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

} // namespace

int main(int argc, char *argv[])
{
    // --tiny: small data, one run of each benchmark, and no verdict on the targets.
    const auto isTiny = [](const char *argument) { return std::strcmp(argument, "--tiny") == 0; };
    const bool tiny = std::any_of(argv + 1, argv + argc, isTiny);
    argc = int(std::remove_if(argv + 1, argv + argc, isTiny) - argv);
    size = tiny ? TinySize : FullSize;
    const std::vector<int> sizes = tiny ? std::vector<int>{50} : takeSizes(argc, argv);

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
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;

    // The smallest store first: the other figures run on it, and each store is made only when its turn comes.
    for (const int bls : sizes) {
        const QString folder = scratch + QStringLiteral("/bls") + QString::number(bls);
        QDir(scratch).mkpath(folder);
        seedStore(folder, bls);
        Store::open(folder);
        {
            TDM_BL dataModule;
            DM_BL = &dataModule;
            benchmark::ClearRegisteredBenchmarks();
            registerSearch(bls, tiny);
            if (bls == sizes.front())
                registerOthers(tiny);
            benchmark::RunSpecifiedBenchmarks(&reporter);
            residentMb.try_emplace(bls, 0);
            DM_BL = nullptr;
        }
        Store::close();
        QFile::remove(folder + QStringLiteral("/dalvora.db"));
    }

    // The shared store, over a local socket, when a PostgreSQL server is installed.
    std::optional<PgCluster> server;
    if (!PgCluster::binFolder().isEmpty()) {
        server.emplace();
        if (!server->error().isEmpty())
            qFatal("the benchmark's server: %s", qPrintable(server->error()));
        const int bls = tiny ? 50 : ServerBls;
        server->createDatabase(QStringLiteral("dalvora"));
        Store::openServer(server->uri(QStringLiteral("dalvora")));
        seedServer(*server, bls);
        {
            TDM_BL dataModule;
            DM_BL = &dataModule;
            benchmark::ClearRegisteredBenchmarks();
            add(
                "BM_SearchListShown/server", [](benchmark::State &state) { BM_SearchListShown(state, 0); }, 3, 5, tiny);
            add(
                "BM_ServerBlOpened/server", [bls](benchmark::State &state) { BM_ServerBlOpened(state, bls); }, 50, 5,
                tiny);
            benchmark::RunSpecifiedBenchmarks(&reporter);
            DM_BL = nullptr;
        }
        Store::close();
    }

    TableResult result = printTable(reporter, figures);
    printGrowthTable(reporter, searchFigures, residentMb, 200, result);
    if (server) {
        const TableResult onServer = printTable(reporter, serverFigures);
        result.misses += onServer.misses;
        result.unmeasured += onServer.unmeasured;
    }
    benchmark::Shutdown();
    if (tiny) {
        std::printf("tiny data: the figures only show that every benchmark ran\n");
        return result.unmeasured == 0 ? 0 : 1;
    }
    return result.misses + result.unmeasured == 0 ? 0 : 1;
}
