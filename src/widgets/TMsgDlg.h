#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The message dialog of every window: its title and button captions follow the interface language given to show(),
// whatever the system's language. The text arrives translated.
class TMsgDlg : public QObject
{
    Q_OBJECT

public:
    enum MessageType { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Custom = 4 };
    // Button kinds, by bit: Yes, No, OK, Cancel, Abort, Retry, Ignore, All, No-to-all, Yes-to-all, Help.
    enum ButtonKind { Yes, No, Ok, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help, ButtonKindCount };
    static constexpr int OkButton = 1 << Ok;                          // 4
    static constexpr int OkCancelButtons = (1 << Ok) | (1 << Cancel); // 12
    enum Result {
        ResultOk = 1,
        ResultCancel = 2,
        ResultAbort = 3,
        ResultRetry = 4,
        ResultIgnore = 5,
        ResultYes = 6,
        ResultNo = 7,
        ResultAll = 8
    };
    enum BeepSound { bsNone, bsAsterix, bsCriticalStop, bsDefault, bsExclamation, bsQuestion };
    enum Style { msCenter, msPosition };
    // Property values of the system's windows. The main window and the list windows (container, SD, search) use
    // wide buttons and the backslash as line separator; the smaller windows (duplicate, memo composer, EDI) the
    // component's own sizes and "|". Buttons are navy on the main and duplicate windows; the about box has plain
    // 8 pt fonts.
    enum Preset { MainWindowPreset, DialogPreset, AboutBoxPreset, DetailWindowPreset, DuplicatePreset };

    explicit TMsgDlg(QObject *parent = nullptr);

    void applyPreset(Preset preset);
    void setLineSeparator(QChar separator) { LineSeparator = separator; }

    // Shows the dialog modally and returns the result of the button pressed (2 for Escape).
    int show(const QString &text, int type, int language, int buttons);

    static QString title(int type, int language);
    static QString caption(ButtonKind kind, int language);
    static int result(ButtonKind kind);

    // Where the icon, the text and the buttons go, and the client size, for a text label of the given size.
    struct Geometry
    {
        QSize client;
        QRect icon;
        QRect label;
        QList<QRect> buttons;
    };
    Geometry layout(const QSize &labelSize, int buttonCount) const;

    int BtnWidth = 75;
    int BtnHeight = 25;
    int BtnSpace = 15;
    int Indent = 14;
    QChar LineSeparator = QLatin1Char('|');
    bool ShowIcon = true;
    bool ShowGlyph = true;
    QColor Color; // background; invalid: the button face colour
    QFont ButtonFont;
    QColor ButtonColor;
    QFont MessageFont;
    QColor MessageColor;
    BeepSound Beep = bsNone;
    Style DialogStyle = msCenter;
    int PosLeft = 0;
    int PosTop = 0;
    ButtonKind DefaultButton = Yes;

    // What the last show() was given.
    QString lastText() const { return m_text; }
    int lastType() const { return m_type; }
    int lastLanguage() const { return m_language; }
    int lastButtons() const { return m_buttons; }

private:
    QString m_text;
    int m_type = Warning;
    int m_language = 0;
    int m_buttons = OkButton;
};
