#pragma once

#include <QList>
#include <QString>
#include <functional>

class TDM_BL;
class EditBuffer;

// The cargo totals of a BL as stored in its totals group.
struct CargoTotals
{
    double gross = 0;
    double net = 0;
    double measurement = 0;
    qint64 volumes = 0;
    QString volumeKind;
};

// Totals of a container BL derived from its container rows, and the questions asked before a value the clerk
// typed earlier is replaced.
class ContainerTotals
{
public:
    // The totals items that may need a question, in the order they are asked.
    enum class Item { Gross, Net, Volumes, VolumeKind, Measurement };

    // Adds one container row; empty weights are 0, an empty or unknown type counts in neither size class.
    void addContainer(double gross, double tare, const QString &type);
    // Gross and tare summed, net never negative, measurement 0, one volume per container, the size summary.
    CargoTotals totals() const;

    // "3 x 20"  1 x 40"": twenties part (ending in two blanks) then forties part, each only when not zero.
    static QString sizeSummary(int twenties, int forties);

    // The items whose stored value was typed earlier (greater than 0, or not empty) and differs from the computed
    // one, in asking order. Numbers and texts are compared exactly as stored.
    static QList<Item> questions(const CargoTotals &stored, const CargoTotals &computed);
    // The totals to store: for each item of questions(), keepComputed(item) false keeps the stored value.
    static CargoTotals resolve(const CargoTotals &stored, const CargoTotals &computed,
                               const std::function<bool(Item)> &keepComputed);
    // "Deseja alterar <name> ?" in the interface language; the two captions are those shown on the main window.
    static QString questionText(Item item, const QString &tipoCaption, const QString &cubaCaption);

    // Reads the totals group of the current row of a BL buffer.
    static CargoTotals storedTotals(const EditBuffer &bls);
    // Totals of the containers of one BL, read on the scratch query.
    static CargoTotals fromStore(TDM_BL &dm, qint64 blCode);

    // Recomputes the totals of the BL on the main window (qyBLS, in Browse) from its containers, asks through `ask`
    // (true = OK, take the computed value) before replacing a value typed earlier, and stores the totals at once.
    // tipoCaption / cubaCaption: current captions of the volume-kind and measurement labels.
    static void TotalizaContainers(TDM_BL &dm, const QString &tipoCaption, const QString &cubaCaption,
                                   const std::function<bool(const QString &question)> &ask);

private:
    double m_gross = 0;
    double m_tare = 0;
    int m_count = 0;
    int m_twenties = 0;
    int m_forties = 0;
};
