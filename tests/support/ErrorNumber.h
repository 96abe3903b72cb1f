#pragma once

// The number of the database failure an action ends in, 0 when it ends without one: a test
// compares it with the number the user would be shown.

#include "clubdb/DbError.h"

#include <functional>

inline int errorNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const clubdb::DbError& e) {
        return e.number();
    }
    return 0;
}
