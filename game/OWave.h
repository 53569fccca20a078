#pragma once
#include "graphics/OClipBucks.h"

// A ripple: a short animation where something goes under. The game keeps a pool of them.
class OWave : public OClipBucks {};
