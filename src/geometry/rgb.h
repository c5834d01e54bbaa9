#pragma once

namespace pd {

// A colour as GL takes it: red, green and blue from 0 to 1.
struct Rgb {
    float red;
    float green;
    float blue;
};

}  // namespace pd
