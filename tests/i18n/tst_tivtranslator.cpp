#include "TIvBinaryDictionary.h"
#include "TIvTranslator.h"
#include "TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// Stands for our own list controls (radio group, status bar, grid): the list is the design text, and the inner
// radio buttons are drawn from it.
class ListControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(QStringList panelTexts READ panelTexts WRITE setPanelTexts)
    Q_PROPERTY(QStringList columnTitles READ columnTitles WRITE setColumnTitles)

public:
    using QWidget::QWidget;
    QStringList items() const { return m_items; }
    void setItems(const QStringList &items)
    {
        m_items = items;
        qDeleteAll(findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly));
        for (const QString &item : items)
            new QRadioButton(item, this);
    }
    QStringList panelTexts() const { return m_panels; }
    void setPanelTexts(const QStringList &texts) { m_panels = texts; }
    QStringList columnTitles() const { return m_titles; }
    void setColumnTitles(const QStringList &titles) { m_titles = titles; }

private:
    QStringList m_items, m_panels, m_titles;
};

namespace {
// A small window with one control of each kind the translators know, every text a design text.
QWidget *makeWindow(const QString &targets = QString::fromLatin1(TIvTranslator::DefaultTargets))
{
    auto *w = new QWidget;
    w->setWindowTitle(u"Calendário"_s);
    w->setToolTip(u"Fechar"_s);
    auto *layout = new QVBoxLayout(w);
    auto *label = new QLabel(u"Navio"_s, w);
    label->setObjectName(u"label"_s);
    auto *button = new QPushButton(u"Confirmar"_s, w);
    button->setObjectName(u"button"_s);
    button->setToolTip(u"Confirmar Inclusão/Edição"_s);
    auto *group = new QGroupBox(u"Carga"_s, w);
    group->setObjectName(u"group"_s);
    auto *check = new QCheckBox(u"Somente"_s, group);
    check->setObjectName(u"check"_s);
    auto *combo = new QComboBox(w);
    combo->setObjectName(u"combo"_s);
    combo->addItems({u"Todos"_s, u"Nenhuma"_s, u"BAGS"_s});
    combo->setCurrentIndex(1);
    auto *tabs = new QTabWidget(w);
    tabs->setObjectName(u"tabs"_s);
    auto *page1 = new QWidget;
    auto *page2 = new QWidget;
    tabs->addTab(page1, u"Cadastro"_s);
    tabs->addTab(page2, u"Descrição"_s);
    auto *onHiddenPage = new QLabel(u"Viagem"_s, page2);
    onHiddenPage->setObjectName(u"onHiddenPage"_s);
    auto *edit = new QLineEdit(u"Nome"_s, page1);
    edit->setObjectName(u"edit"_s);
    auto *boundEdit = new QLineEdit(u"Nome"_s, page1);
    boundEdit->setObjectName(u"boundEdit"_s);
    boundEdit->setProperty("dataField", u"Bls_Navio"_s);
    auto *memo = new QPlainTextEdit(u"Volume"_s, w);
    memo->setObjectName(u"memo"_s);
    auto *list = new ListControl(w);
    list->setObjectName(u"list"_s);
    list->setItems({u"Sim"_s, u"Não"_s, u"ORI"_s});
    list->setPanelTexts({QString(), u"Sobre"_s});
    list->setColumnTitles({u"Número"_s, u"Lacre"_s});
    auto *table = new QTableWidget(0, 2, w);
    table->setObjectName(u"table"_s);
    table->setHorizontalHeaderLabels({u"Tipo"_s, u"Tara"_s});
    auto *hiddenCombo = new QComboBox(w);
    hiddenCombo->setObjectName(u"hiddenCombo"_s);
    hiddenCombo->addItems({u"Todos"_s});
    hiddenCombo->hide();
    auto *files = new QFileDialog(w);
    files->setObjectName(u"files"_s);
    files->setNameFilters({u"Arquivos (*.TXT)"_s, u"Todos"_s});
    auto *child = new QDialog(w);
    auto *childLabel = new QLabel(u"Fechar"_s, child);
    childLabel->setObjectName(u"childLabel"_s);
    for (QWidget *widget :
         {static_cast<QWidget *>(label), static_cast<QWidget *>(button), static_cast<QWidget *>(group),
          static_cast<QWidget *>(combo), static_cast<QWidget *>(tabs), static_cast<QWidget *>(memo),
          static_cast<QWidget *>(list), static_cast<QWidget *>(table), static_cast<QWidget *>(hiddenCombo)})
        layout->addWidget(widget);
    new TIvTranslator(w, targets);
    return w;
}

template <typename T> T *child(QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

// Every text of the window the translator may touch, in a fixed order.
QStringList snapshot(QWidget *w)
{
    auto *combo = child<QComboBox>(w, "combo");
    auto *tabs = child<QTabWidget>(w, "tabs");
    auto *list = child<ListControl>(w, "list");
    auto *table = child<QTableWidget>(w, "table");
    QStringList texts{w->windowTitle(),
                      w->toolTip(),
                      child<QLabel>(w, "label")->text(),
                      child<QPushButton>(w, "button")->text(),
                      child<QPushButton>(w, "button")->toolTip(),
                      child<QGroupBox>(w, "group")->title(),
                      child<QCheckBox>(w, "check")->text()};
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    texts << combo->currentText() << tabs->tabText(0) << tabs->tabText(1) << child<QLabel>(w, "onHiddenPage")->text()
          << child<QLineEdit>(w, "edit")->text() << child<QLineEdit>(w, "boundEdit")->text()
          << child<QPlainTextEdit>(w, "memo")->toPlainText() << list->items() << list->panelTexts()
          << list->columnTitles() << table->horizontalHeaderItem(0)->text() << table->horizontalHeaderItem(1)->text()
          << child<QComboBox>(w, "hiddenCombo")->itemText(0) << child<QFileDialog>(w, "files")->nameFilters()
          << child<QLabel>(w, "childLabel")->text();
    for (QRadioButton *radio : list->findChildren<QRadioButton *>())
        texts << radio->text();
    return texts;
}

const QStringList Portuguese{u"Calendário"_s,
                             u"Fechar"_s,
                             u"Navio"_s,
                             u"Confirmar"_s,
                             u"Confirmar Inclusão/Edição"_s,
                             u"Carga"_s,
                             u"Somente"_s,
                             u"Todos"_s,
                             u"Nenhuma"_s,
                             u"BAGS"_s,
                             u"Nenhuma"_s,
                             u"Cadastro"_s,
                             u"Descrição"_s,
                             u"Viagem"_s,
                             u"Nome"_s,
                             u"Nome"_s,
                             u"Volume"_s,
                             u"Sim"_s,
                             u"Não"_s,
                             u"ORI"_s,
                             QString(),
                             u"Sobre"_s,
                             u"Número"_s,
                             u"Lacre"_s,
                             u"Tipo"_s,
                             u"Tara"_s,
                             u"Todos"_s,
                             u"Arquivos (*.TXT)"_s,
                             u"Todos"_s,
                             u"Fechar"_s,
                             u"Sim"_s,
                             u"Não"_s,
                             u"ORI"_s};
const QStringList English{u"Calendar"_s,
                          u"Close"_s,
                          u"Ship"_s,
                          u"Confirm"_s,
                          u"Confirm Add/Edit"_s,
                          u"Cargo"_s,
                          u"Only"_s,
                          u"All"_s,
                          u"None"_s,
                          u"BAGS"_s,
                          u"None"_s,
                          u"Record"_s,
                          u"Description"_s,
                          u"Voyage"_s,
                          u"Name"_s,
                          u"Nome"_s,
                          u"Volumes"_s,
                          u"Yes"_s,
                          u"No"_s,
                          u"ORI"_s,
                          QString(),
                          u"About"_s,
                          u"Number"_s,
                          u"Seal"_s,
                          u"Type"_s,
                          u"Tare"_s,
                          u"Todos"_s,
                          u"Arquivos (*.TXT)"_s,
                          u"All"_s,
                          u"Fechar"_s,
                          u"Yes"_s,
                          u"No"_s,
                          u"ORI"_s};
const QStringList Spanish{u"Calendario"_s,
                          u"Cerrar"_s,
                          u"Buque"_s,
                          u"Confirmar"_s,
                          u"Confirmar Inclusión/Edición"_s,
                          u"Carga"_s,
                          u"Solamente"_s,
                          u"Todos"_s,
                          u"Ninguna"_s,
                          u"BAGS"_s,
                          u"Ninguna"_s,
                          u"Catastro"_s,
                          u"Descripción"_s,
                          u"Viaje"_s,
                          u"Nombre"_s,
                          u"Nome"_s,
                          u"Bultos"_s,
                          u"Sí"_s,
                          u"No"_s,
                          u"ORI"_s,
                          QString(),
                          u"Sobre"_s,
                          u"Número"_s,
                          u"Precinto"_s,
                          u"Tipo"_s,
                          u"Tara"_s,
                          u"Todos"_s,
                          u"Arquivos (*.TXT)"_s,
                          u"Todos"_s,
                          u"Fechar"_s,
                          u"Sí"_s,
                          u"No"_s,
                          u"ORI"_s};

const QStringList &expectedFor(int number)
{
    return number == 2 ? English : number == 3 ? Spanish : Portuguese;
}
} // namespace

class TestTIvTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { TIvBinaryDictionary::instance().switchLanguage(1); }
    void cleanup() { TIvBinaryDictionary::instance().switchLanguage(1); }
    void roundTripRestoresDesignTexts();
    void windowOpenedAfterSwitchStartsTranslated();
    void codeWrittenTextIsNewNative();
    void classLimitedTargets();
    void destroyedWindowsAndWidgetsAreForgotten();
    void dataAwareControlsKeepTheirValues();
};

