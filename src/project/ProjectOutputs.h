// The sheet, transfer and viewer operations live in the outputs library now (outputs/Outputs.h); this
// header only forwards to it for the main window's commands until they include it themselves.
#pragma once

#include "outputs/Outputs.h"
