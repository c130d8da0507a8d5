#pragma once

// The windows of every subsystem name their icons through here; the icons themselves live with the alerts.
#include "platform/ui/ThemeIcon.h"
