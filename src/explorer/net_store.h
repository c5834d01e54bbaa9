#pragma once

#include <atomic>
#include <cstddef>
#include <future>
#include <list>
#include <memory>
#include <vector>

#include "base/result.h"
#include "view/shown_shells.h"
#include "nets/unfolding.h"

namespace pd {

// Which net: of which loaded model, at which stage of its morph (0: the
// model itself), of which of its shells. A net is known by this value,
// never by where its shape happens to lie: the morph's stages come and go,
// and a new one may be built where an old one was.
struct NetKey {
    int model = 0;
    double t = 0.0;
    ShellKind kind = ShellKind::Solid;
    bool operator==(const NetKey& o) const { return model == o.model && t == o.t && kind == o.kind; }
};

// A net as the store hands it out: shared, so it outlives its eviction.
using SharedNet = std::shared_ptr<const Result<Net>>;

// The nets of shells, each made once and kept while among the last few
// used.
class NetStore {
public:
    // Keeps the nets of the last `kept` shells used.
    explicit NetStore(std::size_t kept = 8);
    NetStore(const NetStore&) = delete;
    NetStore& operator=(const NetStore&) = delete;
    // Stops a build started by prepare() and waits for it.
    ~NetStore();

    // The net of `shape`, known as `key`, made now if need be (taking it
    // from prepare()'s build when that is making it).
    SharedNet net(const NetKey& key, const Polyhedron& shape, int numberBase);

    // One shell whose net is wanted: its key, shape and numbering.
    struct Wanted {
        NetKey key;
        const Polyhedron* shape;
        int numberBase;
    };
    // True when the nets of `wanted` are all kept; else starts making those
    // missing on a second thread (from copies of their shapes), unless it
    // is at it already, and gives false at once, so a window can go on
    // drawing meanwhile.
    bool prepare(const std::vector<Wanted>& wanted);

    // True while prepare()'s build is on its way.
    bool building() const { return pending_.valid(); }

    // How many nets are kept.
    std::size_t size() const { return kept_.size(); }

private:
    struct Kept {
        NetKey key;
        SharedNet net;
    };
    using Made = std::vector<Kept>;
    SharedNet find(const NetKey& key);
    void remember(Kept made);
    void takeBuilt(bool wait);

    std::size_t capacity_;
    std::list<Kept> kept_;  // the most recently used first
    std::vector<NetKey> building_;
    std::atomic<bool> stop_{false};
    std::future<Made> pending_;
};

}  // namespace pd
