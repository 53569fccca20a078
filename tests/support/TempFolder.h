#pragma once
// Tests name the product's temporary folder without its namespace.
#include "platform/TempFolder.h"

using platform::TempFolder;
