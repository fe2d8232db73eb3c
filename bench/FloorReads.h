#pragma once

#include <QtGlobal>
#include <array>
#include <string>
#include <vector>

struct sqlite3;

// SQLite alone doing the reads the search list does, on a connection of its own: the floor of the search figures.

// The codes in the list's order, with the sort column's value of every 64th row (a fence), as the list's open reads
// them.
struct FloorList
{
    std::vector<qint64> codes;
    std::vector<std::string> fences;
};

// Reads the list into `list` anew. Its vectors keep their room from one read to the next, so that the floor pays for
// the reads and not for the memory given back and taken again.
void floorCodes(sqlite3 *db, const char *orderColumn, FloorList &list);

// A row's code and its nine shown columns, as the store's UTF-8 bytes.
struct FloorRow
{
    qint64 code;
    std::array<std::string, 9> texts;
};

// The shown columns of the 64 rows from `first` on (fewer at the end), by code, as the list reads a page. Gives a
// sum of what was read, and the rows (in the order SQLite gives them) when asked for.
qint64 floorPage(sqlite3 *db, const std::vector<qint64> &codes, size_t first, std::vector<FloorRow> *rows = nullptr);
