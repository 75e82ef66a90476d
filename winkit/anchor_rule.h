// anchor_rule.h: how one control follows a size change of its window, decided against an anchor point.
#ifndef SETRADIO_WINKIT_ANCHOR_RULE_H
#define SETRADIO_WINKIT_ANCHOR_RULE_H

enum AnchorAction {
    ANCHOR_STAY = 0,     // the control keeps its place and size along this axis
    ANCHOR_MOVE = 1,     // it lies wholly past the anchor: it moves by the size change
    ANCHOR_STRETCH = 2   // it spans the anchor: its far edge follows the size change
};

// One axis: low and high are the control's left and right (or top and bottom) edges.
int AnchorDecision(int low, int high, int anchor);

// Moves and size changes of one control for a window grown by dx, dy (negative: shrunk).
struct ChildShift {
    int dx, dy;            // position change
    int dWidth, dHeight;   // size change
};
void ComputeChildShift(int left, int top, int right, int bottom, int anchorX, int anchorY, int dx, int dy,
                       ChildShift *out);

#endif
