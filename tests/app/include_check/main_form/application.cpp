// Planted case for include_check.cmake: a file allowed to include the main
// window's header, which the check must accept.
  #  include "app/main_form.h"
