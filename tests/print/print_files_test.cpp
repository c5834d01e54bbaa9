// Prints read back by the libraries of their formats: lib3mf for 3MF,
// tinygltf for binary glTF, and the program's own STL reader.

#include <gtest/gtest.h>

#include <Model/COM/NMR_DLLInterfaces.h>
#include <tiny_gltf.h>

#include "io/off_reader.h"
#include "io/stl_reader.h"
#include "print/glb_file.h"
#include "print/shell_print.h"
#include "print/stl_file.h"
#include "print/three_mf_file.h"

using namespace pd;

namespace {

// A cube of edge 2 about the origin, its faces turning either way: the
// print turns them all outward by the normals.
const char* const cubeOff = "8 6\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n"
                            "4 0 1 2 3\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
const std::vector<Vec3> cubeNormals{{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
const char* const tetraOff = "4 4\n3 0 0\n4 0 0\n3 1 0\n3 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n";

// The parts expected back: name, colour as bytes, points, largest x in mm.
struct Part {
    std::string name;
    int red, green, blue;
    unsigned points;
    double maxX;
};
const Part parts[] = {{"solid", 0, 0, 255, 8, 10.0}, {"dual", 255, 128, 0, 4, 40.0}};

PrintModel twoParts() {
    static const Polyhedron cube = readOff(cubeOff, "cube").value(), tetra = readOff(tetraOff, "tetra").value();
    return shellsAsPrint({{&cube, &cubeNormals, {0, 0, 1}, "solid"}, {&tetra, nullptr, {1, 0.5f, 0}, "dual"}}, 10.0);
}

}  // namespace

TEST(PrintFiles, ThreeMfHoldsAnObjectPerPartInMillimetresInItsColour) {
    std::string bytes = format3mf(twoParts()).value();
    NMR::PLib3MFBase *model = nullptr, *reader = nullptr, *objects = nullptr;
    ASSERT_EQ(NMR::lib3mf_createmodel(&model), LIB3MF_OK);
    ASSERT_EQ(NMR::lib3mf_model_queryreader(model, "3mf", &reader), LIB3MF_OK);
    ASSERT_EQ(NMR::lib3mf_reader_readfrombuffer(reader, reinterpret_cast<BYTE*>(bytes.data()), bytes.size()), LIB3MF_OK);
    DWORD unit = 99;
    NMR::lib3mf_model_getunit(model, &unit);
    EXPECT_EQ(unit, DWORD(NMR::MODELUNIT_MILLIMETER));
    ASSERT_EQ(NMR::lib3mf_model_getmeshobjects(model, &objects), LIB3MF_OK);
    std::size_t read = 0;
    for (BOOL more = false; NMR::lib3mf_resourceiterator_movenext(objects, &more) == LIB3MF_OK && more; ++read) {
        ASSERT_LT(read, std::size(parts));
        const Part& part = parts[read];
        NMR::PLib3MFBase *mesh = nullptr, *properties = nullptr, *group = nullptr;
        NMR::lib3mf_resourceiterator_getcurrent(objects, &mesh);
        char name[16] = {};
        ULONG needed = 0;
        NMR::lib3mf_object_getnameutf8(mesh, name, sizeof name, &needed);
        DWORD points = 0, groupId = 0, index = 0;
        NMR::lib3mf_meshobject_getvertexcount(mesh, &points);
        NMR::MODELMESHVERTEX far{};
        for (DWORD v = 0; v < points; ++v) {
            NMR::MODELMESHVERTEX p;
            NMR::lib3mf_meshobject_getvertex(mesh, v, &p);
            if (p.m_fPosition[0] > far.m_fPosition[0]) far = p;
        }
        NMR::lib3mf_object_createdefaultpropertyhandler(mesh, &properties);
        NMR::lib3mf_defaultpropertyhandler_getbasematerial(properties, &groupId, &index);
        NMR::lib3mf_model_getbasematerialbyid(model, groupId, &group);
        BYTE rgba[4] = {};
        NMR::lib3mf_basematerial_getdisplaycolor(group, index, &rgba[0], &rgba[1], &rgba[2], &rgba[3]);
        EXPECT_EQ(name, part.name);
        EXPECT_EQ(points, part.points);
        EXPECT_FLOAT_EQ(far.m_fPosition[0], float(part.maxX));
        EXPECT_EQ(std::vector<int>(rgba, rgba + 4), (std::vector<int>{part.red, part.green, part.blue, 255}));
        for (NMR::PLib3MFBase* held : {mesh, properties, group}) NMR::lib3mf_release(held);
    }
    EXPECT_EQ(read, std::size(parts));
    for (NMR::PLib3MFBase* held : {objects, reader, model}) NMR::lib3mf_release(held);
}

TEST(PrintFiles, GlbHoldsANodePerPartInMetresWithItsLinearColour) {
    const std::string bytes = formatGlb(twoParts()).value();
    tinygltf::Model gltf;
    std::string error, warning;
    ASSERT_TRUE(tinygltf::TinyGLTF().LoadBinaryFromMemory(&gltf, &error, &warning,
                                                          reinterpret_cast<const unsigned char*>(bytes.data()),
                                                          unsigned(bytes.size())))
        << error;
    ASSERT_EQ(gltf.nodes.size(), std::size(parts));
    EXPECT_EQ(gltf.scenes.at(0).nodes, (std::vector<int>{0, 1}));
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const tinygltf::Primitive& primitive = gltf.meshes.at(gltf.nodes[i].mesh).primitives.at(0);
        const tinygltf::Accessor& points = gltf.accessors.at(primitive.attributes.at("POSITION"));
        const std::vector<double> colour = gltf.materials.at(primitive.material).pbrMetallicRoughness.baseColorFactor;
        EXPECT_EQ(gltf.nodes[i].name, parts[i].name);
        EXPECT_EQ(points.count, parts[i].points);
        EXPECT_FLOAT_EQ(float(points.maxValues.at(0)), float(parts[i].maxX / 1000));
        // sRGB 0.5 is 0.214 linear; 0 and 1 stay.
        EXPECT_NEAR(colour.at(1), parts[i].green ? 0.214 : 0.0, 1e-3);
        EXPECT_EQ(colour.at(0) + colour.at(2), 1.0);
    }
}

// A frame too small for its struts is refused naming the smallest size,
// which works, where a tenth of a millimetre less does not.
TEST(PrintFiles, FrameTooSmallNamesTheSmallestSizeThatWorks) {
    static const Polyhedron cube = readOff(cubeOff, "cube").value();
    const std::vector<PrintShell> shells{{&cube, &cubeNormals, {0, 0, 1}, "solid"}};
    const struct {
        PrintSettings settings;
        const char* smallest;  // "" when it fits
    } cases[] = {
        {{PrintKind::Frame, 2.0, 0.0, 10.0, 0.0, true}, ""},
        {{PrintKind::Frame, 2.0, 0.0, 4.0, 0.0, true}, "--size-mm 5.2 "},  // a 2 mm strut, a 3.2 mm ball
        {{PrintKind::Frame, 1.5, 3.0, 60.0, 2.0, true}, "--edge-mm 4.5 "},
        {{PrintKind::Frame, 1.0, 0.0, 60.0, 2.6, true}, ""},
    };
    for (const auto& c : cases) {
        PrintSettings s = c.settings;
        const Status fits = frameFits(shells, s, printScale(shells, s).value());
        ASSERT_EQ(fits.ok(), *c.smallest == '\0') << c.smallest;
        if (fits) continue;
        const std::string what = fits.error().what;
        ASSERT_NE(what.find(c.smallest), std::string::npos) << what;
        double& size = s.edgeMm > 0 ? s.edgeMm : s.sizeMm;
        size = std::stod(what.substr(what.find(c.smallest) + 10));
        EXPECT_TRUE(frameFits(shells, s, printScale(shells, s).value()).ok()) << size;
        size -= 0.1;
        EXPECT_FALSE(frameFits(shells, s, printScale(shells, s).value()).ok()) << size;
    }
}