void TestTIvTranslator::roundTripRestoresDesignTexts()
{
    std::unique_ptr<QWidget> w(makeWindow());
    auto *combo = child<QComboBox>(w.get(), "combo");
    QCOMPARE(snapshot(w.get()), Portuguese);
    for (int number : {2, 3, 1, 3, 2, 2, 1}) {
        TIvBinaryDictionary::instance().switchLanguage(number);
        QCOMPARE(snapshot(w.get()), expectedFor(number));
        QCOMPARE(combo->currentIndex(), 1);
    }
}

void TestTIvTranslator::windowOpenedAfterSwitchStartsTranslated()
{
    TIvBinaryDictionary::instance().switchLanguage(2);
    std::unique_ptr<QWidget> w(makeWindow());
    QCOMPARE(snapshot(w.get()), English);
    TIvBinaryDictionary::instance().switchLanguage(1);
    QCOMPARE(snapshot(w.get()), Portuguese);
}

void TestTIvTranslator::codeWrittenTextIsNewNative()
{
    std::unique_ptr<QWidget> w(makeWindow());
    auto *label = child<QLabel>(w.get(), "label");
    TIvBinaryDictionary::instance().switchLanguage(2);
    QCOMPARE(label->text(), u"Ship"_s);
    label->setText(u"Sair"_s); // a caption composed by code, in native words
    TIvBinaryDictionary::instance().switchLanguage(3);
    QCOMPARE(label->text(), u"Salir"_s);
    TIvBinaryDictionary::instance().switchLanguage(1);
    QCOMPARE(label->text(), u"Sair"_s);
}

