#include "geometry/rotation.h"

#include <cmath>

namespace pd {

float degreesToRadians(float degrees) {
    // A multiplication by the double nearest 1/180, not a division: the last
    // bit of the angle depends on it.
    return static_cast<float>(double(degrees) * 3.141592653589793 * 0.005555555555555556);
}

namespace {

struct SineCosine {
    float sine;
    float cosine;
};

SineCosine sineCosine(float degrees) {
    const double theta = degreesToRadians(degrees);
    return {static_cast<float>(std::sin(theta)), static_cast<float>(std::cos(theta))};
}

}  // namespace

Mat3 rotationAboutX(float degrees) {
    const SineCosine sc = sineCosine(degrees);
    Mat3 r;
    r.at(0, 0) = 1.0f;
    r.at(1, 1) = sc.cosine;
    r.at(1, 2) = -sc.sine;
    r.at(2, 1) = sc.sine;
    r.at(2, 2) = sc.cosine;
    return r;
}

Mat3 rotationAboutY(float degrees) {
    const SineCosine sc = sineCosine(degrees);
    Mat3 r;
    r.at(0, 0) = sc.cosine;
    r.at(0, 2) = sc.sine;
    r.at(1, 1) = 1.0f;
    r.at(2, 0) = -sc.sine;
    r.at(2, 2) = sc.cosine;
    return r;
}

Vec3 rotateVec3(const Mat3& m, Vec3 v) {
    auto row = [&](int r) {
        return static_cast<float>((double(m.at(r, 2)) * v.z + double(m.at(r, 1)) * v.y) +
                                  double(m.at(r, 0)) * v.x);
    };
    return {row(0), row(1), row(2)};
}

}  // namespace pd
