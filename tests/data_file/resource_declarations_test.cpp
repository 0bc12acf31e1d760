// "RSRC" declarations in parameter names: which event parameters ask for a resource to be preloaded.
#include <gtest/gtest.h>

#include "data_file.h"

namespace
{

uint32_t declared(const std::string& name)
{
    uint32_t type = 0;
    return declared_resource_type(name, &type) ? type : 0;
}

Param constant(int32_t value)
{
    Param p;
    p.value = value;
    return p;
}

Demo demo_declaring(std::vector<std::string> paramNames)
{
    Demo demo;
    demo.libraries.resize(2);
    demo.libraries[0].functions.push_back({"Other", {"xRSRCTXTR"}});
    demo.libraries[1].functions.push_back({"Img", std::move(paramNames)});
    demo.libraries[1].functions.push_back({"Img", {"otherRSRCGRID", "otherRSRCGRID"}});
    return demo;
}

Event event_of(std::vector<Param> params, const std::string& function = "Img")
{
    Event event;
    event.functionName = function;
    event.libraryFileName = "ignored.dll";
    event.params = std::move(params);
    return event;
}

} // namespace

TEST(ResourceDeclaration, TheFourCharactersAfterRsrcAreTheType)
{
    EXPECT_EQ(declared("RSRCTXTR"), kTypeTexture);
    EXPECT_EQ(declared("pictureRSRCTXTRandmore"), kTypeTexture);
    EXPECT_EQ(declared("beatRSRCBEAT"), kTypeBeat);
}

TEST(ResourceDeclaration, NeedsFourCharactersAfterTheMarker)
{
    EXPECT_EQ(declared("xRSRCabc"), 0u); // eight characters, only three after the marker
    EXPECT_EQ(declared("RSRCTXT"), 0u);
    EXPECT_EQ(declared(""), 0u);
    EXPECT_EQ(declared("rsrcTXTR"), 0u); // compared exactly
    // The first marker that has four characters after it counts.
    EXPECT_EQ(declared("aRSRCbcRSRC"), vortel_fourcc("bcRS"));
    EXPECT_EQ(declared("abcdRSRCRSRC"), vortel_fourcc("RSRC"));
}

TEST(ResourcePreloads, ConstantsAtDeclaredPositionsNameTheirResource)
{
    const Demo demo = demo_declaring({"x", "imageRSRCTXTR", "flags", "swarmRSRCSWRM"});
    std::vector<Param> params;
    params.push_back(constant(1));
    params.push_back(constant(3));
    params.push_back(constant(77));
    params.push_back(constant(4));
    const std::vector<ResourcePreload> preloads = event_resource_preloads(demo, event_of(std::move(params)));
    ASSERT_EQ(preloads.size(), 2u);
    EXPECT_EQ(preloads[0].param, 1u);
    EXPECT_EQ(preloads[0].type, kTypeTexture);
    EXPECT_EQ(preloads[0].textIndex, 3);
    EXPECT_EQ(preloads[0].userDataWord, 77); // the next parameter's value
    EXPECT_EQ(preloads[1].param, 3u);
    EXPECT_EQ(preloads[1].type, kTypeSwarm);
    EXPECT_EQ(preloads[1].userDataWord, 0); // nothing follows
}

TEST(ResourcePreloads, AnimatedParametersAndUndeclaredPositionsPreloadNothing)
{
    const Demo demo = demo_declaring({"imageRSRCTXTR", "imageRSRCTXTR"});
    std::vector<Param> params(3);
    params[0].kind = kParamSine;
    params[1] = constant(5);
    params[2] = constant(6); // past the declared names
    const std::vector<ResourcePreload> preloads = event_resource_preloads(demo, event_of(std::move(params)));
    ASSERT_EQ(preloads.size(), 1u);
    EXPECT_EQ(preloads[0].param, 1u);
    EXPECT_EQ(preloads[0].userDataWord, 6);
}

TEST(ResourcePreloads, TheNextParametersFirstWordIsPassedWhateverItsKind)
{
    const Demo demo = demo_declaring({"imageRSRCTXTR"});
    std::vector<Param> params(2);
    params[0] = constant(2);
    params[1].kind = kParamMulti;
    params[1].keys = {1, 2, 3};
    params[1].lengths = {10, 10};
    EXPECT_EQ(event_resource_preloads(demo, event_of(std::move(params)))[0].userDataWord, 2);
}

TEST(ResourcePreloads, OnlyTheFirstDeclarationOfAFunctionNameCounts)
{
    const Demo demo = demo_declaring({"plain"});
    std::vector<Param> params;
    params.push_back(constant(0));
    params.push_back(constant(0));
    EXPECT_TRUE(event_resource_preloads(demo, event_of(std::move(params))).empty());
    std::vector<Param> other;
    other.push_back(constant(0));
    EXPECT_EQ(event_resource_preloads(demo, event_of(std::move(other), "Other")).size(), 1u);
    EXPECT_TRUE(event_resource_preloads(demo, event_of({}, "Unknown")).empty());
}
