#include "TF_Principal.h"

#include "AppInfo.h"
#include "ContainerTotals.h"
#include "DalvoraFolder.h"
#include "DraftPreview.h"
#include "Formats.h"
#include "KeyboardOrder.h"
#include "LanguageHolder.h"
#include "LanguageSwitch.h"
#include "RadioButtonGroup.h"
#include "StandardIconEngine.h"
#include "TAboutBox.h"
#include "TDM_BL.h"
#include "TF_Calendario.h"
#include "TF_Container.h"
#include "TF_MandaMemo.h"
#include "TF_Procura.h"
#include "TF_SD.h"
#include "TF_TXT.h"
#include "TIvTranslator.h"
#include "TMsgDlg.h"
#include "TextEmphasis.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QRadioButton>
#include <QStyle>

namespace {
// Upper- and lower-casing of composed captions change the letters a to z only.
QString asciiCase(QString text, bool upper)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (upper && u >= u'a' && u <= u'z')
            c = QChar(u - 32);
        else if (!upper && u >= u'A' && u <= u'Z')
            c = QChar(u + 32);
    }
    return text;
}

QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

const QStringList blsSelectNone{QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")};
const QStringList blsSelectOne{QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")};
} // namespace

TF_Principal::TF_Principal(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    DBComboBox3->addItems({QStringLiteral("BAGS"), QStringLiteral("BOXES"), QStringLiteral("BUNDLES"),
                           QStringLiteral("CAIXAS"), QStringLiteral("CARTONS"), QStringLiteral("CASES"),
                           QStringLiteral("CRATES"), QStringLiteral("DRUMS"), QStringLiteral("FUTS"),
                           QStringLiteral("ONE WAY PALLET"), QStringLiteral("PACKAGES"), QStringLiteral("PALLETS"),
                           QStringLiteral("PIECES"), QStringLiteral("ROLLS"), QStringLiteral("TAMBORES"),
                           QStringLiteral("WOODEN CASES"), QString()});
    // The window is translated once loaded, before its creation and show handlers run.
    IvT = new TIvTranslator(this);
    FormCreate();
}

TF_Principal::~TF_Principal() = default;

void TF_Principal::FormCreate()
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(753, 453);
    // The folder of EDI/BL files; a failure to create it is not reported here (saving reports its own errors).
    DalvoraFolder::ensure();

    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::MainWindowPreset);
    MD->setLineSeparator(QLatin1Char('\\'));

    StatusBar1->setPanelWidths({60, 80, 100, 50, 360, 100});
    SB_Impressao->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogContentsView));
    SB_Help->setIcon(StandardIconEngine::icon(QStyle::SP_DialogHelpButton));
    SB_Calendario->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogInfoView));
    SB_Fechar->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));
    SB_Pega1->setIcon(StandardIconEngine::icon(QStyle::SP_ArrowDown));
    TextEmphasis::applyFormProperties(this);
    for (TDBRadioGroup *group : findChildren<TDBRadioGroup *>())
        TextEmphasis::applyToTitle(group, Qt::darkBlue, true);
    bindControls();
    // The file identification goes into the EDI/BL file's name.
    DBEdit33->setFileNamePart(true);
    connectActions();
    KeyboardOrder::set({DBEdit14, DBEdit15, DBEdit16, DBEdit17, DBEdit18, DBEdit19,   DBEdit20,    DBEdit21, DBEdit22,
                        DBEdit23, DBEdit24, DBEdit25, DBEdit26, DBEdit27, DBEdit28,   DBEdit3,     DBEdit2,  DBEdit1,
                        DBEdit4,  DBEdit5,  DBEdit8,  DBEdit9,  DBEdit39, DBEdit40,   DBEdit30,    DBEdit31, DBEdit32,
                        DBEdit33, RB_POR,   RB_ESP,   RB_ING,   DBRG_Imo, DBRG_Carga, DBRG_Payable});
    KeyboardOrder::set({DBMemo1, DBMemo2, DBEdit6, DBEdit13, DBEdit7, DBEdit10, DBComboBox3, DBRG_Emissao, DBRG_AsPer,
                        DBEdit12, DBEdit29, SB_Pega1, SB_Cntr, SB_SD});
}

void TF_Principal::bindControls()
{
    DataSource *ds = DM_BL->DS_BLS;
    for (TDBEdit *w : findChildren<TDBEdit *>())
        w->bind(ds, w->property("dataField").toString());
    for (TDBMemo *w : findChildren<TDBMemo *>())
        w->bind(ds, w->property("dataField").toString());
    for (TDBRadioGroup *w : findChildren<TDBRadioGroup *>())
        w->bind(ds, w->property("dataField").toString());
    DBComboBox3->bind(ds, DBComboBox3->property("dataField").toString());
}

