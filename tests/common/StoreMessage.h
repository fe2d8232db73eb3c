#pragma once

#include "StoreError.h"

#include <QString>
#include <functional>

// What the store says when an action fails; empty when it does not.
inline QString storeMessage(const std::function<void()> &action)
{
    try {
        action();
    } catch (const StoreError &e) {
        return e.message();
    }
    return {};
}