void TestTIvTranslator::classLimitedTargets()
{
    // The search window's list: memos' text, but not an edit's.
    std::unique_ptr<QWidget> w(makeWindow(u"Hint, Caption, Title, TMemo.Text"_s));
    // The memo's whole text is looked up without its closing line breaks.
    child<QPlainTextEdit>(w.get(), "memo")->setPlainText(u"Volume\r\n\n"_s);
    TIvBinaryDictionary::instance().switchLanguage(2);
    QCOMPARE(child<QPlainTextEdit>(w.get(), "memo")->toPlainText(), u"Volumes"_s);
    QCOMPARE(child<QLineEdit>(w.get(), "edit")->text(), u"Nome"_s);
    QCOMPARE(child<QComboBox>(w.get(), "combo")->itemText(0), u"Todos"_s); // no Items target
    QCOMPARE(child<ListControl>(w.get(), "list")->items().first(), u"Sim"_s);
    QCOMPARE(child<ListControl>(w.get(), "list")->panelTexts().last(), u"Sobre"_s); // no SimpleText target
    QCOMPARE(child<ListControl>(w.get(), "list")->columnTitles().last(), u"Seal"_s);
    QCOMPARE(child<QLabel>(w.get(), "label")->text(), u"Ship"_s);
}

void TestTIvTranslator::destroyedWindowsAndWidgetsAreForgotten()
{
    std::unique_ptr<QWidget> w(makeWindow());
    auto *translator = w->findChild<TIvTranslator *>(u"IvT"_s);
    QVERIFY(translator);
    const int remembered = translator->memorySize();
    QVERIFY(remembered > 0);
    delete child<QLabel>(w.get(), "label");
    QCOMPARE(translator->memorySize(), remembered - 1);

    QPointer<TIvTranslator> guard(translator);
    w.reset();
    QVERIFY(guard.isNull());
    TIvBinaryDictionary::instance().switchLanguage(2); // no translator of the closed window is called
    QCOMPARE(TIvBinaryDictionary::instance().language(), 1);
}

void TestTIvTranslator::dataAwareControlsKeepTheirValues()
{
    QWidget w;
    auto *memo = new QPlainTextEdit(u"Volume"_s, &w);
    memo->setProperty("dataField", u"Bls_Descricao"_s);
    auto *combo = new QComboBox(&w);
    combo->setEditable(true);
    combo->setProperty("dataField", u"Bls_TipoVolume"_s);
    combo->addItems({u"BAGS"_s, u"CAIXAS"_s, u"TAMBORES"_s});
    combo->setCurrentIndex(1);
    int edits = 0;
    connect(combo, &QComboBox::editTextChanged, &w, [&edits] { ++edits; });
    new TIvTranslator(&w);
    TIvBinaryDictionary::instance().switchLanguage(2);
    QCOMPARE(combo->itemText(1), u"BOXES"_s);
    QCOMPARE(combo->itemText(2), u"BARREL"_s);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(combo->currentText(), u"CAIXAS"_s); // the field's value, not a design text
    QCOMPARE(edits, 0);                          // nothing reached the field
}

DALVORA_TEST_MAIN(TestTIvTranslator)
#include "tst_tivtranslator.moc"
