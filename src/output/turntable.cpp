#include "output/turntable.h"

float frameAngle(float b, int index, int count) {
    return static_cast<float>(double(b) + 360.0 * index / count);
}
