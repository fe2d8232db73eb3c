#pragma once

#include <QList>

class QWidget;

namespace KeyboardOrder {
// Sets the Tab chain through `stops` in order. A widget holding radio buttons stands for its items, which are
// chained together so the group's one Tab stop falls in its place. Call it once every child exists.
void set(const QList<QWidget *> &stops);
} // namespace KeyboardOrder
