// Planted case for include_check.cmake: two windows whose sources include
// each other's headers. The headers alone form no cycle; the check must
// still report one.
#include "app/editor_window.h"

#include "app/consult_window.h"
