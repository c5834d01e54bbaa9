#include "print/three_mf_file.h"

#include <cmath>
#include <vector>

#include <Model/COM/NMR_DLLInterfaces.h>

#include "base/translate.h"

namespace pd {

namespace {

// A lib3mf instance released when it goes.
class Held {
public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p_) NMR::lib3mf_release(p_);
    }
    NMR::PLib3MFBase** out() { return &p_; }
    NMR::PLib3MFBase* get() const { return p_; }

private:
    NMR::PLib3MFBase* p_ = nullptr;
};

// A colour channel as the byte 3MF holds.
BYTE channel(float c) { return BYTE(std::lround(std::fmin(std::fmax(c, 0.0f), 1.0f) * 255.0f)); }

// Adds part `index` as a mesh object coloured by material `index` of the
// group `materials`, and as a build item.
Status addPart(NMR::PLib3MFModel* model, const PrintPart& part, DWORD materials, DWORD index) {
    std::vector<NMR::MODELMESHVERTEX> vertices(part.points.size());
    for (std::size_t i = 0; i < part.points.size(); ++i)
        vertices[i] = {{float(part.points[i].x), float(part.points[i].y), float(part.points[i].z)}};
    std::vector<NMR::MODELMESHTRIANGLE> triangles(part.triangles.size());
    for (std::size_t i = 0; i < part.triangles.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            const std::int32_t corner = part.triangles[i][k];
            if (corner < 0 || std::size_t(corner) >= part.points.size())
                return failure(fill(tr("the part {1} has a corner past its points"), {part.name}));
            triangles[i].m_nIndices[k] = DWORD(corner);
        }
    Held mesh, properties, item;
    if (NMR::lib3mf_model_addmeshobject(model, mesh.out()) != LIB3MF_OK ||
        NMR::lib3mf_meshobject_setgeometry(mesh.get(), vertices.data(), DWORD(vertices.size()), triangles.data(),
                                           DWORD(triangles.size())) != LIB3MF_OK ||
        NMR::lib3mf_object_setnameutf8(mesh.get(), part.name.c_str()) != LIB3MF_OK ||
        NMR::lib3mf_object_createdefaultpropertyhandler(mesh.get(), properties.out()) != LIB3MF_OK ||
        NMR::lib3mf_defaultpropertyhandler_setbasematerial(properties.get(), materials, index) != LIB3MF_OK ||
        NMR::lib3mf_model_addbuilditem(model, mesh.get(), nullptr, item.out()) != LIB3MF_OK)
        return failure(fill(tr("lib3mf refused the part {1}"), {part.name}));
    return Done{};
}

}  // namespace

Result<std::string> format3mf(const PrintModel& print) {
    Held model, group, writer;
    if (NMR::lib3mf_createmodel(model.out()) != LIB3MF_OK ||
        NMR::lib3mf_model_setunit(model.get(), NMR::MODELUNIT_MILLIMETER) != LIB3MF_OK ||
        NMR::lib3mf_model_addbasematerialgroup(model.get(), group.out()) != LIB3MF_OK)
        return failure(tr("lib3mf cannot make a model"));
    DWORD groupId = 0;
    if (NMR::lib3mf_basematerial_getresourceid(group.get(), &groupId) != LIB3MF_OK)
        return failure(tr("lib3mf cannot make a material"));
    for (const PrintPart& part : print.parts) {
        DWORD index = 0;
        const BYTE r = channel(part.colour.red), g = channel(part.colour.green), b = channel(part.colour.blue);
        // A material added by its red, green and blue is left clear (alpha
        // 0): it is made opaque at once.
        if (NMR::lib3mf_basematerial_addmaterialutf8(group.get(), part.name.c_str(), r, g, b, &index) != LIB3MF_OK ||
            NMR::lib3mf_basematerial_setdisplaycolorrgba(group.get(), index, r, g, b, 255) != LIB3MF_OK)
            return failure(fill(tr("lib3mf refused the colour of {1}"), {part.name}));
        const Status added = addPart(model.get(), part, groupId, index);
        if (!added) return added.error();
    }
    // Written to memory: the file itself is the safe writer's to make.
    ULONG64 size = 0;
    if (NMR::lib3mf_model_querywriter(model.get(), "3mf", writer.out()) != LIB3MF_OK ||
        NMR::lib3mf_writer_getstreamsize(writer.get(), &size) != LIB3MF_OK)
        return failure(tr("lib3mf cannot write the model"));
    std::string bytes(size, '\0');
    if (NMR::lib3mf_writer_writetobuffer(writer.get(), reinterpret_cast<BYTE*>(bytes.data()), size) != LIB3MF_OK)
        return failure(tr("lib3mf cannot write the model"));
    return bytes;
}

}  // namespace pd
