#include "consult/report.h"
