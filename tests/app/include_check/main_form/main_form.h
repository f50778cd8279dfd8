// Planted case for include_check.cmake: see database_browser.cpp.
#pragma once
