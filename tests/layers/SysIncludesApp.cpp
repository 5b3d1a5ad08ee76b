// Compiled as part of the sys layer, this must not build: sys sits below app.
#include "app/AppPaths.h"
