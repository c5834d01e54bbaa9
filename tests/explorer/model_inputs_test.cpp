#include "explorer/model_inputs.h"

#include <gtest/gtest.h>

#include <cmath>

#include "io/off_writer.h"
#include "construct/catalogue.h"
#include "polyhedra/model_loading.h"
#include "polyhedra/solid_names.h"
#include "prism_off.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

Vec3d at(const Polyhedron& p, int v) { return widen(p.vertices[std::size_t(v)]); }

// The point of the line through a and b nearest the origin.
Vec3d touching(Vec3d a, Vec3d b) {
    const Vec3d d = b - a;
    return a - d * (dot(a, d) / dot(d, d));
}

}  // namespace

// Every solid of the catalogue as loaded: canonical (each edge touching the
// unit sphere, the touching points' centroid at the centre, faces flat),
// named as its entry by the names of the faces and vertices alone, the
// Archimedean ones with equal edges; and each dual edge crossing its edge
// at a right angle where both touch the sphere.
TEST(ModelInputs, TheCatalogueIsCanonicalNamedAndCrossesItsDualAtRightAngles) {
    ModelRequest request;
    request.inputsNamed = false;
    request.catalogue = "all";
    const Result<LoadedModels> loaded = loadModels(request);
    ASSERT_TRUE(loaded.ok()) << loaded.error().text();
    ASSERT_EQ(loaded->models.size(), catalogue().size());
    EXPECT_TRUE(loaded->notes.empty());
    for (std::size_t i = 0; i < catalogue().size(); ++i) {
        const Model& m = loaded->models[i];
        const CatalogueEntry& entry = catalogue()[i];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(solidName(m.solid, m.edges), entry.name);
        // The five pair up among themselves; each Catalan solid stands 13 after its Archimedean dual.
        const std::size_t platonicDual[] = {0, 2, 1, 4, 3};
        const std::size_t dual = i < 5 ? platonicDual[i] : i < 18 ? i + 13 : i - 13;
        EXPECT_EQ(solidName(m.reciprocalDual, m.dualEdges), catalogue()[dual].name);
        Vec3d centroid{0, 0, 0};
        double shortest = 1e300, longest = 0;
        for (std::size_t e = 0; e < m.edges.size(); ++e) {
            const Vec3d a = at(m.solid, m.edges[e].a), b = at(m.solid, m.edges[e].b);
            const Vec3d t = touching(a, b);
            EXPECT_NEAR(length(t), 1.0, 1e-6);
            centroid += t / double(m.edges.size());
            shortest = std::min(shortest, length(b - a)), longest = std::max(longest, length(b - a));
            const Vec3d p = at(m.reciprocalDual, m.dualEdges[e].a), q = at(m.reciprocalDual, m.dualEdges[e].b);
            EXPECT_NEAR(dot(b - a, q - p) / length(b - a) / length(q - p), 0.0, 1e-6);
            EXPECT_NEAR(length(touching(p, q) - t), 0.0, 1e-6);
        }
        EXPECT_NEAR(length(centroid), 0.0, 1e-6);
        EXPECT_NEAR(entry.family == Family::Archimedean ? longest / shortest : 1.0, 1.0, 1e-6);
        for (int f = 0; f < m.solid.faceCount(); ++f) {
            // Flat: every corner on the plane through the first three.
            const int* c = m.solid.face(f);
            const Vec3d n = cross(at(m.solid, c[1]) - at(m.solid, c[0]), at(m.solid, c[2]) - at(m.solid, c[0]));
            for (int k = 3; k < m.solid.faceSize(f); ++k)
                EXPECT_NEAR(dot(at(m.solid, c[k]) - at(m.solid, c[0]), n) / length(n), 0.0, 1e-6);
        }
    }
}

