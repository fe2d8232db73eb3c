#include "StoreFixture.h"
#include "TAboutBox.h"
#include "TF_Calendario.h"
#include "TF_Container.h"
#include "TF_Duplicar.h"
#include "TF_MandaMemo.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_SD.h"
#include "TF_TXT.h"
#include "TestEnv.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// The text as drawn: an accelerator mark is not drawn, a doubled one is drawn once.
QString drawn(const QString &text, bool mnemonics)
{
    if (!mnemonics)
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        out += text.at(i);
    }
    return out;
}

// The widest line of the text in the font.
int advance(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// Shown as the window is designed: hidden only as a page of a stack (a tab page not in front) or not at all.
bool designedVisible(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *w = widget; w && w != window; w = w->parentWidget()) {
        if (w->isHidden() && !qobject_cast<const QStackedWidget *>(w->parentWidget()))
            return false;
        // The inner parts of lists, drop-downs and spin boxes are drawn by those controls.
        const QWidget *parent = w->parentWidget();
        if (qobject_cast<const QAbstractItemView *>(parent) || qobject_cast<const QComboBox *>(parent) ||
            qobject_cast<const QAbstractSpinBox *>(parent))
            return false;
    }
    return true;
}

// Where each control draws its text (or its indicator), in its own coordinates; empty when it draws none.
struct Drawn
{
    QString what;
    QRect box;       // the rectangle the text or mark needs
    QRect available; // the rectangle the control gives it
};

QList<Drawn> drawnBoxes(QWidget *widget)
{
    QList<Drawn> boxes;
    QStyle *style = widget->style();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty() || label->wordWrap() || Qt::mightBeRichText(label->text()))
            return {};
        const QString text = drawn(label->text(), label->buddy() != nullptr);
        const QRect content =
            label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        const QSize need(advance(label->font(), text),
                         QFontMetrics(label->font()).height() * int(text.count(u'\n') + 1));
        boxes << Drawn{text, QStyle::alignedRect(label->layoutDirection(), label->alignment(), need, content), content};
    } else if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
        auto *button = static_cast<QAbstractButton *>(widget);
        const bool check = qobject_cast<QCheckBox *>(widget);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const QRect mark = style->subElementRect(check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator,
                                                 &option, button);
        boxes << Drawn{button->text() + u" (mark)"_s, mark, button->rect()};
        if (!button->text().isEmpty()) {
            const QRect content = style->subElementRect(
                check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button);
            const QString text = drawn(button->text(), true);
            const QSize need(advance(button->font(), text), QFontMetrics(button->font()).height());
            boxes << Drawn{
                text, QStyle::alignedRect(button->layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter, need, content),
                content};
        }
    } else if (auto *push = qobject_cast<QPushButton *>(widget); push && !push->text().isEmpty()) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        QRect content = style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        if (!push->icon().isNull())
            content.setLeft(content.left() + push->iconSize().width() + 4);
        const QString text = drawn(push->text(), true);
        const QSize need(advance(push->font(), text), QFontMetrics(push->font()).height());
        boxes << Drawn{text, QStyle::alignedRect(push->layoutDirection(), Qt::AlignCenter, need, content), content};
    } else if (auto *tool = qobject_cast<QToolButton *>(widget);
               tool && !tool->text().isEmpty() && tool->toolButtonStyle() != Qt::ToolButtonIconOnly &&
               !(tool->toolButtonStyle() == Qt::ToolButtonFollowStyle && !tool->icon().isNull())) {
        // The button's own measure of its text and icon, margins included.
        const QSize need(tool->sizeHint().width(), tool->height());
        boxes << Drawn{drawn(tool->text(), true),
                       QStyle::alignedRect(tool->layoutDirection(), Qt::AlignCenter, need, tool->rect()), tool->rect()};
    } else if (auto *group = qobject_cast<QGroupBox *>(widget); group && !group->title().isEmpty()) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        const QRect frame = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, group);
        const QString text = drawn(group->title(), true);
        boxes << Drawn{text, QRect(label.topLeft(), QSize(advance(group->font(), text), label.height())),
                       group->rect().adjusted(0, 0, -(group->width() - frame.right()), 0)};
    }
    return boxes;
}

// Column titles that need more than their column: the title's advance and the header's margins on both sides.
QStringList cutTitles(const QTableView *view, const QString &where)
{
    QStringList cut;
    const QHeaderView *header = view->horizontalHeader();
    if (!view->model() || header->isHidden())
        return cut;
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        const QString title = view->model()->headerData(i, Qt::Horizontal).toString();
        const int need = advance(header->font(), title) + 2 * margin;
        if (need > header->sectionSize(i))
            cut << u"%1 column %2 \"%3\": needs %4 px, has %5"_s.arg(where).arg(i).arg(title).arg(need).arg(
                header->sectionSize(i));
    }
    return cut;
}

