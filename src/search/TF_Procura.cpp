#include "TF_Procura.h"

#include "InputRules.h"
#include "KeyboardOrder.h"
#include "StandardIconEngine.h"
#include "TDM_BL.h"
#include "TF_Duplicar.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TranslateText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QStyle>
#include <QValidator>

#ifdef DALVORA_HAS_CALENDAR
#include "TF_Calendario.h"
#endif

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

const QString Codigo = QStringLiteral("Bls_Codigo");
const QString Reserva = QStringLiteral("Bls_ReservaNr");

// Booking numbers are stored upper-cased by the booking field's rule, so the search box applies the same one.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = InputRules::upperCase(input);
        return Acceptable;
    }
};
} // namespace

const QString TF_Procura::Open = QStringLiteral("OK");
const QString TF_Procura::Duplicate = QStringLiteral("DUPLICA");
const QString TF_Procura::Cancelled = QStringLiteral("erro");

TF_Procura::TF_Procura(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    // No title-bar buttons: the window closes through its own buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());

    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::DetailWindowPreset);
    MD->setLineSeparator(QLatin1Char('\\'));

    Edit1->setValidator(new UpperCaseValidator(Edit1));
    Edit1->installEventFilter(this);
    SB_Confirma->setIcon(StandardIconEngine::icon(QStyle::SP_DialogApplyButton));
    SB_Calendario->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogInfoView));
    SB_Duplicar->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogNewFolder));
    BB_Delete->setIcon(StandardIconEngine::icon(QStyle::SP_TrashIcon));
    BB_Fechar->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));
#ifndef DALVORA_HAS_CALENDAR
    SB_Calendario->hide();
#endif

    DBGrid1->setRows(DM_BL->qyMostra);
    DBGrid1->setColumns(DBGrid1->property("dataFields").toStringList(), DBGrid1->columnTitles(),
                        {123, 115, 127, 100, 130, 130, 200, 200, 200});
    QHeaderView *titles = DBGrid1->horizontalHeader();
    titles->setSectionsMovable(false);
    titles->setSectionResizeMode(QHeaderView::Fixed);
    // The selected row stays highlighted while the focus is in the search box.
    QPalette palette = DBGrid1->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    DBGrid1->setPalette(palette);

    connect(DBGrid1, &TDBGrid::titleClicked, this, &TF_Procura::DBGrid1TitleClick);
    connect(Edit1, &QLineEdit::textChanged, this, &TF_Procura::Edit1Change);
    connect(SB_Confirma, &QToolButton::clicked, this, &TF_Procura::SB_ConfirmaClick);
    connect(SB_Calendario, &QToolButton::clicked, this, &TF_Procura::SB_CalendarioClick);
    connect(SB_Duplicar, &QToolButton::clicked, this, &TF_Procura::SB_DuplicarClick);
    connect(BB_Delete, &QPushButton::clicked, this, &TF_Procura::BB_DeleteClick);
    connect(BB_Fechar, &QPushButton::clicked, this, &TF_Procura::BB_FecharClick);

    // The search box and the hidden texts hold data, not design texts.
    KeyboardOrder::set({Edit1, SB_Confirma, SB_Calendario, SB_Duplicar, BB_Delete, BB_Fechar, DBGrid1});

    IvT = new TIvTranslator(this, QStringLiteral("Hint,Caption,Title"));
}

TF_Procura::~TF_Procura() = default;

QString TF_Procura::orderColumn(int column)
{
    static const char *const order[] = {"Bls_ReservaNr", "Bls_RefShipper",  "Bls_Navio",
                                        "Bls_Viagem",    "Bls_PortLoading", "Bls_PortDischarge",
                                        "Bls_Shipper1",  "Bls_Cnee1",       "Bls_Notify1"};
    return column >= 0 && column < int(std::size(order)) ? QLatin1String(order[column]) : QString();
}

