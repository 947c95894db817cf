// Colours live with the device context; the component layer uses the same ones.
#pragma once

#include "platform/gdi/types.h"
