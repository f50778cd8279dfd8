#include "tables/shard.h"

std::string CShard::Label() const {
    return (contiguous ? "job-" : "") + std::to_string(index + 1) + "-of-" + std::to_string(count);
}

std::string CShard::FileName(const std::string &name) const {
    if (!Active()) return name;
    return name + "." + Label();
}
