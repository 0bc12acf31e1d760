// Loading small documents written by the tests themselves.
#pragma once

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "demo_loader.h"

// Writes `xml` to a file named after the running test (tests run in parallel in one folder) and
// returns its path.
inline std::string write_document(const std::string& xml)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = std::string(info->test_suite_name()) + "." + info->name() + ".xml";
    std::ofstream(path, std::ios::binary) << xml;
    return path;
}

inline Demo load_xml(const std::string& xml)
{
    Demo demo;
    load_demo(write_document(xml).c_str(), demo);
    return demo;
}

// The first line of the message of the BasicException the document raises (the message it is known by;
// where and what follow on the next line), or "loaded" when it loads.
inline std::string load_failure(const std::string& xml)
{
    try {
        load_xml(xml);
    } catch (const BasicException& e) {
        const std::string message = e.message;
        return message.substr(0, message.find('\n'));
    }
    return "loaded";
}

// A document with the required settings, the given extra Settings attributes and body.
inline std::string demo_xml(const std::string& body, const std::string& settings = "")
{
    return "<Demo><Settings RunningTime=\"5000\" NumberOfInputSurfaces=\"1\" " + settings + "/>" + body +
           "</Demo>";
}

// A document with one track holding one event (0 .. 2000 ms) with the given param elements.
inline std::string event_xml(const std::string& params)
{
    return demo_xml(
        "<Track><Event LibraryFileName=\"L\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"2000\">" + params +
        "</Event></Track>");
}
