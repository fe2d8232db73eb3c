#include "TableDef.h"

namespace {
using T = ColumnType;

ColumnDef text(const char *name, int maxLength)
{
    return {QString::fromLatin1(name), T::Text, maxLength};
}
ColumnDef col(const char *name, ColumnType type)
{
    return {QString::fromLatin1(name), type, 0};
}

QList<ColumnDef> blsColumns()
{
    QList<ColumnDef> c{col("Bls_Codigo", T::Integer)};
    for (const char *party : {"Shipper", "Cnee", "Notify"})
        for (int i = 1; i <= 5; ++i)
            c.append({QStringLiteral("Bls_%1%2").arg(QLatin1String(party)).arg(i), T::Text, 60});
    c << text("Bls_ReservaNr", 25) << text("Bls_BillofLading", 25) << text("Bls_RefShipper", 25)
      << text("Bls_PlaceReceipt", 40) << text("Bls_PortLoading", 40) << text("Bls_PortDischarge", 40)
      << text("Bls_PlaceDelivery", 40) << text("Bls_Navio", 40) << text("Bls_Viagem", 20) << text("Bls_Carga", 3)
      << col("Bls_Imo", T::Logical) << col("Bls_LCL_PesoBruto", T::Number) << col("Bls_LCL_PesoLiquido", T::Number)
      << col("Bls_LCL_Cubagem", T::Number) << col("Bls_LCL_Volumes", T::Integer) << text("Bls_LCL_TipoVolume", 60)
      << text("Bls_EmissaoBL", 3) << col("Bls_AsPerAgee", T::Logical) << text("Bls_Cia_Nome", 40)
      << text("Bls_Cia_Usuario", 30) << text("Bls_Cia_Cidade", 30) << text("Bls_Cia_Arquivo", 5)
      << col("Bls_Marks", T::Memo) << col("Bls_Descricao", T::Memo) << text("Bls_Imo_IMDG", 20)
      << text("Bls_Imo_UN", 20) << text("Bls_Payable", 3);
    return c;
}

// On the server each type keeps what SQLite keeps: 64-bit integers, doubles, text compared by its bytes (the "C"
// collation, as SQLite's BINARY), logical values as 0/1.
QString serverType(ColumnType type)
{
    switch (type) {
    case T::Integer:
        return QStringLiteral("BIGINT");
    case T::Logical:
        return QStringLiteral("SMALLINT");
    case T::Number:
        return QStringLiteral("DOUBLE PRECISION");
    case T::Date:
        return QStringLiteral("DATE");
    default:
        return QStringLiteral("TEXT COLLATE \"C\"");
    }
}

QString sqlType(ColumnType type)
{
    switch (type) {
    case T::Integer:
    case T::Logical:
        return QStringLiteral("INTEGER");
    case T::Number:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("TEXT");
    }
}
} // namespace

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList TableDef::columnNames() const
{
    QStringList names;
    for (const ColumnDef &c : columns)
        names << c.name;
    return names;
}

QString TableDef::createSql(SqlDialect dialect) const
{
    QStringList defs;
    for (const ColumnDef &c : columns)
        defs << c.name + QLatin1Char(' ') + (dialect == SqlDialect::Sqlite ? sqlType(c.type) : serverType(c.type)) +
                    (c.name == key ? QStringLiteral(" PRIMARY KEY") : QString());
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(name, defs.join(QStringLiteral(", ")));
}

QStringList TableDef::indexSql(SqlDialect dialect) const
{
    QStringList statements;
    if (dialect == SqlDialect::Sqlite) {
        for (const QString &column : indexed)
            statements << QStringLiteral("CREATE INDEX IF NOT EXISTS Ix_%2 ON %1 (%2)").arg(name, column);
        return statements;
    }
    // The server puts empty cells last unless told otherwise; the lists want them first, as SQLite gives them, and
    // rows of the same value by key, so the index holds the whole order and nothing is sorted.
    for (const QString &column : indexed)
        statements
            << QStringLiteral("CREATE INDEX IF NOT EXISTS Ix_%2 ON %1 (%2 NULLS FIRST, %3)").arg(name, column, key);
    // A BL's details are read by their link; a shared store grows past what a whole-table scan reads quickly.
    if (!link.isEmpty())
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS Ix_%2 ON %1 (%2)").arg(name, link);
    return statements;
}

const TableDef &TableDef::bls()
{
    // The search list sorts by each of these and jumps on the booking number.
    static const TableDef t{
        QStringLiteral("Dal_Bls"),
        QStringLiteral("Bls_Codigo"),
        QString(),
        blsColumns(),
        {QStringLiteral("Bls_ReservaNr"), QStringLiteral("Bls_RefShipper"), QStringLiteral("Bls_Navio"),
         QStringLiteral("Bls_Viagem"), QStringLiteral("Bls_PortLoading"), QStringLiteral("Bls_PortDischarge"),
         QStringLiteral("Bls_Shipper1"), QStringLiteral("Bls_Cnee1"), QStringLiteral("Bls_Notify1")}};
    return t;
}

const TableDef &TableDef::cntr()
{
    static const TableDef t{QStringLiteral("Dal_Cntr"),
                            QStringLiteral("Cnt_Codigo"),
                            QStringLiteral("Cnt_Cod_BL"),
                            {col("Cnt_Codigo", T::Integer), col("Cnt_Cod_BL", T::Integer), text("Cnt_Numero", 20),
                             text("Cnt_Tipo", 20), col("Cnt_Peso", T::Number), col("Cnt_Tara", T::Number),
                             text("Cnt_Lacre_1", 20), text("Cnt_Lacre_2", 20), text("Cnt_Lacre_3", 20),
                             text("Cnt_Lacre_4", 20), col("Cnt_Volume", T::Integer), text("Cnt_VolTipo", 30)}};
    return t;
}

const TableDef &TableDef::sd()
{
    static const TableDef t{QStringLiteral("Dal_SD"),
                            QStringLiteral("Sd_Codigo"),
                            QStringLiteral("Sd_Cod_BL"),
                            {col("Sd_Codigo", T::Integer), col("Sd_Cod_BL", T::Integer), text("Sd_Tipo", 3),
                             text("Sd_Numero", 30), col("Sd_Vencto", T::Date), col("Sd_Peso", T::Number),
                             col("Sd_Volume", T::Number), col("Sd_ValorFOB", T::Number), text("Sd_Chassi", 30)}};
    return t;
}

const TableDef &TableDef::ncm()
{
    static const TableDef t{QStringLiteral("Dal_NCM"),
                            QStringLiteral("Ncm_Codigo"),
                            QStringLiteral("Ncm_Cod_BL"),
                            {col("Ncm_Codigo", T::Integer), col("Ncm_Cod_BL", T::Integer), text("Ncm_Numero", 20)}};
    return t;
}

const QList<const TableDef *> &TableDef::all()
{
    static const QList<const TableDef *> tables{&bls(), &cntr(), &sd(), &ncm()};
    return tables;
}

const ColumnDef *TableDef::findColumn(const QString &name)
{
    for (const TableDef *t : all())
        if (const ColumnDef *c = t->column(name))
            return c;
    return nullptr;
}
