// The placement of a block insertion, composed through nested insertions,
// and the guard that keeps walks through definitions finite.
#pragma once

#include <unordered_set>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani {

struct InsertionContext {
    double refX = 0;
    double refY = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double angle = 0;  // radians, counter-clockwise
    int layerGroup = 0;
    int layer = 0;
    int treeParentId = 0;
    int treeItemId = 0;
    int definitionNumber = 0;
    bool highlighted = false;
    // cos and sin of angle, kept so that placing a point turns without
    // recomputing them; ComposeInsertion sets them, SetAngle keeps them true.
    double cosAngle = 1.0;
    double sinAngle = 0.0;

    void SetAngle(double a);
};

// Places a point through the context: scale, rotate, translate.
JwwPoint MapThroughInsertion(const InsertionContext& c, double x, double y);

// The context of insertion `e`, met in the main list (parent null) or in the
// definition placed by `parent`. Highlighting follows the selection pair
// held by the drawing.
InsertionContext ComposeInsertion(const CJwwDoc& doc, const InsertionContext* parent, const CDataBlock& e);

// An angle composed through a context: parent + own, or parent − own when
// the context is mirrored.
inline double ComposeAngle(const InsertionContext& c, double own) {
    return c.scaleX * c.scaleY > 0 ? c.angle + own : c.angle - own;
}

// The definitions entered on the way down from the main list. A walk asks
// Enter() before it goes into a definition and treats a refusal like a
// missing definition: the definition is on the path already (it places
// itself) or the path is kMaxDepth deep.
class BlockPath {
public:
    static constexpr int kMaxDepth = 1000;

    bool Enter(const CDataList* def) {
        if (static_cast<int>(path_.size()) >= kMaxDepth) return false;
        if (!onPath_.insert(def).second) return false;
        path_.push_back(def);
        return true;
    }
    void Leave() {
        onPath_.erase(path_.back());
        path_.pop_back();
    }
    int Depth() const { return static_cast<int>(path_.size()); }

    // Enters on construction when allowed, leaves on destruction.
    class Scope {
    public:
        Scope(BlockPath& p, const CDataList* def) : path_(p), entered_(def && p.Enter(def)) {}
        ~Scope() {
            if (entered_) path_.Leave();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        bool entered() const { return entered_; }

    private:
        BlockPath& path_;
        bool entered_;
    };

private:
    std::vector<const CDataList*> path_;
    std::unordered_set<const CDataList*> onPath_;
};

}  // namespace tolvani
