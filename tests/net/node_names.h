// Names for the large nets of the tests. The hash of a name reads only its
// first bytes, so numbered names are written with the digits reversed: the
// fast-changing digits then lead and the names spread over the table.
#pragma once

#include <string>

namespace testing_engine {

inline std::string NumberedName(int number) {
    std::string digits = std::to_string(number);
    return std::string(digits.rbegin(), digits.rend()) + "n";
}

}  // namespace testing_engine
