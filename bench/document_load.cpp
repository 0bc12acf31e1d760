// Loading a large demo document, against what parsing it into a DOM alone costs.
//
//   XercesParse     initialise the XML library, parse the file into a DOM with the loader's parser
//                   settings, terminate
//   LoadDemo        load_demo on the same file: the parse plus building the demo model
// The document has 10,000 events of 20 parameters each, in every form. LoadDemo / XercesParse is the
// loader's overhead over the parser.
#include <cstdio>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>

#include "demo_loader.h"

namespace
{

constexpr int kEvents = 10000;
constexpr int kParamsPerEvent = 20;

std::string param_xml(int event, int index)
{
    const std::string v = std::to_string(event * kParamsPerEvent + index);
    switch (index % 5) {
    case 0:
        return "<param start=\"0\" end=\"" + v + "\"/>";
    case 1:
        return "<param type=\"multi\" interpol=\"bez\" val=\"0\"><seg time=\"100\" val=\"" + v +
               "\"/><seg time=\"200\" val=\"5\"/><seg time=\"300\" val=\"-7\"/></param>";
    case 2:
        return "<param type=\"sin\" ampli=\"100\" period=\"1000\" offset=\"" + v + "\" height=\"3\"/>";
    case 3:
        return "<param type=\"combi\" op=\"1\"><param type=\"const\" val=\"" + v +
               "\"/><param type=\"const\" val=\"300\"/></param>";
    default:
        return "<param type=\"const\" val=\"" + v + "\"/>";
    }
}

const std::string& document_path()
{
    static const std::string path = [] {
        const std::string file = "bench_document_load.xml";
        std::ofstream out(file);
        out << "<Demo><Settings RunningTime=\"100000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"/>"
               "<Library FileName=\"Probe.dll\"><Function Name=\"Probe\"/></Library><Track>";
        for (int e = 0; e < kEvents; ++e) {
            out << "<Event LibraryFileName=\"Probe.dll\" FunctionName=\"Probe\" StartTime=\"" << e * 10
                << "\" EndTime=\"" << e * 10 + 10 << "\">";
            for (int p = 0; p < kParamsPerEvent; ++p)
                out << param_xml(e, p);
            out << "</Event>";
        }
        out << "</Track><Texts><Text>a</Text></Texts></Demo>";
        return file;
    }();
    return path;
}

void XercesParse(benchmark::State& state)
{
    const std::string& path = document_path();
    for (auto _ : state) {
        xercesc::XMLPlatformUtils::Initialize();
        {
            xercesc::SecurityManager securityManager;
            securityManager.setEntityExpansionLimit(10000);
            xercesc::XercesDOMParser parser;
            parser.setSecurityManager(&securityManager);
            parser.setLoadExternalDTD(false);
            parser.setDisableDefaultEntityResolution(true);
            parser.parse(path.c_str());
            benchmark::DoNotOptimize(parser.getDocument());
        }
        xercesc::XMLPlatformUtils::Terminate();
    }
}
BENCHMARK(XercesParse)->Unit(benchmark::kMillisecond);

void LoadDemo(benchmark::State& state)
{
    const std::string& path = document_path();
    for (auto _ : state) {
        Demo demo;
        load_demo(path.c_str(), demo);
        benchmark::DoNotOptimize(demo.tracks.data());
        state.PauseTiming(); // freeing the model is not loading it
        demo = Demo();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadDemo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
