// A planted test of the net layer that would need the language layer.
#include "tests/language/knowledge_base.h"