void TF_Principal::connectActions()
{
    connect(SB_Inclusao, &QToolButton::clicked, this, &TF_Principal::SB_InclusaoClick);
    connect(SB_Edit, &QToolButton::clicked, this, &TF_Principal::SB_EditClick);
    connect(SB_Grava, &QToolButton::clicked, this, &TF_Principal::SB_GravaClick);
    connect(SB_Cancela, &QToolButton::clicked, this, &TF_Principal::SB_CancelaClick);
    connect(SB_Procura, &QToolButton::clicked, this, &TF_Principal::SB_ProcuraClick);
    connect(SB_TXT, &QToolButton::clicked, this, &TF_Principal::SB_TXTClick);
    connect(SB_Impressao, &QToolButton::clicked, this, &TF_Principal::SB_ImpressaoClick);
    connect(SB_Help, &QToolButton::clicked, this, &TF_Principal::SB_HelpClick);
    connect(SB_Calendario, &QToolButton::clicked, this, &TF_Principal::SB_CalendarioClick);
    connect(SB_Fechar, &QToolButton::clicked, this, &TF_Principal::SB_FecharClick);
    connect(SB_Cntr, &QToolButton::clicked, this, &TF_Principal::SB_CntrClick);
    connect(SB_SD, &QToolButton::clicked, this, &TF_Principal::SB_SDClick);
    connect(SB_Pega1, &QToolButton::clicked, this, &TF_Principal::SB_Pega1Click);
    connect(StatusBar1, &TStatusBar::clicked, this, &TF_Principal::SB_HelpClick);
    // The language choice is one control; choosing the language in force changes nothing.
    auto *languages = new RadioButtonGroup(this);
    languages->setObjectName(QStringLiteral("RG_Idioma"));
    for (QRadioButton *item : {RB_POR, RB_ING, RB_ESP})
        languages->addItem(item);
    connect(languages, &QButtonGroup::idClicked, this, [this](int item) {
        if (item + 1 != DM_BL->IdiomaAtual())
            MudaIdioma(item + 1);
    });

    // The highlighting follows the value shown: the clerk's choice or another record.
    EditBuffer *bls = DM_BL->qyBLS;
    connect(bls, &EditBuffer::currentChanged, this, [this] {
        DBRG_CargaChange();
        DBRG_ImoChange();
    });
    connect(bls, &EditBuffer::fieldChanged, this, [this](const QString &column) {
        if (column == QLatin1String("Bls_Carga"))
            DBRG_CargaChange();
        else if (column == QLatin1String("Bls_Imo"))
            DBRG_ImoChange();
    });
    DBEdit12->installEventFilter(this);
    DBEdit29->installEventFilter(this);
}

