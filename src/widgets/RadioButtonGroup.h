#pragma once

#include <QButtonGroup>

class QRadioButton;

// Radio buttons that act as one control: the choice is exclusive, the group is one Tab stop (the chosen item, or the
// first one while nothing is chosen) and the arrow keys move the choice inside it.
class RadioButtonGroup : public QButtonGroup
{
    Q_OBJECT

public:
    explicit RadioButtonGroup(QObject *parent = nullptr);

    void addItem(QRadioButton *item);
    // Chooses item `index`, or nothing with -1, without signalling a click.
    void setChosen(int index);
    int chosen() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeTabStop();
};