// M stands for the chosen solid of the ten files (and they are shown only
// when named); a model is found by any of its names or its notation. A
// notation that cannot be built is left out, when asked, with a note.
TEST(ModelInputs, BuiltModelsFollowTheInputsAndAreFoundByEveryName) {
    ModelRequest request;
    request.inputs = {scratch::sourcePath("data")};
    request.conway = {"tM", "xT", "kT"};
    request.leaveOutRefused = true;
    request.catalogue = "archimedean";
    request.solid = 3;
    for (const bool named : {true, false}) {
        request.inputsNamed = named;
        const Result<LoadedModels> loaded = loadModels(request);
        ASSERT_TRUE(loaded.ok()) << loaded.error().text();
        const std::size_t first = named ? 5 : 0;
        ASSERT_EQ(loaded->models.size(), first + 2 + 13);
        EXPECT_EQ(loaded->notes, std::vector<std::string>{"--conway: 'x' at 1 is not an operator"});
        EXPECT_EQ(loaded->directory, named);
        EXPECT_EQ(loaded->solidIsM, !named);
        const std::string list = modelList(*loaded), n = std::to_string(first + 1);
        const std::string built = n + "  tM (truncated octahedron)  V 24  E 36  F 14\n" + std::to_string(first + 2) +
                                  "  kT (triakis tetrahedron)  V 8  E 18  F 12\n" + std::to_string(first + 3) +
                                  "  truncated tetrahedron  V 12  E 18  F 8\n";
        EXPECT_EQ(list.substr(list.find(n + "  tM"), built.size()), built);
        const std::pair<const char*, int> names[] = {
            {"tM", int(first)}, {"triakis tetrahedron", int(first) + 1}, {"Truncated Cube", int(first) + 4},
            {"tC", int(first) + 4}, {"great rhombicuboctahedron", int(first) + 7}, {"bC", int(first) + 7},
            {"cube", named ? 1 : -1}, {"pentakis dodecahedron", -1}, {"tc", -1}, {"truncated hexahedron", int(first) + 4},
            {"Rhombitruncated Cuboctahedron", int(first) + 7}, {"soccer ball", int(first) + 11}};
        for (const auto& [name, index] : names) EXPECT_EQ(findModel(*loaded, name), index) << name;
    }
    const std::pair<const char*, const char*> otherNames[] = {
        {"tetrakis cube", "kC"}, {"kisrhombic dodecahedron", "mC"}, {"trapezoidal icositetrahedron", "oC"},
        {"pentagonal icosikaitetrahedron", "gC"}, {"kisdodecahedron", "kD"}, {"kisicosahedron", "kI"}};
    for (const auto& [name, notation] : otherNames)
        EXPECT_TRUE(findInCatalogue(name) && findInCatalogue(name)->notation == std::string(notation)) << name;
}

// A model with no canonical form (a triangle seen from both sides) is
// kept as it was read, and the note says so.
TEST(ModelInputs, AModelWithNoCanonicalFormIsKeptAsItWas) {
    ModelRequest request;
    request.inputs = {scratch::sourcePath("tests/data/model/flat.off")};
    request.canonical = true;
    const Result<LoadedModels> loaded = loadModels(request);
    const Result<Model> read = loadOffModel(request.inputs[0]);
    ASSERT_TRUE(loaded.ok() && read.ok());
    EXPECT_EQ(formatOff({&loaded->models[0].solid}).value(), formatOff({&read->solid}).value());
    ASSERT_EQ(loaded->notes.size(), 1u);
    EXPECT_EQ(loaded->notes[0].substr(0, 33), "flat: no canonical form found in ");
    // --list prints a name as messages do: one line, nothing for the terminal.
    LoadedModels named = *loaded;
    named.models[0].name = "a\n\x1b[2J\xe9";
    EXPECT_EQ(modelList(named).substr(0, 22), "1  a\\x0a\\x1b[2J\\xe9  V");
}

// The whole run is bounded before anything is built: notations that each
// stay within it may not together, nor with their canonical forms. A list
// needs no canonical form (the models stay as built), so it names them as
// their forms would be named.
TEST(ModelInputs, TheWholeRunIsBoundedAndAListSkipsTheCanonicalForm) {
    ModelRequest request;
    request.inputsNamed = false;
    // An OFF prism of 100 000 sides (600 000 corners) alone is read, but
    // not put in canonical form.
    scratch::ScratchDir dir;
    dir.write("p.off", prismOff(100000));
    const std::vector<std::string> prism{dir.file("p.off")};
    request.inputs = prism;
    ASSERT_TRUE(loadModels(request).ok());
    request.canonical = true;
    for (const auto& notations : {std::vector<std::string>(3, "kkkkkkkkkkkC"), {"kkkkkkkkkkkkC"}, {}}) {
        request.inputs = notations.empty() ? prism : std::vector<std::string>{};
        request.conway = notations;
        const Result<LoadedModels> refused = loadModels(request);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().what.substr(0, 65),
                  "the models asked for would make more than 50000000 corners in all");
    }
    request.conway = {"kT"};
    request.canonicalForms = false;
    const Result<LoadedModels> listed = loadModels(request);
    ASSERT_TRUE(listed.ok());
    const Model& m = listed->models[0];
    EXPECT_GT(std::fabs(length(touching(at(m.solid, m.edges.back().a), at(m.solid, m.edges.back().b))) - 1.0), 1e-3);
    EXPECT_EQ(modelList(*listed), "1  kT (triakis tetrahedron)  V 8  E 18  F 12\n");
}
