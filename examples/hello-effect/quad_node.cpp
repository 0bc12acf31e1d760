#include "quad_node.h"

#include <GL/gl.h>

QuadNode::QuadNode(uint32_t textureId, float edge) : textureId_(textureId)
{
    SetEdge(edge);
}

void QuadNode::SetEdge(float edge)
{
    const float h = edge / 2;
    const float corners[12] = {-h, -h, 0, h, -h, 0, h, h, 0, -h, h, 0};
    for (int i = 0; i < 12; ++i)
        vertices_[i] = corners[i];
}

uint32_t QuadNode::GetPrimitiveType()
{
    return GL_QUADS;
}

uint32_t QuadNode::GetTextureType()
{
    return GL_FLOAT;
}
