#include "nets/face_labels.h"

#include <algorithm>
#include <cmath>

namespace pd {

namespace {

// The circle round a number keeps this far (mm) from the edge it names.
constexpr double labelClearance = 0.4;

bool insidePolygon(P2 q, const std::vector<P2>& polygon) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
        if ((polygon[i].y > q.y) != (polygon[j].y > q.y) &&
            q.x < polygon[i].x + (q.y - polygon[i].y) * (polygon[j].x - polygon[i].x) / (polygon[j].y - polygon[i].y))
            inside = !inside;
    return inside;
}

double distanceToSegment(P2 q, P2 a, P2 b) {
    const P2 d = b - a;
    const double along = dot(d, d) > 0 ? std::clamp(dot(q - a, d) / dot(d, d), 0.0, 1.0) : 0.0;
    return length(q - (a + along * d));
}

// The inward unit normal of side i of a face with `corners` (net units).
P2 inwardOf(const std::vector<P2>& corners, std::size_t i, bool turnsLeft) {
    const P2 d = corners[(i + 1) % corners.size()] - corners[i];
    const P2 unit = (1.0 / length(d)) * d;
    return turnsLeft ? leftOf(unit) : P2{unit.y, -unit.x};
}

// Where along its side a number may stand, first to last: its middle,
// else nearer one end or the other, so that the numbers of a thin face's
// two long sides can pass each other.
constexpr double labelStations[] = {0.5, 0.35, 0.65, 0.2, 0.8};

}  // namespace

double labelRadius(std::size_t digits) {
    return std::hypot(0.3 * labelSize * double(digits), 0.6 * labelSize);
}

bool placeLabels(const std::vector<P2>& corners, const std::vector<FaceLabel>& labels, bool turnsLeft,
                 double mmPerUnit, std::vector<P2>& centres) {
    centres.clear();
    for (const FaceLabel& label : labels) {
        const std::size_t placed = centres.size();
        const P2 a = corners[label.side], b = corners[(label.side + 1) % corners.size()];
        const P2 in = ((label.radius + labelClearance) / mmPerUnit) * inwardOf(corners, label.side, turnsLeft);
        const double r = label.radius / mmPerUnit;
        for (double t : labelStations) {
            const P2 c = a + t * (b - a) + in;
            bool clear = insidePolygon(c, corners);
            for (std::size_t i = 0; i < corners.size() && clear; ++i)
                clear = distanceToSegment(c, corners[i], corners[(i + 1) % corners.size()]) >= r;
            for (std::size_t k = 0; k < centres.size() && clear; ++k)
                clear = length(c - centres[k]) >= r + labels[k].radius / mmPerUnit;
            if (clear) {
                centres.push_back(c);
                break;
            }
        }
        if (centres.size() == placed) return false;
    }
    return true;
}

double leastLabelScale(const std::vector<P2>& corners, const std::vector<FaceLabel>& labels, bool turnsLeft) {
    if (labels.empty()) return 0.0;
    double longest = 0, widest = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) longest = std::max(longest, length(corners[(i + 1) % corners.size()] - corners[i]));
    for (const FaceLabel& label : labels) widest = std::max(widest, label.radius);
    if (longest == 0) return 0.0;
    // Circles wider than the face never fit; a millionth of that always
    // does unless the face has no room at all.
    double low = widest / longest, high = low * 1e6;
    std::vector<P2> centres;
    if (!placeLabels(corners, labels, turnsLeft, high, centres)) return 0.0;
    while (high > low * 1.001) {
        const double middle = std::sqrt(low * high);
        (placeLabels(corners, labels, turnsLeft, middle, centres) ? high : low) = middle;
    }
    return high;
}

}  // namespace pd