int TF_Principal::info(const QString &text)
{
    return MD->show(text, TMsgDlg::Information, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
}

void TF_Principal::focusToolbar()
{
    Panel1->setFocus();
}

void TF_Principal::showMode()
{
    StatusBar1->setPanelText(5, DM_BL->ModoBLS);
}

void TF_Principal::setRecordButtons(bool browsing)
{
    SB_Inclusao->setEnabled(browsing);
    SB_Edit->setEnabled(browsing);
    SB_Grava->setEnabled(!browsing);
    SB_Cancela->setEnabled(!browsing);
    SB_TXT->setEnabled(browsing);
}

void TF_Principal::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TF_Principal::FormShow()
{
    MudaIdioma(1);
    focusToolbar();
    StatusBar1->setPanelText(0, QStringLiteral("DALVORA"));
    StatusBar1->setPanelText(1, Formats::shortDate(QDate::currentDate()));
    PageControl1->setCurrentIndex(0);
    StatusBar1->setPanelText(4, QString::fromLatin1(AppInfo::WebAddress));
    showMode();
}

void TF_Principal::closeEvent(QCloseEvent *event)
{
    if (m_closing || FechaSessao()) {
        m_closing = true;
        event->accept();
        QApplication::quit();
    } else {
        event->ignore();
    }
}

void TF_Principal::SB_FecharClick()
{
    close();
}

bool TF_Principal::FechaSessao()
{
    switch (DM_BL->qyBLS->state()) {
    case EditBuffer::Browse:
        if (MD->show(T("Confirma que deseja fechar a sessão ?"), TMsgDlg::Confirmation, DM_BL->IdiomaAtual(),
                     TMsgDlg::OkCancelButtons) != TMsgDlg::ResultOk)
            return false;
        break;
    case EditBuffer::Insert:
        MD->show(T("Inclusão não foi Gravada ou Cancelada."), TMsgDlg::Confirmation, DM_BL->IdiomaAtual(),
                 TMsgDlg::OkButton);
        return false;
    case EditBuffer::Edit:
        info(T("Edição não foi Gravada ou Cancelada."));
        return false;
    case EditBuffer::Closed:
        break;
    }
    DM_BL->qyBLS->close();
    return true;
}

QString TF_Principal::editingNotice() const
{
    return T("Tabela no Modo Editar ou Incluir.") + QStringLiteral("\r\r") + T("Necessário") + QLatin1Char(' ') +
           SB_Grava->text() + QStringLiteral(" / ") + SB_Cancela->text();
}

bool TF_Principal::VerificaRegistro()
{
    EditBuffer *bls = DM_BL->qyBLS;
    if (!bls->isOpen()) {
        info(T("Não tem Registro selecionado"));
        return false;
    }
    if (bls->state() != EditBuffer::Browse) {
        info(editingNotice());
        return false;
    }
    if (bls->integer(QStringLiteral("Bls_Codigo")) == 0) {
        info(T("Não tem Registro selecionado"));
        return false;
    }
    return true;
}

void TF_Principal::FormataLCL()
{
    EditBuffer *bls = DM_BL->qyBLS;
    for (const char *column : {"Bls_LCL_PesoBruto", "Bls_LCL_PesoLiquido", "Bls_LCL_Cubagem"})
        bls->setDisplayFormat(QString::fromLatin1(column), QStringLiteral("###,###,##0.000"));
    bls->setDisplayFormat(QStringLiteral("Bls_LCL_Volumes"), QStringLiteral("###,###,##0"));
}

void TF_Principal::PadroesNovoBL()
{
    EditBuffer *bls = DM_BL->qyBLS;
    DM_BL->copyNewestCompany(bls);
    bls->setText(QStringLiteral("Bls_Payable"), QStringLiteral("ORI"));
    bls->setText(QStringLiteral("Bls_Carga"), QStringLiteral("LCL"));
    bls->setLogical(QStringLiteral("Bls_Imo"), false);
    bls->setText(QStringLiteral("Bls_EmissaoBL"), QStringLiteral("ORI"));
    bls->setLogical(QStringLiteral("Bls_AsPerAgee"), false);
}

void TF_Principal::SB_InclusaoClick()
{
    EditBuffer *bls = DM_BL->qyBLS;
    bls->close();
    bls->setSql(blsSelectNone);
    bls->open();
    FormataLCL();
    bls->insert();
    // The window is in inclusion before the defaults are read from the store: when that read fails, the clerk still
    // types the new BL and can confirm or cancel it.
    showMode();
    PageControl1->setCurrentIndex(0);
    setRecordButtons(false);
    PadroesNovoBL();
    DBEdit14->setFocus(); // after the defaults: setting the cargo and IMO choices moves the focus to the toolbar
    ContaDetalhes();
}

void TF_Principal::SB_EditClick()
{
    focusToolbar();
    if (!VerificaRegistro())
        return;
    DM_BL->qyBLS->edit();
    showMode();
    setRecordButtons(false);
}

QString TF_Principal::ValidaBL()
{
    EditBuffer *bls = DM_BL->qyBLS;
    const QString company = GB_Empresa->title() + QStringLiteral(": ");
    const QList<QPair<QString, QString>> required{{QStringLiteral("Bls_ReservaNr"), L_Reserva->text()},
                                                  {QStringLiteral("Bls_PortLoading"), L_PortLoading->text()},
                                                  {QStringLiteral("Bls_PortDischarge"), L_PortDischarge->text()},
                                                  {QStringLiteral("Bls_Cia_Nome"), company + T("Nome")},
                                                  {QStringLiteral("Bls_Cia_Usuario"), company + T("Usuário")},
                                                  {QStringLiteral("Bls_Cia_Cidade"), company + T("Cidade")},
                                                  {QStringLiteral("Bls_Cia_Arquivo"), company + T("Identificação")}};
    for (const auto &[column, fieldName] : required) {
        if (bls->text(column).isEmpty()) {
            info(T("Necessário") + QLatin1Char(' ') + fieldName);
            return fieldName;
        }
    }
    return {};
}

void TF_Principal::SB_GravaClick()
{
    // A number being typed that is not one is refused by its field; the BL stays pending for correction.
    if (!TypedValue::commitFocused(this))
        return;
    focusToolbar();
    if (!ValidaBL().isEmpty())
        return;
    EditBuffer *bls = DM_BL->qyBLS;
    if (bls->state() == EditBuffer::Insert)
        DM_BL->postWithNewCode(bls);
    else
        bls->post();
    showMode();
    setRecordButtons(true);
}

void TF_Principal::SB_CancelaClick()
{
    TypedValue::discardFocused(this);
    focusToolbar();
    DM_BL->qyBLS->cancel();
    showMode();
    setRecordButtons(true);
}

void TF_Principal::ContaDetalhes()
{
    const qint64 code = DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo"));
    EditBuffer *busca = DM_BL->qyBusca;
    auto count = [&](const char *table, const char *link) {
        busca->close();
        busca->setSql({QStringLiteral("SELECT * from %1").arg(QLatin1String(table)),
                       QStringLiteral("where %1 = :pp1").arg(QLatin1String(link))});
        busca->setPp1(code);
        busca->open();
        int rows = 0;
        for (busca->first(); !busca->eof(); busca->next())
            ++rows;
        busca->close();
        return rows;
    };
    const int containers = count("Dal_Cntr", "Cnt_Cod_BL");
    const int ncms = count("Dal_NCM", "Ncm_Cod_BL");
    const int sds = count("Dal_SD", "Sd_Cod_BL");
    m_counts = {containers, sds, ncms};
    SB_Cntr->setText(asciiCase(T("Container"), true) + QStringLiteral(" (%1)").arg(containers));
    SB_SD->setText(QStringLiteral("SD (%1) / NCM (%2)").arg(sds).arg(ncms));
}

void TF_Principal::MudaIdioma(int language)
{
    LanguageSwitch::apply(language);
    I_Bandeira->setPixmap(QPixmap(LanguageSwitch::flagPath(language)));

    const QString destination = language == 2 ? QStringLiteral("Destination") : QStringLiteral("Destino");
    for (TDBRadioGroup *group : {DBRG_Payable, DBRG_Emissao}) {
        QStringList items = group->items();
        items[1] = destination;
        group->setItems(items);
    }
    L_Cuba->setText(language == 2   ? QStringLiteral("Measurement")
                    : language == 3 ? QStringLiteral("Cubicaje")
                                    : QStringLiteral("Cubagem"));
    composeCaptions();
    focusToolbar();
}

void TF_Principal::composeCaptions()
{
    StatusBar1->setPanelText(2, T("Versão") + QLatin1Char(' ') + QString::fromLatin1(AppInfo::Version));
    StatusBar1->setPanelText(3, T("Sobre"));
    SB_TXT->setText(T("Gerar") + QLatin1Char(' ') + T("Arquivo"));
    SB_Cntr->setText(asciiCase(T("Container"), true));
    L_Tipo->setText(T("Tipo") + QLatin1Char(' ') + T("Volume"));
    SB_Cntr->setToolTip(T("INCLUIR") + QLatin1Char(' ') + SB_Cntr->text());
    SB_SD->setToolTip(T("INCLUIR") + QLatin1Char(' ') + SB_SD->text());
    DBRG_Carga->setTitle(asciiCase(T("Carga"), true));
    GB_LCL->setTitle(T("SOLTA"));
    GB_Empresa->setTitle(T("Empresa") + QStringLiteral(" - ") + T("Emissão"));
    L_Ident->setText(T("Identificação") + QLatin1Char(' ') + T("Arquivo") + QStringLiteral(":   (") + T("Máximo") +
                     QLatin1Char(' ') + asciiCase(T("De"), false) + QStringLiteral("  5  ") + T("caracteres") +
                     QStringLiteral(") ..."));
}

void TF_Principal::highlightChoice(TDBRadioGroup *group)
{
    const int chosen = group->itemIndex();
    const QList<QRadioButton *> buttons = group->buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        const bool isChosen = i == chosen;
        TextEmphasis::apply(buttons[i], isChosen ? QColor(Qt::red) : QColor(Qt::darkBlue), isChosen || chosen < 0);
    }
}

