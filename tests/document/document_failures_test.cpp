// The demo document: what a broken or hostile document gets instead of a demo.
#include <gtest/gtest.h>

#include "load_helpers.h"

namespace
{

const std::string kXmlError =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
const std::string kLoadError = "An error occurred while loading demo from XML file. May have something to "
                               "with corrupt XML, not 100% sure...";
const std::string kCorruptCombi = "Corrupt combi-function!";

std::string combi_chain(int depth)
{
    std::string xml;
    for (int i = 0; i < depth; ++i)
        xml += "<param type=\"combi\" op=\"1000\">";
    xml += "<param type=\"const\" val=\"1\"/>";
    for (int i = 0; i < depth; ++i)
        xml += "</param>";
    return xml;
}

} // namespace

TEST(DocumentFailures, AMissingFileNamesThePath)
{
    Demo demo;
    try {
        load_demo("no/such/demo.xml", demo);
        FAIL() << "loaded a missing file";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Couldn't load the demo no/such/demo.xml, does this file exists?");
    }
}

TEST(DocumentFailures, ADocumentThatIsNotWellFormedIsAnXmlError)
{
    EXPECT_EQ(load_failure("<Demo><Settings RunningTime=\"1\" NumberOfInputSurfaces=\"0\"></Demo>"),
              kXmlError);
    EXPECT_EQ(load_failure(""), kXmlError);
    // An element left open after everything the player needs: refused rather than half played.
    EXPECT_EQ(load_failure(demo_xml("<Track>")), kXmlError);
}

TEST(DocumentFailures, MissingRequiredPartsAreLoadErrors)
{
    EXPECT_EQ(load_failure("<Demo/>"), kLoadError);
    EXPECT_EQ(load_failure("<Demo><Settings NumberOfInputSurfaces=\"0\"/></Demo>"), kLoadError);
    EXPECT_EQ(load_failure("<Demo><Settings RunningTime=\"0\"/></Demo>"), kLoadError);
    EXPECT_EQ(load_failure(demo_xml("<Library/>")), kLoadError);
    EXPECT_EQ(load_failure(demo_xml("<Library FileName=\"a\"><Function/></Library>")), kLoadError);
    EXPECT_EQ(load_failure(demo_xml("<Library FileName=\"a\"><F Name=\"f\"><P/></F></Library>")), kLoadError);
    EXPECT_EQ(load_failure(demo_xml("<Track><E FunctionName=\"F\" StartTime=\"0\" EndTime=\"1\"/></Track>")),
              kLoadError);
    EXPECT_EQ(
        load_failure(demo_xml("<Track><E LibraryFileName=\"L\" FunctionName=\"F\" EndTime=\"1\"/></Track>")),
        kLoadError);
}

TEST(DocumentFailures, MissingParameterAttributesAndUnknownInterpolationsAreLoadErrors)
{
    EXPECT_EQ(load_failure(event_xml("<param start=\"0\"/>")), kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"multi\" val=\"0\"/>")), kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"multi\" interpol=\"cubic\" val=\"0\"/>")), kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"multi\" interpol=\"lin\"/>")), kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"sin\" ampli=\"1\" period=\"1\" offset=\"1\"/>")),
              kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"beat\" ID=\"0\" min=\"0\"/>")), kLoadError);
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\"><a/><b/></param>")), kLoadError);
}

TEST(DocumentFailures, CombiOperandCountsMustMatchTheOperation)
{
    const std::string one = "<a type=\"const\"/>", two = one + "<b type=\"const\"/>";
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\" op=\"1000\">" + two + "</param>")),
              kCorruptCombi);
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\" op=\"1001\"></param>")), kCorruptCombi);
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\" op=\"0\">" + one + "</param>")), kCorruptCombi);
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\" op=\"1\">" + two + one + "</param>")),
              kCorruptCombi);
    // Text and comments between operands are not operands.
    EXPECT_EQ(
        load_failure(event_xml("<param type=\"combi\" op=\"0\">x" + one + "<!-- c -->" + one + "</param>")),
        "loaded");
    // A broken operand deep inside the tree is found as well.
    EXPECT_EQ(load_failure(event_xml("<param type=\"combi\" op=\"0\">" + one + "<b type=\"combi\" op=\"1\">" +
                                     one + "</b></param>")),
              kCorruptCombi);
}

TEST(DocumentFailures, CombiTreesNestAtMostToTheBoundedDepth)
{
    EXPECT_EQ(load_failure(event_xml(combi_chain(kMaxCombiDepth))), "loaded");
    EXPECT_EQ(load_failure(event_xml(combi_chain(kMaxCombiDepth + 1))), kCorruptCombi);
    // Deep enough to exhaust the stack if it were followed.
    EXPECT_EQ(load_failure(event_xml(combi_chain(30000))), kCorruptCombi);
}

TEST(DocumentFailures, AFailedLoadLeavesTheDemoAsItWas)
{
    Demo demo = load_xml(demo_xml("", "AspectRatioX=\"16\" AspectRatioY=\"9\""));
    try {
        load_demo(write_document(demo_xml("<Track><E/></Track>")).c_str(), demo);
    } catch (const BasicException&) {
    }
    EXPECT_EQ(demo.aspectRatioX, 16);
    EXPECT_EQ(demo.runningTime, 5000u);
}

TEST(DocumentFailures, EntityExpansionIsBoundedAndExternalFilesAreNotFetched)
{
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE Demo [<!ENTITY a0 \"xxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i)
        bomb += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
            std::string refs;
            for (int k = 0; k < 10; ++k)
                refs += "&a" + std::to_string(i - 1) + ";";
            return refs;
        }() + "\">";
    bomb += "]>" + demo_xml("<Texts><Text>&a9;</Text></Texts>");
    EXPECT_EQ(load_failure(bomb), kXmlError);

    // Entities a hand-written document might use, 100 references to a 1 KB text, load.
    std::string references;
    for (int i = 0; i < 100; ++i)
        references += "&kb;";
    EXPECT_EQ(load_failure(
                  "<?xml version=\"1.0\"?><!DOCTYPE Demo [<!ENTITY kb \"" + std::string(1000, 'k') + "\">]>" +
                  demo_xml("<Texts><Text a=\"" + references + "\">" + references + "</Text></Texts>")),
              "loaded");

    const std::string external =
        "<?xml version=\"1.0\"?><!DOCTYPE Demo [<!ENTITY secret SYSTEM \"/etc/hostname\">]>" +
        demo_xml("<Texts><Text>&secret;</Text></Texts>");
    EXPECT_EQ(load_failure(external), kXmlError);
}
