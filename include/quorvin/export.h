// QUORVIN_API marks what the shared library libquorvin exports; everything
// else in it stays hidden.
#pragma once

#if defined(_WIN32)
#define QUORVIN_API
#else
#define QUORVIN_API __attribute__((visibility("default")))
#endif
