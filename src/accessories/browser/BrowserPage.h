#pragma once

#include <QWebEnginePage>

// The page of a browser window: a request to open another window (a link with a target window, a script) is refused,
// so the manual always stays in its own window.
class BrowserPage : public QWebEnginePage
{
    Q_OBJECT

public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
};
