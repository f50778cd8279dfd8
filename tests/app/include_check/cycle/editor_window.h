// Planted case for include_check.cmake: see editor_window.cpp.
#pragma once
