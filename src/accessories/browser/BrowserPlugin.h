#pragma once

#include "BrowserFactory.h"

#include <QObject>

// The browser plugin's entry: builds browser windows on the web engine.
class BrowserPlugin : public QObject, public BrowserFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserFactory_iid)
    Q_INTERFACES(BrowserFactory)

public:
    QWidget *createBrowser(const QUrl &address) override;
};
