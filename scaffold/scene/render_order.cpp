#include "scene/render_order.h"

#include "scene/poly3d.h"

#include <cmath>

int RenderOrder::Build(Poly3D* const* nodes, int count)
{
    if (count < 0)
        count = 0;
    if (order_.size() < size_t(count)) {
        order_.resize(size_t(count));
        scratch_.resize(size_t(count));
        keys_.resize(size_t(count));
    }
    int front = 0, back = count;
    for (int i = 0; i < count; ++i) {
        if (nodes[i]->IsTransparant()) {
            order_[size_t(--back)] = i;
            keys_[size_t(i)] = nodes[i]->position[2];
        } else {
            order_[size_t(front++)] = i;
        }
    }
    const int opaque = front;
    // NaN keys stay where they are: sort each run between them on its own.
    int runStart = opaque;
    for (int k = opaque; k <= count; ++k) {
        if (k == count || std::isnan(keys_[size_t(order_[size_t(k)])])) {
            sortRange(runStart, k);
            runStart = k + 1;
        }
    }
    return opaque;
}

void RenderOrder::sortRange(int begin, int end)
{
    // Bottom-up merge sort; merging takes from the left run unless the right key is strictly smaller,
    // which keeps equal keys in their order.
    int* from = order_.data();
    int* to = scratch_.data();
    const float* keys = keys_.data();
    bool inScratch = false;
    for (int width = 1; width < end - begin; width *= 2) {
        for (int left = begin; left < end; left += 2 * width) {
            const int mid = left + width < end ? left + width : end;
            const int right = mid + width < end ? mid + width : end;
            int a = left, b = mid, out = left;
            while (a < mid && b < right)
                to[out++] = keys[from[b]] < keys[from[a]] ? from[b++] : from[a++];
            while (a < mid)
                to[out++] = from[a++];
            while (b < right)
                to[out++] = from[b++];
        }
        int* swap = from;
        from = to;
        to = swap;
        inScratch = !inScratch;
    }
    if (inScratch)
        for (int k = begin; k < end; ++k)
            order_[size_t(k)] = scratch_[size_t(k)];
}
