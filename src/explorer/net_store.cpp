#include "explorer/net_store.h"

#include <algorithm>
#include <chrono>

#include "base/background.h"

namespace pd {

namespace {

SharedNet makeNet(const Polyhedron& shape, int numberBase, const std::atomic<bool>* stop) {
    UnfoldOptions options;
    options.numberBase = numberBase;
    options.stop = stop;
    return std::make_shared<const Result<Net>>(unfold(shape, options));
}

}  // namespace

NetStore::NetStore(std::size_t kept) : capacity_(std::max<std::size_t>(kept, 2)) {}

NetStore::~NetStore() {
    stop_ = true;
    if (pending_.valid()) pending_.wait();
}

SharedNet NetStore::find(const NetKey& key) {
    for (auto k = kept_.begin(); k != kept_.end(); ++k)
        if (k->key == key) {
            kept_.splice(kept_.begin(), kept_, k);
            return kept_.front().net;
        }
    return nullptr;
}

void NetStore::remember(Kept made) {
    for (auto k = kept_.begin(); k != kept_.end(); ++k)
        if (k->key == made.key) {
            kept_.erase(k);
            break;
        }
    kept_.push_front(std::move(made));
    if (kept_.size() > capacity_) kept_.pop_back();
}

void NetStore::takeBuilt(bool wait) {
    if (!pending_.valid()) return;
    if (!wait && pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    for (Kept& made : pending_.get()) remember(std::move(made));
    building_.clear();
}

SharedNet NetStore::net(const NetKey& key, const Polyhedron& shape, int numberBase) {
    if (std::find(building_.begin(), building_.end(), key) != building_.end()) takeBuilt(true);
    if (SharedNet found = find(key)) return found;
    SharedNet made = makeNet(shape, numberBase, nullptr);
    remember({key, made});
    return made;
}

bool NetStore::prepare(const std::vector<Wanted>& wanted) {
    takeBuilt(false);
    if (pending_.valid()) return false;
    std::vector<std::pair<NetKey, int>> keys;
    std::vector<Polyhedron> shapes;
    for (const Wanted& w : wanted)
        if (!find(w.key)) {
            keys.emplace_back(w.key, w.numberBase);
            shapes.push_back(*w.shape);
        }
    if (keys.empty()) return true;
    for (const auto& k : keys) building_.push_back(k.first);
    pending_ = startInBackground([this, keys, shapes = std::move(shapes)] {
        Made made;
        for (std::size_t i = 0; i < keys.size(); ++i)
            made.push_back({keys[i].first, makeNet(shapes[i], keys[i].second, &stop_)});
        return made;
    });
    return false;
}

}  // namespace pd
