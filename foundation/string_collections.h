// The collections of values used across the system: strings by value
// (table fields), texts by name (knowledge-base parameters), and reals by value
// (interval bounds). Slots hold values, not pointers: a fresh slot is an empty
// string or 0, and destroying the collection destroys its strings.
#pragma once

#include "foundation/cstring.h"
#include "foundation/hash_table.h"
#include "foundation/vector.h"

using CStringVector = CVector<CString>;
using CStringHTable = CHashTable<CString>;
using CFloatVector = CVector<float>;
