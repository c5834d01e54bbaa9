#include "print/glb_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include <tiny_gltf.h>

#include "base/translate.h"

namespace pd {

namespace {

// glTF's base colour is linear; the palette's colours are sRGB.
double linear(float c) {
    const double s = std::clamp(double(c), 0.0, 1.0);
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

// Appends `bytes` to the buffer as a view of it; its index.
int addView(tinygltf::Model& gltf, const void* bytes, std::size_t size, int target) {
    std::vector<unsigned char>& data = gltf.buffers[0].data;
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data.size();
    view.byteLength = size;
    view.target = target;
    const auto* first = static_cast<const unsigned char*>(bytes);
    data.insert(data.end(), first, first + size);
    gltf.bufferViews.push_back(view);
    return int(gltf.bufferViews.size()) - 1;
}

// Adds one part as a mesh with its accessors and material, and a node.
Status addPart(tinygltf::Model& gltf, const PrintPart& part) {
    std::vector<float> points;
    std::vector<double> low(3, HUGE_VAL), high(3, -HUGE_VAL);
    for (const Vec3d& p : part.points) {
        const float xyz[3] = {float(p.x / 1000.0), float(p.y / 1000.0), float(p.z / 1000.0)};
        for (int k = 0; k < 3; ++k) {
            points.push_back(xyz[k]);
            low[k] = std::min(low[k], double(xyz[k]));
            high[k] = std::max(high[k], double(xyz[k]));
        }
    }
    std::vector<std::uint32_t> indices;
    for (const auto& t : part.triangles)
        for (std::int32_t corner : t) {
            if (corner < 0 || std::size_t(corner) >= part.points.size())
                return failure(fill(tr("the part {1} has a corner past its points"), {part.name}));
            indices.push_back(std::uint32_t(corner));
        }
    if (points.empty() || indices.empty()) return failure(fill(tr("the part {1} has no triangles"), {part.name}));
    tinygltf::Accessor position;
    position.bufferView = addView(gltf, points.data(), points.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
    position.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    position.type = TINYGLTF_TYPE_VEC3;
    position.count = part.points.size();
    position.minValues = low;
    position.maxValues = high;
    tinygltf::Accessor corners;
    corners.bufferView =
        addView(gltf, indices.data(), indices.size() * sizeof(std::uint32_t), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    corners.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    corners.type = TINYGLTF_TYPE_SCALAR;
    corners.count = indices.size();
    gltf.accessors.push_back(position);
    gltf.accessors.push_back(corners);

    tinygltf::Material material;
    material.name = part.name;
    material.pbrMetallicRoughness.baseColorFactor = {linear(part.colour.red), linear(part.colour.green),
                                                     linear(part.colour.blue), 1.0};
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor = 0.8;
    gltf.materials.push_back(material);

    tinygltf::Primitive primitive;
    primitive.attributes["POSITION"] = int(gltf.accessors.size()) - 2;
    primitive.indices = int(gltf.accessors.size()) - 1;
    primitive.material = int(gltf.materials.size()) - 1;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    tinygltf::Mesh mesh;
    mesh.name = part.name;
    mesh.primitives.push_back(primitive);
    gltf.meshes.push_back(mesh);

    tinygltf::Node node;
    node.name = part.name;
    node.mesh = int(gltf.meshes.size()) - 1;
    gltf.nodes.push_back(node);
    gltf.scenes[0].nodes.push_back(int(gltf.nodes.size()) - 1);
    return Done{};
}

}  // namespace

Result<std::string> formatGlb(const PrintModel& model) {
    tinygltf::Model gltf;
    gltf.asset.version = "2.0";
    gltf.asset.generator = "duals-explorer";
    gltf.buffers.emplace_back();
    gltf.scenes.emplace_back();
    gltf.defaultScene = 0;
    for (const PrintPart& part : model.parts) {
        const Status added = addPart(gltf, part);
        if (!added) return added.error();
    }
    gltf.buffers[0].data.resize((gltf.buffers[0].data.size() + 3) / 4 * 4, 0);
    std::ostringstream out;
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&gltf, out, false, true)) return failure(tr("tinygltf cannot write the model"));
    return out.str();
}

}  // namespace pd