TF_Procura::Result TF_Procura::execSearch(QWidget *parent)
{
    ListQuery *list = DM_BL->qyMostra;
    list->close();
    list->setOrder(orderColumn(0));
    list->open();
    const auto closeList = qScopeGuard([list] { list->close(); });
    TF_Procura window(parent);
    window.exec();
    Result result;
    result.RetornoProcura = window.RetornoProcura;
    result.code = window.selectedCode();
    if (result.RetornoProcura == Duplicate) {
        result.marks = window.marksText();
        result.description = window.descriptionText();
    }
    return result;
}

qint64 TF_Procura::selectedCode() const
{
    const ListQuery *list = DM_BL->qyMostra;
    return list->isOpen() && list->currentIndex() >= 0 ? list->integer(Codigo) : 0;
}

void TF_Procura::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_Procura::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window behind its buttons' back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TF_Procura::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows and page keys in the search box move the selection in the list, so that a clerk who typed the
    // beginning of a booking number can go on to the one wanted without leaving the box.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(DBGrid1, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_Procura::FormShow()
{
    setWindowTitle(QStringLiteral("B/L Draft - ") + T("Procurar"));
    Edit1->clear();
    RetornoProcura.clear();
    Edit1->setFocus();
}

void TF_Procura::DBGrid1TitleClick(int column)
{
    ListQuery *list = DM_BL->qyMostra;
    list->close();
    list->setOrder(orderColumn(column));
    list->open();
}

void TF_Procura::Edit1Change()
{
    // An emptied box leaves the selection where it is.
    const QString text = Edit1->text();
    ListQuery *list = DM_BL->qyMostra;
    if (text.isEmpty() || !list->isOpen())
        return;
    list->locate(Reserva, text);
}

void TF_Procura::SB_ConfirmaClick()
{
    RetornoProcura = Open;
    accept();
}

void TF_Procura::BB_FecharClick()
{
    RetornoProcura.clear();
    reject();
}

int TF_Procura::ask(const QString &text)
{
    return MD->show(text, TMsgDlg::Confirmation, DM_BL->IdiomaAtual(), TMsgDlg::OkCancelButtons);
}

void TF_Procura::BB_DeleteClick()
{
    const qint64 code = selectedCode();
    if (code <= 0)
        return;
    const QString question = T("DESEJA EXCLUIR ?") + QStringLiteral("\r\r") + T("Número") + QStringLiteral(":  ") +
                             DM_BL->qyMostra->text(Reserva) + QLatin1Char('\r');
    if (ask(question) != TMsgDlg::ResultOk)
        return;
    if (ask(T("DESEJA REALMENTE EXCLUIR ?")) != TMsgDlg::ResultOk)
        return;
    // The containers, documents and NCM codes go with the BL or nothing goes: a failure half-way would leave a BL
    // with part of its details.
    DM_BL->deleteBlWithDetails(code);
    ListQuery *list = DM_BL->qyMostra;
    list->close();
    list->open();
}

void TF_Procura::SB_DuplicarClick()
{
    RetornoProcura.clear();
    const qint64 code = selectedCode();
    if (code <= 0) {
        MD->show(T("Não tem Registro selecionado"), TMsgDlg::Information, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
    } else {
        TF_Duplicar window(code, this);
        window.exec();
        RetornoProcura = window.RetornoDuplicar;
        if (RetornoProcura == Duplicate) {
            M_Aux_Marks->setPlainText(window.CB_Marks->isChecked() ? MemoText::text(*window.DBM_Aux_Marks) : QString());
            M_Aux_Descri->setPlainText(window.CB_Descricao->isChecked() ? MemoText::text(*window.DBM_Aux_Descri)
                                                                        : QString());
        }
    }
    if (RetornoProcura == Duplicate)
        accept();
}

void TF_Procura::SB_CalendarioClick()
{
#ifdef DALVORA_HAS_CALENDAR
    TF_Calendario::execCalendar(this);
#endif
}
