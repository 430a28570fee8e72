// companion_registry.h - companion windows register here (see page_registry.h).
#pragma once
#include "app/page_registry.h"
