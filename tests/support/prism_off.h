#pragma once

#include <cmath>
#include <cstdio>
#include <string>

namespace pd {

// Test helper: an OFF prism over a regular n-gon of radius 1, one high.
inline std::string prismOff(int n) {
    auto number = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", v);
        return std::string(text);
    };
    std::string off = "OFF\n" + std::to_string(2 * n) + " " + std::to_string(n + 2) + " 0\n";
    for (double z : {-0.5, 0.5})
        for (int i = 0; i < n; ++i)
            off += number(std::cos(2 * M_PI * i / n)) + " " + number(std::sin(2 * M_PI * i / n)) + " " + number(z) + "\n";
    std::string bottom = std::to_string(n), top = bottom, sides;
    for (int i = 0; i < n; ++i) {
        bottom += " " + std::to_string(n - 1 - i);
        top += " " + std::to_string(n + i);
        sides += "4 " + std::to_string(i) + " " + std::to_string((i + 1) % n) + " " + std::to_string(n + (i + 1) % n) +
                 " " + std::to_string(n + i) + "\n";
    }
    return off + bottom + "\n" + top + "\n" + sides;
}

}  // namespace pd
