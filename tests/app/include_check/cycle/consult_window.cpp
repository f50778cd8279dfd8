// Planted case for include_check.cmake: see editor_window.cpp.
#include "app/consult_window.h"

#include "app/editor_window.h"
