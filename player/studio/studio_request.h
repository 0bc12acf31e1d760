// A studio request as the main thread gets it: already past the security checks, its body parsed.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

struct StudioRequest {
    std::string method; // "GET" or "POST"
    std::string path;   // "/api/seek"
    std::map<std::string, std::string> query;
    nlohmann::json body; // an object; empty for GET and for an empty body
};

// A request that asks for something impossible (a missing member, an index out of range): answered 400
// with what() as the message.
class StudioBadRequest : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Members and query values, checked: each throws StudioBadRequest naming the member when it is missing,
// not an integer, or outside lowest..highest.
int64_t integer_member(const nlohmann::json& body, const char* name, int64_t lowest, int64_t highest);
int64_t integer_query(const StudioRequest& request, const char* name, int64_t lowest, int64_t highest);
