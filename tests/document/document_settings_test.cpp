// The demo document: settings, libraries, texts, and the numbers they are written with.
#include <gtest/gtest.h>

#include "load_helpers.h"

TEST(DocumentSettings, ReadsEverySettingAndKeepsAbsentStringsApart)
{
    const Demo demo = load_xml(demo_xml("", "UseOpenGL=\"true\" InputMusicFile=\"music.ogg\" "
                                            "LoaderAnim=\"\" DataFile=\"pack.dat\" AspectRatioX=\"16\" "
                                            "AspectRatioY=\"9\""));
    EXPECT_EQ(demo.runningTime, 5000u);
    EXPECT_TRUE(demo.useOpenGL);
    EXPECT_EQ(demo.numberOfInputSurfaces, 1u);
    EXPECT_TRUE(demo.hasInputMusicFile);
    EXPECT_EQ(demo.inputMusicFile, "music.ogg");
    EXPECT_TRUE(demo.hasLoaderAnim); // present, though empty
    EXPECT_EQ(demo.loaderAnim, "");
    EXPECT_FALSE(demo.hasLoaderMusicFile);
    EXPECT_TRUE(demo.hasDataFile);
    EXPECT_EQ(demo.dataFile, "pack.dat");
    EXPECT_EQ(demo.aspectRatioX, 16);
    EXPECT_EQ(demo.aspectRatioY, 9);
    EXPECT_TRUE(demo.tracks.empty());
    EXPECT_TRUE(demo.libraries.empty());
    EXPECT_TRUE(demo.texts.empty());
}

TEST(DocumentSettings, UseOpenGLIsTrueOnlyForExactlyTrue)
{
    EXPECT_FALSE(load_xml(demo_xml("", "UseOpenGL=\"True\"")).useOpenGL);
    EXPECT_FALSE(load_xml(demo_xml("", "UseOpenGL=\"1\"")).useOpenGL);
    EXPECT_FALSE(load_xml(demo_xml("")).useOpenGL);
}

TEST(DocumentSettings, AspectRatioNeedsBothSidesAndFallsBackToFourByThree)
{
    const Demo onlyX = load_xml(demo_xml("", "AspectRatioX=\"16\""));
    EXPECT_EQ(onlyX.aspectRatioX, 4);
    EXPECT_EQ(onlyX.aspectRatioY, 3);
    // A side of zero would divide by zero when the viewport is shaped.
    const Demo zeroY = load_xml(demo_xml("", "AspectRatioX=\"16\" AspectRatioY=\"0\""));
    EXPECT_EQ(zeroY.aspectRatioX, 4);
    EXPECT_EQ(zeroY.aspectRatioY, 3);
}

TEST(DocumentSettings, NumbersReadLikeAtolAndSaturateBeyond32Bits)
{
    EXPECT_EQ(load_xml(demo_xml("", "AspectRatioX=\"  16:10\" AspectRatioY=\"+9x\"")).aspectRatioX, 16);
    const std::string settings = "<Settings RunningTime=\"%\" NumberOfInputSurfaces=\"0\"/>";
    auto running = [&](const std::string& value) {
        std::string s = settings;
        s.replace(s.find('%'), 1, value);
        return load_xml("<Demo>" + s + "</Demo>").runningTime;
    };
    EXPECT_EQ(running("abc"), 0u);
    EXPECT_EQ(running(" \t 42ms"), 42u);
    EXPECT_EQ(running("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(running("99999999999"), 0x7FFFFFFFu);
    EXPECT_EQ(running("-99999999999"), 0x80000000u);
}

TEST(DocumentSettings, ElementsAreFoundAtAnyDepthAndTheFirstSettingsWins)
{
    const Demo demo =
        load_xml("<Root><Group><Settings RunningTime=\"7\" NumberOfInputSurfaces=\"2\"/></Group>"
                 "<Settings RunningTime=\"8\" NumberOfInputSurfaces=\"3\"/></Root>");
    EXPECT_EQ(demo.runningTime, 7u);
    EXPECT_EQ(demo.numberOfInputSurfaces, 2u);
}

TEST(DocumentLibraries, DeclareFunctionsAndTheirParameterNamesWhateverTheTags)
{
    const Demo demo =
        load_xml(demo_xml("<Library FileName=\"Scaffold.dll\">"
                          "  <Function Name=\"Clear3D\"/>"
                          "  <Fn Name=\"Image\"><p Name=\"picRSRCTXTR\"/><q Name=\"alpha\"/></Fn>"
                          "</Library>"
                          "<Library FileName=\"Swarms.dll\"/>"));
    ASSERT_EQ(demo.libraries.size(), 2u);
    EXPECT_EQ(demo.libraries[0].fileName, "Scaffold.dll");
    ASSERT_EQ(demo.libraries[0].functions.size(), 2u);
    EXPECT_EQ(demo.libraries[0].functions[0].name, "Clear3D");
    EXPECT_TRUE(demo.libraries[0].functions[0].paramNames.empty());
    EXPECT_EQ(demo.libraries[0].functions[1].name, "Image");
    EXPECT_EQ(demo.libraries[0].functions[1].paramNames, (std::vector<std::string>{"picRSRCTXTR", "alpha"}));
    EXPECT_EQ(demo.libraries[1].fileName, "Swarms.dll");
    EXPECT_TRUE(demo.libraries[1].functions.empty());
}

TEST(DocumentTexts, EmptyTextsAddNothingSoLaterTextsMoveUp)
{
    const Demo demo = load_xml(demo_xml("<Texts><Text>a</Text><Text/><Text>b</Text></Texts>"));
    EXPECT_EQ(demo.texts, (std::vector<std::string>{"a", "b"}));
}

TEST(DocumentTexts, EveryTextElementCountsOnceATextsElementExists)
{
    const Demo demo = load_xml(demo_xml("<Text>first</Text><Texts><Text> spaced </Text></Texts>"
                                        "<Other><Text>nested &amp; escaped</Text></Other>"));
    EXPECT_EQ(demo.texts, (std::vector<std::string>{"first", " spaced ", "nested & escaped"}));
}

TEST(DocumentTexts, WithoutATextsElementNoTextIsRead)
{
    EXPECT_TRUE(load_xml(demo_xml("<Text>ignored</Text>")).texts.empty());
}

TEST(DocumentTexts, NonAsciiTextsArriveAsUtf8)
{
    const Demo demo = load_xml(demo_xml("<Texts><Text>b\xC3\xA4r \xF0\x9F\x8E\xB5</Text></Texts>"));
    ASSERT_EQ(demo.texts.size(), 1u);
    EXPECT_EQ(demo.texts[0], "b\xC3\xA4r \xF0\x9F\x8E\xB5");
}
