// The order in which the RenderVisitor draws its collected meshes: opaque meshes first, in visit order,
// then the transparent ones back to front.
//
// Transparent meshes are ordered ascending by the z of their own (local) `position`; meshes of equal z
// are drawn in the reverse of their visit order. This is exactly the order that bubble-sorting the
// transparent meshes, placed in reverse visit order, gives when it swaps only on a strictly smaller later
// z; a NaN z compares false both ways, so such a mesh keeps its place and nothing moves across it.
// The sort is a stable merge sort, O(n log n), and RenderOrder keeps its arrays between calls: once they
// have grown to the largest list seen, ordering allocates nothing.
#pragma once

#include <vector>

class Poly3D;

class RenderOrder
{
public:
    // Orders nodes[0 .. count-1]. Returns the number of opaque meshes (they come first in indices()).
    int Build(Poly3D* const* nodes, int count);
    // Indices into the node list, in drawing order; valid until the next Build.
    const int* indices() const { return order_.data(); }

private:
    void sortRange(int begin, int end); // stable, ascending by keys_, within order_[begin .. end-1]

    std::vector<int> order_;
    std::vector<int> scratch_;
    std::vector<float> keys_; // z per node index
};
