#pragma once

#include <atomic>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "explorer/frame.h"
#include "mesh/unfolding.h"
#include "mesh/model.h"

// The model folded open into its paper net, part of the way or all of it,
// as the window's `u` and the headless --unfold draw it.

// One shell as the explorer shows it.
struct ShownShell {
    const Polyhedron* shape;
    Rgb colour;
    bool dual;
};

// The shells the state's show and dual pick on `model` in drawing order, in
// its palette's colours, as buildFrame draws them: no dual for a model that
// is not closed, the program's dual where the reciprocal is missing.
std::vector<ShownShell> shownShells(const Model& model, const ViewState& state);

// Nets of shells, each made the first time it is asked for and then kept
// (keyed by the shell's address, so the models must stay where they are).
class NetCache {
public:
    NetCache() = default;
    NetCache(const NetCache&) = delete;
    NetCache& operator=(const NetCache&) = delete;
    // Stops a build started by prepare() and waits for it.
    ~NetCache();

    // The net of `shape`, made now if need be (waiting for prepare()'s
    // build first, if one is on its way).
    const Result<Net>& netOf(const Polyhedron& shape, int numberBase);

    // True when the nets of `shells` are all made; else starts making those
    // missing on a second thread, unless it is at it already, and gives
    // false at once, so a window can go on drawing meanwhile.
    bool prepare(const std::vector<ShownShell>& shells, int numberBase);

private:
    using Made = std::vector<std::pair<const Polyhedron*, Result<Net>>>;
    void takeBuilt();

    std::map<const Polyhedron*, Result<Net>> nets_;
    std::atomic<bool> stop_{false};
    std::future<Made> pending_;
};

// Whether the nets buildUnfoldFrame needs for `model` in `state` are made;
// when not, starts making them on a second thread (NetCache::prepare).
bool unfoldReady(const Model& model, const ViewState& state, NetCache& nets);

// The picture of `model` in `state` with every shown shell folded open by
// state.unfold (0 exactly: buildFrame's picture, byte for byte). Each face
// turns about its fold by that share of its turn while each piece moves,
// turning the shortest way, from its place on the model to its place in a
// row of all pieces lying flat, outside up, in the plane through the
// model's centre that faces the viewer. The framing covers the folded model
// and the pieces where they are, so it grows smoothly as they open. Vertex
// numbers are left out once open. A shell without a net stays folded, with
// a line of text saying why.
Frame buildUnfoldFrame(const Model& model, const ViewState& state, NetCache& nets,
                       const std::vector<std::string>& help = {},
                       FrameTarget target = FrameTarget::Raster);