// Every text of the window whose box is cut by its control or by any control it lies in.
QStringList cutTexts(QWidget *window, const QString &language)
{
    QStringList cut;
    const QString windowName = window->objectName();
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!designedVisible(widget, window))
            continue;
        const QString where = u"%1 (%2) %3"_s.arg(windowName, language, widget->objectName());
        if (auto *view = qobject_cast<QTableView *>(widget))
            cut << cutTitles(view, where);
        for (const Drawn &d : drawnBoxes(widget)) {
            if (!d.available.contains(d.box)) {
                cut << u"%1 \"%2\": needs %3 x %4 at %5,%6, has %7 x %8"_s.arg(where, d.what)
                           .arg(d.box.width())
                           .arg(d.box.height())
                           .arg(d.box.x())
                           .arg(d.box.y())
                           .arg(d.available.width())
                           .arg(d.available.height());
                continue;
            }
            // Every control it lies in clips it at its own edges.
            QRect box = d.box;
            for (QWidget *w = widget; w != window; w = w->parentWidget()) {
                box.translate(w->pos());
                QWidget *parent = w->parentWidget();
                if (!parent->rect().contains(box)) {
                    cut << u"%1 \"%2\": cut by %3"_s.arg(where, d.what, parent->objectName());
                    break;
                }
            }
        }
    }
    return cut;
}

// Checks the window with each of its tab widgets' pages in front.
QStringList cutTextsOnEveryPage(QWidget *window, const QString &language)
{
    QStringList cut = cutTexts(window, language);
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            cut << cutTexts(window, language);
        }
        tabs->setCurrentIndex(shown);
    }
    cut.removeDuplicates();
    return cut;
}

void show(QWidget *window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

} // namespace

// Every caption of every window fits its control in each language: measured in the controls' own fonts (the embedded
// ones, so every machine measures the same), against the rectangles the style gives the text.
class TestFit : public QObject
{
    Q_OBJECT

    StoreFixture store;

private Q_SLOTS:
    void init()
    {
        store.setUp();
        const int bl = StoreFixture::newBl({{"Bls_Imo", true}, {"Bls_Cia_Nome", "DALVORA"}});
        StoreFixture::addContainer(bl, u"MSKU9070323"_s, u"Dry Box 20"_s, 1000, 100);
        StoreFixture::addDetail(DM_BL->qySD, bl, {{"Sd_Tipo", "SD"}, {"Sd_Numero", "08/12345-6"}});
        StoreFixture::addDetail(DM_BL->qyNCM, bl, {{"Ncm_Numero", "0901.11.10"}});
    }
    void cleanup() { store.tearDown(); }

    void noTextIsCut_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Português") << 1;
        QTest::newRow("English") << 2;
        QTest::newRow("Español") << 3;
    }

    void noTextIsCut()
    {
        QFETCH(int, language);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        TF_Principal main;
        show(&main);
        // The language buttons, so the main window composes its run-time captions too.
        QRadioButton *button = language == 1 ? main.RB_POR : language == 2 ? main.RB_ING : main.RB_ESP;
        button->click();
        QCOMPARE(DM_BL->IdiomaAtual(), language);
        StoreFixture::showBl(1);

        QStringList cut = cutTextsOnEveryPage(&main, name);
        const QList<std::function<QWidget *()>> windows{
            [] {
                TF_Container::openQuery();
                return new TF_Container;
            },
            [] {
                TF_SD::openQueries();
                return new TF_SD;
            },
            [] { return new TF_MandaMemo; },
            [] {
                DM_BL->qyMostra->setOrder(TF_Procura::orderColumn(0));
                DM_BL->qyMostra->open();
                return new TF_Procura;
            },
            [] { return new TF_Duplicar(1); },
            [] { return new TF_TXT; },
            [] { return new TF_Calendario; },
            [] { return new TAboutBox; },
        };
        for (const auto &make : windows) {
            std::unique_ptr<QWidget> window(make());
            const QSize designed = window->size();
            show(window.get());
            cut << cutTextsOnEveryPage(window.get(), name);
            QCOMPARE(window->size(), designed);
        }
        QVERIFY2(cut.isEmpty(), qPrintable(u"\n"_s + cut.join(u'\n')));
    }
};

DALVORA_TEST_MAIN(TestFit)
#include "tst_fit.moc"