void TF_Principal::DBRG_CargaChange()
{
    highlightChoice(DBRG_Carga);
    GB_LCL->setTitle(DBRG_Carga->itemIndex() == 1 ? QStringLiteral("CNTR") : T("SOLTA"));
    focusToolbar();
}

void TF_Principal::DBRG_ImoChange()
{
    highlightChoice(DBRG_Imo);
    if (DBRG_Imo->itemIndex() == 1 && DM_BL->DS_BLS->isEditing()) {
        DM_BL->qyBLS->clearField(QStringLiteral("Bls_Imo_IMDG"));
        DM_BL->qyBLS->clearField(QStringLiteral("Bls_Imo_UN"));
    }
    focusToolbar();
}

bool TF_Principal::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == DBEdit12 || watched == DBEdit29) && event->type() == QEvent::FocusIn)
        imoFieldEntered();
    return QWidget::eventFilter(watched, event);
}

void TF_Principal::imoFieldEntered()
{
    if (!DM_BL->DS_BLS->isEditing() || DBRG_Imo->itemIndex() != 1)
        return;
    info(T("Somente") + QLatin1Char(' ') + T("(p/ Carga IMO)"));
    DM_BL->qyBLS->clearField(QStringLiteral("Bls_Imo_IMDG"));
    DM_BL->qyBLS->clearField(QStringLiteral("Bls_Imo_UN"));
    focusToolbar();
}

