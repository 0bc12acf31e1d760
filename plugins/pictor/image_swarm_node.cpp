#include "image_swarm_node.h"

#include "scene/texture.h"

#include <GL/glew.h>

#include <algorithm>

ImageSwarmNode::ImageSwarmNode(const Texture& texture, int32_t n, int32_t first, bool sprites_,
                               const float* positions, const uint8_t* colors, uint8_t alpha, uint8_t red,
                               uint8_t green, uint8_t blue, float growth)
    : count(n), width(texture.width), height(texture.height), textureId(texture.id), sprites(sprites_),
      first_(first)
{
    vertexCount_ = count * verticesPerPoint();
    vertices_.resize(size_t(vertexCount_) * 3);
    const float* p = positions + size_t(first) * 3;
    if (sprites) {
        std::copy(p, p + size_t(count) * 3, vertices_.begin());
    } else {
        const int16_t s = int16_t(int32_t(texCoordScale));
        const int16_t quadCoords[8] = {0, 0, s, 0, s, s, 0, s};
        texCoords_.resize(size_t(count) * 8);
        for (int32_t j = 0; j < count; ++j, p += 3) {
            const float f = 1.0f + float(j + 1) * growth;
            const float hw = f * float(width) / 2.0f;
            const float hh = f * float(height) / 2.0f;
            const float quad[12] = {p[0] - hw, p[1] + hh, p[2], p[0] + hw, p[1] + hh, p[2],
                                    p[0] + hw, p[1] - hh, p[2], p[0] - hw, p[1] - hh, p[2]};
            std::copy(quad, quad + 12, vertices_.begin() + size_t(j) * 12);
            std::copy(quadCoords, quadCoords + 8, texCoords_.begin() + size_t(j) * 8);
        }
    }
    RefreshColors(colors, alpha, red, green, blue);
}

void ImageSwarmNode::RefreshColors(const uint8_t* colors, uint8_t alpha, uint8_t red, uint8_t green,
                                   uint8_t blue)
{
    uniformColor_ = (uint32_t(alpha) << 24) | (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue;
    if (!colors) {
        colors_.clear();
        return;
    }
    const int per = verticesPerPoint();
    colors_.resize(size_t(vertexCount_) * 4);
    const uint8_t* c = colors + size_t(first_) * 4;
    uint8_t* out = colors_.data();
    for (int32_t j = 0; j < count; ++j, c += 4) {
        for (int v = 0; v < per; ++v, out += 4) {
            out[0] = c[1];
            out[1] = c[2];
            out[2] = c[3];
            out[3] = c[0];
        }
    }
}

void ImageSwarmNode::SetOpacity(int32_t value)
{
    opacity = std::clamp(value, 0, 255);
    uniformColor_ = (uniformColor_ & 0x00FFFFFFu) | (uint32_t(opacity) << 24);
    for (size_t i = 3; i < colors_.size(); i += 4)
        colors_[i] = uint8_t(opacity);
}

uint32_t ImageSwarmNode::GetPrimitiveType()
{
    return sprites ? GL_POINTS : GL_QUADS;
}
void* ImageSwarmNode::GetVertices()
{
    return vertices_.data();
}
bool ImageSwarmNode::HasIndices()
{
    return false;
}
int ImageSwarmNode::GetBatchCount()
{
    return 1;
}
int* ImageSwarmNode::GetBatchCounts()
{
    return &vertexCount_;
}
int* ImageSwarmNode::GetBatchFirsts()
{
    return &batchFirst_;
}
void** ImageSwarmNode::GetIndexPointers()
{
    return nullptr;
}
bool ImageSwarmNode::HasColors()
{
    return !colors_.empty();
}
void* ImageSwarmNode::GetColors()
{
    return colors_.empty() ? nullptr : colors_.data();
}
uint32_t ImageSwarmNode::GetColor()
{
    return uniformColor_;
}
bool ImageSwarmNode::HasTexture()
{
    return true;
}
bool ImageSwarmNode::HasTexCoords()
{
    return !sprites;
}
void* ImageSwarmNode::GetTexCoords()
{
    return sprites ? nullptr : texCoords_.data();
}
uint32_t ImageSwarmNode::GetTextureId()
{
    return textureId;
}
