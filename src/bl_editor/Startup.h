#pragma once

#include <functional>

class DalvoraApplication;
class TF_Principal;

// The program's start: one copy per desktop, the store and the data module, then the main window and its event
// loop. `shown` runs once the main window has been shown (the start-up benchmark uses it).
class Startup
{
public:
    static int run(DalvoraApplication &app, const std::function<void(TF_Principal &)> &shown = {});
};
