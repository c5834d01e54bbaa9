#include "output/turntable.h"

#include <filesystem>

std::string frameFileName(const std::string& path, int index, int count) {
    int digits = 3;
    for (long long limit = 1000; limit < count; limit *= 10) ++digits;
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < digits) number.insert(0, digits - number.size(), '0');
    const std::filesystem::path p(path);
    std::filesystem::path name = p.parent_path() / (p.stem().string() + "-" + number);
    return name.string() + p.extension().string();
}

float frameAngle(float b, int index, int count) {
    return static_cast<float>(double(b) + 360.0 * index / count);
}