void TF_Principal::SB_ProcuraClick()
{
    if (DM_BL->DS_BLS->isEditing()) {
        MD->show(editingNotice(), TMsgDlg::Error, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
        showMode();
        return;
    }
    const TF_Procura::Result result = TF_Procura::execSearch(this);
    EditBuffer *bls = DM_BL->qyBLS;
    if (result.RetornoProcura == TF_Procura::Open) {
        bls->close();
        bls->setSql(blsSelectOne);
        bls->setPp1(result.code);
        bls->open();
        FormataLCL();
        SB_Edit->setEnabled(true);
        SB_TXT->setEnabled(true);
        ContaDetalhes();
    } else if (result.RetornoProcura == TF_Procura::Duplicate) {
        // The duplicate waits in Insert: its marks get the search window's marks as one more line, its
        // description is the search window's description.
        const QString crlf = QStringLiteral("\r\n");
        QString marks = bls->text(QStringLiteral("Bls_Marks"));
        if (!marks.isEmpty() && !marks.endsWith(crlf))
            marks += crlf;
        marks += QString(result.marks).replace(QLatin1Char('\n'), crlf) + crlf;
        bls->setText(QStringLiteral("Bls_Marks"), marks);
        bls->setText(QStringLiteral("Bls_Descricao"), QString(result.description).replace(QLatin1Char('\n'), crlf));
        setRecordButtons(false);
        ContaDetalhes();
    }
    showMode();
}

void TF_Principal::SB_CntrClick()
{
    focusToolbar();
    if (!VerificaRegistro())
        return;
    const QString refusal = TF_Container::refusal(DM_BL->qyBLS->text(QStringLiteral("Bls_Carga")), DBRG_Carga->title());
    if (!refusal.isEmpty()) {
        info(refusal);
        return;
    }
    TF_Container::execFor(this);
    ContaDetalhes();
    TotalizaContainers();
}

void TF_Principal::SB_SDClick()
{
    focusToolbar();
    if (!VerificaRegistro())
        return;
    TF_SD::execFor(this);
    ContaDetalhes();
}

void TF_Principal::SB_Pega1Click()
{
    focusToolbar();
    TF_MandaMemo::anexar(this, m_counts, SB_Edit->text(), [this](const QString &text) { info(text); });
}
void TF_Principal::SB_TXTClick()
{
    focusToolbar();
    if (!VerificaRegistro())
        return;
    const QStringList issue = DBRG_Emissao->items();
    TF_TXT::execFor(this, {issue.value(0), issue.value(1)}, DBRG_Carga->title());
}
QString TF_Principal::chosenItem(const TDBRadioGroup *group)
{
    const int chosen = group->itemIndex();
    return chosen < 0 ? QString() : group->items().value(chosen);
}

void TF_Principal::SB_ImpressaoClick()
{
    if (!VerificaRegistro())
        return;
    const DraftRemarks remarks{DBRG_Emissao->title(),  chosenItem(DBRG_Emissao), DBRG_AsPer->title(),
                               chosenItem(DBRG_AsPer), DBRG_Carga->title(),      chosenItem(DBRG_Carga),
                               DBRG_Imo->title(),      chosenItem(DBRG_Imo)};
    DraftPreview::open(this, DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo")), remarks);
}

void TF_Principal::SB_HelpClick()
{
    TAboutBox::execAbout(this, LanguageHolder::current());
}

void TF_Principal::SB_CalendarioClick()
{
    TF_Calendario::execCalendar(this);
}
void TF_Principal::TotalizaContainers()
{
    ContainerTotals::TotalizaContainers(*DM_BL, L_Tipo->text(), L_Cuba->text(), [this](const QString &question) {
        return MD->show(question, TMsgDlg::Confirmation, DM_BL->IdiomaAtual(), TMsgDlg::OkCancelButtons) ==
               TMsgDlg::ResultOk;
    });
}
