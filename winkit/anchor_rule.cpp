// anchor_rule.cpp: the stay, move or stretch decision for controls of a resizable window.
#include "winkit/anchor_rule.h"

int AnchorDecision(int low, int high, int anchor)
{
    if (low > anchor) return ANCHOR_MOVE;
    if (high > anchor) return ANCHOR_STRETCH;
    return ANCHOR_STAY;
}

void ComputeChildShift(int left, int top, int right, int bottom, int anchorX, int anchorY, int dx, int dy,
                       ChildShift *out)
{
    out->dx = out->dy = out->dWidth = out->dHeight = 0;
    int horizontal = AnchorDecision(left, right, anchorX);
    if (horizontal == ANCHOR_MOVE) out->dx = dx;
    else if (horizontal == ANCHOR_STRETCH) out->dWidth = dx;
    int vertical = AnchorDecision(top, bottom, anchorY);
    if (vertical == ANCHOR_MOVE) out->dy = dy;
    else if (vertical == ANCHOR_STRETCH) out->dHeight = dy;
}
