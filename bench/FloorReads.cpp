#include "FloorReads.h"

#include <algorithm>
#include <sqlite3.h>

void floorCodes(sqlite3 *db, const char *orderColumn, FloorList &list)
{
    std::vector<qint64> &codes = list.codes;
    std::vector<std::string> &fences = list.fences;
    codes.clear();
    fences.clear();
    sqlite3_stmt *stmt = nullptr;
    const std::string column(orderColumn);
    sqlite3_prepare_v2(db,
                       ("SELECT Bls_Codigo, " + column + " FROM Dal_Bls ORDER BY " + column + ", Bls_Codigo").c_str(),
                       -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (codes.size() % 64 == 0) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
            fences.emplace_back(text ? text : "", size_t(sqlite3_column_bytes(stmt, 1)));
        }
        codes.push_back(sqlite3_column_int64(stmt, 0));
    }
    sqlite3_finalize(stmt);
}

qint64 floorPage(sqlite3 *db, const std::vector<qint64> &codes, size_t first, std::vector<FloorRow> *rows)
{
    first = std::min(first, codes.size() - std::min<size_t>(codes.size(), 64));
    const size_t count = std::min<size_t>(64, codes.size() - first);
    std::string sql = "SELECT Bls_Codigo, Bls_ReservaNr, Bls_RefShipper, Bls_Navio, Bls_Viagem, Bls_PortLoading, "
                      "Bls_PortDischarge, Bls_Shipper1, Bls_Cnee1, Bls_Notify1 FROM Dal_Bls WHERE Bls_Codigo IN (?";
    for (size_t i = 1; i < count; ++i)
        sql += ",?";
    sql += ")";
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    for (size_t i = 0; i < count; ++i)
        sqlite3_bind_int64(stmt, int(i) + 1, codes[first + i]);
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const qint64 code = sqlite3_column_int64(stmt, 0);
        sum += code;
        FloorRow *row = rows ? &rows->emplace_back(FloorRow{code, {}}) : nullptr;
        for (int c = 1; c < 10; ++c) {
            const int bytes = sqlite3_column_bytes(stmt, c);
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            sum += bytes + (text != nullptr);
            if (row && text)
                row->texts[size_t(c) - 1].assign(text, size_t(bytes));
        }
    }
    sqlite3_finalize(stmt);
    return sum;
}
