#pragma once

#include "rally/host/shell_interface.h"

// USER32's menu calls behind the merge's table of operations.
MenuOps MakeWin32MenuOps();
