// What a run does before its window opens, on the shipped data in a
// temporary folder: the whole of it (load, duals and their ten output
// files, closing, rotation, drawing into a scene), and each step alone.
// A step that needs the earlier ones gets them with the clock paused.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "console/scene.h"
#include "solids/dual.h"
#include "solids/solid_files.h"
#include "solids/solid_reader.h"
#include "geometry/rotation.h"
#include "solids/solid_rotation.h"
#include "console/solid_drawing.h"

namespace pd {

namespace {

namespace fs = std::filesystem;

// The working state of one run, as the entry holds it.
struct RunState {
    SolidFileSet files;
    VertexArrays arrays;
    FaceColumns columns{};
    FaceRecords records{};
    std::vector<Error> warnings;  // none with the shipped data
};

// Steps 1 to 3; false (and the benchmark skipped) when data/ is not there.
bool loadBuildAndClose(RunState& run) {
    if (!loadSolids(run.files, run.arrays, run.warnings)) return false;
    if (!buildDuals(run.files, run.arrays, run.columns, run.records, run.warnings)) return false;
    closeSolidFiles(run.files, run.warnings);
    return true;
}

void WholeRunBeforeTheWindow(benchmark::State& state) {
    for (auto _ : state) {
        RunState run;
        if (!loadBuildAndClose(run)) {
            state.SkipWithError("the data files cannot be read");
            break;
        }
        rotateSolids(30.0f, 45.0f, run.arrays);
        Scene scene;
        addSolidEdges(Hexahedron, run.arrays, scene);
        benchmark::DoNotOptimize(scene.segments.size());
    }
}
BENCHMARK(WholeRunBeforeTheWindow);

// Step 1: the five vertex files read, the five pair files created; closing
// them again is left out of the clock.
void LoadVertexFiles(benchmark::State& state) {
    for (auto _ : state) {
        RunState run;
        if (!loadSolids(run.files, run.arrays, run.warnings)) {
            state.SkipWithError("the data files cannot be read");
            break;
        }
        state.PauseTiming();
        closeSolidFiles(run.files, run.warnings);
        state.ResumeTiming();
    }
}
BENCHMARK(LoadVertexFiles);

// Step 2: the five face files read, the duals built, the dual vertex files
// and pair texts written into their streams.
void BuildDuals(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        RunState run;
        const bool loaded = loadSolids(run.files, run.arrays, run.warnings).ok();
        state.ResumeTiming();
        if (!loaded || !buildDuals(run.files, run.arrays, run.columns, run.records, run.warnings)) {
            state.SkipWithError("the data files cannot be read");
            break;
        }
        state.PauseTiming();
        closeSolidFiles(run.files, run.warnings);
        state.ResumeTiming();
    }
}
BENCHMARK(BuildDuals);

// Step 3: closing all twenty streams, which is when the outputs reach the
// disk.
void CloseFiles(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        RunState run;
        const bool built = loadSolids(run.files, run.arrays, run.warnings) &&
                           buildDuals(run.files, run.arrays, run.columns, run.records, run.warnings);
        state.ResumeTiming();
        closeSolidFiles(run.files, run.warnings);
        if (!built) {
            state.SkipWithError("the data files cannot be read");
            break;
        }
    }
}
BENCHMARK(CloseFiles);

// The dual arithmetic and both output texts for all five solids, from face
// columns already read: step 2 without its files.
void DualsInMemory(benchmark::State& state) {
    RunState run;
    if (!loadBuildAndClose(run)) {
        state.SkipWithError("the data files cannot be read");
        return;
    }
    // The columns as each solid's face file leaves them.
    FaceColumns columnsOf[solidKindCount];
    for (const SolidInfo& info : solidTable) {
        std::FILE* in = std::fopen(info.faceFile, "r");
        if (!in) {
            state.SkipWithError("the face files cannot be read");
            return;
        }
        readFaceColumns(in, info.kind, run.columns);
        std::fclose(in);
        columnsOf[info.kind - 1] = run.columns;
    }
    for (auto _ : state) {
        for (const SolidInfo& info : solidTable) {
            const FaceColumns& columns = columnsOf[info.kind - 1];
            const VertexArray& verts = solidVerts(run.arrays, info.kind);
            VertexArray& dual = dualVerts(run.arrays, info.kind);
            computeDualVerts(info.kind, verts, columns, dual);
            fillFaceRecords(info.kind, verts, columns, run.records);
            benchmark::DoNotOptimize(formatDualVerts(info.kind, dual));
            benchmark::DoNotOptimize(formatPairs(info.kind, run.records));
        }
    }
}
BENCHMARK(DualsInMemory);

// Step 5: all ten vertex sets turned about x, then y. Turning the same
// arrays again and again keeps their size, so every pass costs the same.
void RotateSolids(benchmark::State& state) {
    RunState run;
    if (!loadBuildAndClose(run)) {
        state.SkipWithError("the data files cannot be read");
        return;
    }
    for (auto _ : state) {
        rotateSolids(30.0f, 45.0f, run.arrays);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RotateSolids);

// Step 7 for each menu choice: the solid's and its dual's edges added to an
// empty scene (and the scene freed again, which the program never does).
void DrawIntoScene(benchmark::State& state) {
    RunState run;
    if (!loadBuildAndClose(run)) {
        state.SkipWithError("the data files cannot be read");
        return;
    }
    rotateSolids(30.0f, 45.0f, run.arrays);
    const int choice = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Scene scene;
        addSolidEdges(choice, run.arrays, scene);
        benchmark::DoNotOptimize(scene.boxMax);
    }
}
BENCHMARK(DrawIntoScene)->DenseRange(1, 5);

// A private folder holding a copy of data/, the benchmarks' working
// directory; removed at the end.
class DataFolder {
public:
    DataFolder() {
        std::string pattern = (fs::temp_directory_path() / "pd-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        path_ = pattern;
        for (const auto& entry : fs::directory_iterator(PD_DATA_DIR))
            if (entry.is_regular_file()) fs::copy_file(entry.path(), path_ / entry.path().filename());
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~DataFolder() {
        if (path_.empty()) return;
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    bool ok() const { return !path_.empty(); }

private:
    fs::path path_;
    fs::path previous_;
};

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    DataFolder folder;
    if (!folder.ok()) {
        std::fprintf(stderr, "bench: cannot make a temporary folder\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
