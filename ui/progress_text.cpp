#include "ui/progress_text.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Duration(double seconds) {
    const long whole = std::lround(seconds);
    if (whole < 60) return std::to_string(whole) + " s";
    if (whole < 3600) return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

// Whole cases, or tenths below ten a second.
std::string Rate(double rate) {
    if (rate >= 9.95) return std::to_string(std::lround(rate));
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", rate);
    return text;
}

}  // namespace

std::string ProgressText(int32_t done, int32_t total, double seconds) {
    std::string text = std::to_string(done) + "/" + std::to_string(total) + " cases";
    if (done <= 0 || seconds <= 0) return text;
    const double rate = done / seconds;
    text += ", " + Rate(rate) + " a second";
    if (done < total) text += ", " + Duration((total - done) / rate) + " left";
    return text;
}
