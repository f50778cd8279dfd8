// Planted case for include_check.cmake: a child window that includes the
// main window's header, with no cycle anywhere; the check must refuse it.
#include "app/main_form.h"
