#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh/model_loading.h"
#include "scratch_dir.h"

// The five solids of data/ as the explorer loads them; a failed load fails
// the calling test.
inline std::vector<Model> shippedModels() {
    std::vector<Model> models;
    std::string error;
    EXPECT_TRUE(loadDirectoryModels(scratch::sourcePath("data"), models, error)) << error;
    return models;
}
