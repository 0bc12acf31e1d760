#include "studio_request.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace
{

std::string range_text(int64_t lowest, int64_t highest)
{
    return std::to_string(lowest) + " .. " + std::to_string(highest);
}

} // namespace

int64_t integer_member(const nlohmann::json& body, const char* name, int64_t lowest, int64_t highest)
{
    const auto found = body.is_object() ? body.find(name) : body.end();
    if (found == body.end())
        throw StudioBadRequest(std::string("the request needs the member \"") + name + "\"");
    if (!found->is_number_integer())
        throw StudioBadRequest(std::string("\"") + name + "\" must be an integer");
    // Positive numbers come as unsigned, and may be too big for a signed word.
    const bool tooBig = found->is_number_unsigned() && found->get<uint64_t>() > uint64_t(INT64_MAX);
    const int64_t value = tooBig ? INT64_MAX : found->get<int64_t>();
    if (tooBig || value < lowest || value > highest)
        throw StudioBadRequest(std::string("\"") + name + "\" must be in " + range_text(lowest, highest));
    return value;
}

int64_t integer_query(const StudioRequest& request, const char* name, int64_t lowest, int64_t highest)
{
    const auto found = request.query.find(name);
    if (found == request.query.end())
        throw StudioBadRequest(std::string("the request needs the query value \"") + name + "\"");
    const std::string& text = found->second;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw StudioBadRequest(std::string("\"") + name + "\" must be an integer");
    if (value < lowest || value > highest)
        throw StudioBadRequest(std::string("\"") + name + "\" must be in " + range_text(lowest, highest));
    return value;
}
