#include "texts.h"

namespace
{
const std::vector<std::string>* gTexts = nullptr;
} // namespace

void set_texts(const std::vector<std::string>* texts)
{
    gTexts = texts;
}

const char* GetText(int32_t index)
{
    if (!gTexts || index < 0 || size_t(index) >= gTexts->size())
        return nullptr;
    return (*gTexts)[size_t(index)].c_str();
}
