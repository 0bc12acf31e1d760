// The painter's stack of rectangular clip areas, kept on the four user clip planes of the GL state cache
// (ClipMinX: x >= left, ClipMaxX: x <= right, ClipMinY: y >= top, ClipMaxY: y <= bottom).
//
// Contracts
//  - Areas only ever narrow: a nested push changes a limit only where it is tighter than the current one,
//    so a wider nested area never shows more than its parent.
//  - Every Push pairs with one Pop, which undoes exactly what that Push changed; popping the last level
//    switches the planes off again.
//  - At most kMaxLevels levels; a further Push, or a Pop on an empty stack, throws BasicException.
#pragma once

#include <cstdint>

class GUIClipStack
{
public:
    static constexpr int kMaxLevels = 255;

    struct Limits {
        int left, right, top, bottom;
    };

    void Push(int left, int right, int top, int bottom);
    void Pop();
    int depth() const { return depth_; }
    // Effective limits of the top level; only meaningful while depth() > 0.
    const Limits& top() const { return levels_[depth_ - 1].limits; }

private:
    // How one level changed one plane: not at all, by a push on the cache stack, or (when that stack is
    // full) by replacing the cached value, which Pop puts back.
    enum class Change : uint8_t { None, Pushed, Replaced };
    struct Level {
        Limits limits;
        Change change[4];
        uint32_t replaced[4];
    };

    void Narrow(Level& level, int plane, int value);
    void Restore(const Level& level, int plane);

    Level levels_[kMaxLevels];
    int depth_ = 0;
};
