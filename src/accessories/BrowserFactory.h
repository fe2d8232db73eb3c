#pragma once

#include <QtPlugin>

class QUrl;
class QWidget;

// What the browser plugin offers: a browser window, created on the manual button's first use so that the web engine
// never weighs on the program's start-up.
class BrowserFactory
{
public:
    virtual ~BrowserFactory() = default;
    // A new top-level browser window, not shown yet, already loading `address`.
    virtual QWidget *createBrowser(const QUrl &address) = 0;
};

#define BrowserFactory_iid "com.example.dalvora.BrowserFactory/1.0"
Q_DECLARE_INTERFACE(BrowserFactory, BrowserFactory_iid)
