#pragma once

class QApplication;

// Hints of every window shown as balloons: bold, on the tooltip colour, 500 ms after the pointer comes to rest,
// hidden again after 5000 ms.
class BalloonHints
{
public:
    static void install(QApplication &app);
};
