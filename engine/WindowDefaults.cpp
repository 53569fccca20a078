#include "engine/WindowDefaults.h"

WindowDefaults& WindowDefaults::Current() {
    static WindowDefaults defaults;
    return defaults;
}
