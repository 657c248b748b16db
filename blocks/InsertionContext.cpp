#include "blocks/InsertionContext.h"

#include <cmath>

namespace tolvani {

void InsertionContext::SetAngle(double a) {
    angle = a;
    cosAngle = std::cos(a);
    sinAngle = std::sin(a);
}

JwwPoint MapThroughInsertion(const InsertionContext& c, double x, double y) {
    x *= c.scaleX;
    y *= c.scaleY;
    if (c.angle != 0) {
        const double rx = x * c.cosAngle - y * c.sinAngle;
        const double ry = x * c.sinAngle + y * c.cosAngle;
        x = rx;
        y = ry;
    }
    return {x + c.refX, y + c.refY};
}

InsertionContext ComposeInsertion(const CJwwDoc& doc, const InsertionContext* parent, const CDataBlock& e) {
    InsertionContext c;
    if (!parent) {
        c.refX = e.ref.x;
        c.refY = e.ref.y;
        c.scaleX = e.scaleX;
        c.scaleY = e.scaleY;
        c.SetAngle(e.angle);
        c.highlighted = doc.selectedParentId == 0 && e.treeItemId != 0 && e.treeItemId == doc.selectedItemId;
    } else {
        const JwwPoint p = MapThroughInsertion(*parent, e.ref.x, e.ref.y);
        c.refX = p.x;
        c.refY = p.y;
        c.scaleX = parent->scaleX * e.scaleX;
        c.scaleY = parent->scaleY * e.scaleY;
        c.SetAngle(ComposeAngle(*parent, e.angle));
        // With nothing selected (both values 0) nothing is highlighted.
        const bool selection = doc.selectedParentId != 0 || doc.selectedItemId != 0;
        c.highlighted = parent->highlighted || (selection && doc.selectedParentId == parent->treeItemId &&
                                                e.definitionNumber == doc.selectedItemId);
    }
    c.layerGroup = e.layerGroup;
    c.layer = e.layer;
    c.treeParentId = e.treeParentId;
    c.treeItemId = e.treeItemId;
    c.definitionNumber = e.definitionNumber;
    return c;
}

}  // namespace tolvani
