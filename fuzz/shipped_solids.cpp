#include "shipped_solids.h"

#include <cstdio>
#include <cstdlib>

#include "program_arrays.h"

namespace pd {

const VertexArrays& shippedSolids() {
    static const VertexArrays arrays = [] {
        VertexArrays a;
        std::string error;
        if (!loadProgramArrays(PD_DATA_DIR, a, error)) {
            std::fprintf(stderr, "fuzz: %s\n", error.c_str());
            std::abort();
        }
        return a;
    }();
    return arrays;
}

}  // namespace pd
