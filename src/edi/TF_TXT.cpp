#include "TF_TXT.h"

#include "StandardIconEngine.h"
#include "TableDef.h"

#include "AppFonts.h"
#include "AppInfo.h"
#include "DalvoraFolder.h"
#include "EdiBlComposer.h"
#include "EdiBlFile.h"
#include "EdiBlRowsReader.h"
#include "EdiComposeError.h"
#include "KeyboardOrder.h"
#include "MemoGeometry.h"
#include "MemoLines.h"
#include "MemoText.h"
#include "StoreError.h"
#include "TDM_BL.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TableDef.h"
#include "TranslateText.h"

#include <QDate>
#include <QFileDialog>
#include <QKeyEvent>
#include <QStyle>

#ifdef DALVORA_HAS_CALENDAR
#include "TF_Calendario.h"
#endif

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}
} // namespace

TF_TXT::TF_TXT(QWidget *parent)
    : QDialog(parent), qyBL(new EditBuffer(QStringLiteral("qyBL"), this)),
      qyCntr(new EditBuffer(QStringLiteral("qyCntr"), this)), qySD(new EditBuffer(QStringLiteral("qySD"), this)),
      qyNCM(new EditBuffer(QStringLiteral("qyNCM"), this)), DS_BL(new DataSource(qyBL, this))
{
    setupUi(this);
    // No title-bar buttons: the window is closed with SB_Fechar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());

    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::DialogPreset);

    // The boxes wrap exactly as the main window's do: their display lines are the lines of the file.
    const QFont memoFont = AppFonts::screen(MemoGeometry::FontPointSize);
    DBMemo1->setFixedWidth(MemoGeometry::MarksWidth);
    DBMemo2->setFixedWidth(MemoGeometry::DescriptionWidth);
    for (TDBMemo *memo : {DBMemo1, DBMemo2}) {
        memo->setFont(memoFont);
        memo->bind(DS_BL, memo->dataField());
    }
    for (TDBEdit *edit : {DBEdit1, DBEdit2, DBEdit3, DBEdit4}) {
        edit->setUpperCase(true);
        edit->bind(DS_BL, edit->dataField());
    }
    for (TDBRadioGroup *group : {DBRG_Carga, DBRG_Imo, DBRG_AsPer, DBRG_Emissao})
        group->bind(DS_BL, group->dataField());

    // The same pictures as the main window's buttons of the same purpose.
    SB_Confirma->setIcon(StandardIconEngine::icon(QStyle::SP_DialogSaveButton));
    SB_Confirma->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SB_Calendario->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogInfoView));
    SB_Fechar->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));

    connect(SB_Confirma, &QToolButton::clicked, this, &TF_TXT::SB_ConfirmaClick);
    connect(SB_Calendario, &QToolButton::clicked, this, &TF_TXT::SB_CalendarioClick);
    connect(SB_Fechar, &QToolButton::clicked, this, &TF_TXT::SB_FecharClick);

    KeyboardOrder::set({SB_Confirma, SB_Calendario, SB_Fechar, PageControl1, DBMemo1, DBMemo2, DBEdit1, DBEdit2,
                        DBEdit3, DBEdit4, DBRG_Carga, DBRG_Imo, DBRG_AsPer, DBRG_Emissao, M_Track});

    // Items are not among this window's translated kinds: its choices read as designed in every language.
    IvT = new TIvTranslator(this, QStringLiteral("Hint,Caption,Title,TMemo.Text,Filter"));
}

TF_TXT::~TF_TXT() = default;

void TF_TXT::execFor(QWidget *parent, const QStringList &emissaoCaptions, const QString &cargaCaption)
{
    TF_TXT window(parent);
    QStringList items = window.DBRG_Emissao->items();
    for (int i = 0; i < 2 && i < emissaoCaptions.size(); ++i)
        if (!emissaoCaptions.at(i).isEmpty())
            items[i] = emissaoCaptions.at(i);
    window.DBRG_Emissao->setItems(items);
    if (!cargaCaption.isEmpty())
        window.DBRG_Carga->setTitle(cargaCaption);
    // Read before the window shows: a BL the store cannot give opens no window to compose from.
    window.openQueries();
    window.exec();
}

