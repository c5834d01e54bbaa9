#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "polyhedra/model_loading.h"
#include "scratch_dir.h"

namespace pd {

// The five solids of data/ as the explorer loads them; a failed load fails
// the calling test.
inline std::vector<Model> shippedModels() {
    Result<std::vector<Model>> models = loadDirectoryModels(scratch::sourcePath("data"));
    EXPECT_TRUE(models.ok()) << models.error().text();
    return models ? std::move(*models) : std::vector<Model>{};
}

}  // namespace pd
