#include "picture_textures.h"
#include "media_file.h"
#include "media_messages.h"
#include "picture_decode.h"
#include "shared_by_name.h"

#include "scene/texture.h"

#include <cstring>
#include <vortel/plugin_helper.h>

namespace media
{

namespace
{
SharedByName<Texture> gPictures;

std::unique_ptr<Texture> load_picture(const char* name)
{
    std::vector<uint8_t> bytes;
    if (!read_whole_file(name, bytes)) {
        vortel::log(msg::kPictureNotFound, name);
        return nullptr;
    }
    DecodedPicture picture;
    std::string reason;
    if (!decode_picture(bytes, picture, reason)) {
        vortel::log(msg::kPictureUndecodable, name, reason.c_str());
        return nullptr;
    }
    auto texture = std::make_unique<Texture>(picture.pixels.data(), picture.width, picture.height);
    if (texture->width != picture.width || texture->height != picture.height) {
        vortel::log(msg::kPictureTooLarge, name, int(picture.width), int(picture.height));
        return nullptr;
    }
    return texture;
}
} // namespace

void* acquire_picture(const char* name, void*, bool* outFlag)
{
    if (!name || std::strcmp(name, "Render1") == 0 || std::strcmp(name, "Render2") == 0)
        return nullptr;
    Texture* texture = gPictures.acquire(name, load_picture);
    if (texture && outFlag)
        *outFlag = true;
    return texture;
}

bool release_picture(const char* name, void* resource)
{
    return name && gPictures.release(name, resource);
}

void release_all_pictures()
{
    gPictures.clear();
}

} // namespace media