void TF_TXT::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_TXT::FormShow()
{
    const QString caption = T("Gerar") + QStringLiteral(" - EDI/BL");
    setWindowTitle(caption);
    SB_Confirma->setText(caption + QStringLiteral(" - ") + T("Confirmar"));
    L_Ver1->setText(T("Versão"));
    L_Ver2->setText(QString::fromLatin1(AppInfo::Version));
    PageControl1->setCurrentWidget(TS_BL);
}

void TF_TXT::openQueries()
{
    openQuery(qyBL, TableDef::bls());
    openQuery(qyCntr, TableDef::cntr());
    openQuery(qySD, TableDef::sd());
    openQuery(qyNCM, TableDef::ncm());
}

// The rows of the BL shown, in the order of their codes: a server, unlike the file, gives rows in no set order.
void TF_TXT::openQuery(EditBuffer *query, const TableDef &table)
{
    query->close();
    const QString link = table.link.isEmpty() ? table.key : table.link;
    query->setSql({QStringLiteral("SELECT * from ") + table.name,
                   QStringLiteral("where ") + link + QStringLiteral(" = :pp1"),
                   QStringLiteral("ORDER BY ") + table.key});
    query->setPp1(DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo")));
    query->open();
}

void TF_TXT::done(int result)
{
    FormCloseQuery();
    QDialog::done(result);
}

void TF_TXT::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the window: only SB_Fechar does.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TF_TXT::FormCloseQuery()
{
    for (EditBuffer *query : {qyNCM, qySD, qyCntr, qyBL})
        query->close();
}

void TF_TXT::SB_FecharClick()
{
    done(QDialog::Rejected);
}

void TF_TXT::SB_CalendarioClick()
{
#ifdef DALVORA_HAS_CALENDAR
    TF_Calendario::execCalendar(this);
#endif
}

QString TF_TXT::checkText() const
{
    return MemoText::text(*M_Track);
}

int TF_TXT::message(const QString &text, int type)
{
    return MD->show(text, type, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
}

void TF_TXT::SB_ConfirmaClick()
{
    if (compose())
        save();
}

bool TF_TXT::compose()
{
    M_Track->clear();
    QString text;
    bool composed = true;
    QString refused;
    try {
        const EdiBlRows rows = EdiBlRowsReader::read(*qyBL, *qyCntr, *qySD, *qyNCM);
        EdiBlComposer::compose(rows, MemoLines::displayLines(*DBMemo1), MemoLines::displayLines(*DBMemo2),
                               L_Ver2->text(), QDate::currentDate(), text);
    } catch (const EdiComposeError &error) {
        composed = false;
        // The field whose value the file cannot carry, as the clerk knows it.
        const QString field = EdiBlComposer::caption(error.tag());
        refused = field.isEmpty() ? error.tag() : field + QLatin1Char(' ') + error.tag();
    } catch (const StoreError &error) {
        composed = false;
        refused = error.message();
    }
    // The lines composed before a failure stay in view, so the clerk sees where it stopped.
    M_Track->setPlainText(text);
    if (!composed)
        message(refused.isEmpty() ? T("Erro ao montar arquivo EDI")
                                  : T("Erro ao montar arquivo EDI").trimmed() + QStringLiteral(": ") + refused,
                TMsgDlg::Error);
    return composed;
}

void TF_TXT::save()
{
    // A folder that cannot be made leaves the dialog to start where it can.
    DalvoraFolder::ensure();
    QFileDialog dialog(this, T("Salvar como"), DalvoraFolder::path());
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(T("Arquivos") + QStringLiteral(" TXT (*.TXT)"));
    dialog.setDefaultSuffix(QStringLiteral("TXT"));
    dialog.selectFile(
        EdiBlFileName(qyBL->text(QStringLiteral("Bls_Cia_Arquivo")), qyBL->text(QStringLiteral("Bls_ReservaNr"))));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;

    if (EdiBlFile::save(dialog.selectedFiles().constFirst(), checkText()))
        message(T("Arquivo gerado com sucesso"), TMsgDlg::Information);
    else
        message(T("Arquivo") + QStringLiteral(" EDI/BL ") + T("Problema na atualização."), TMsgDlg::Error);
}
