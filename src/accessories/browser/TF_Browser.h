#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TF_Browser;
}

class QUrl;

// The window that shows the online manual: one web view filling it. Not modal; lives until the user closes it.
class TF_Browser : public QWidget
{
    Q_OBJECT

public:
    explicit TF_Browser(QWidget *parent = nullptr);
    ~TF_Browser() override;

    void navigate(const QUrl &address);

private:
    std::unique_ptr<Ui::TF_Browser> ui;
};
