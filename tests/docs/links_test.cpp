// The README and the pages in docs/ link to each other by file and heading: every link must lead to a file
// that exists and, when it names a heading, to a heading that exists there (as a Markdown viewer makes
// anchors of headings: lower case, punctuation dropped, blanks turned into hyphens).
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string anchor_of(const std::string& heading)
{
    std::string out;
    for (unsigned char c : heading) {
        if (std::isalnum(c) || c == '-' || c == '_')
            out += char(std::tolower(c));
        else if (c == ' ')
            out += '-';
    }
    return out;
}

std::set<std::string> anchors_of(const fs::path& page)
{
    std::set<std::string> anchors;
    std::istringstream lines(read_file(page));
    bool inCode = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0)
            inCode = !inCode;
        else if (!inCode && line.rfind("#", 0) == 0)
            anchors.insert(anchor_of(line.substr(line.find_first_not_of("# "))));
    }
    return anchors;
}

std::vector<fs::path> pages()
{
    std::vector<fs::path> out = {fs::path(VORTEL_SOURCE_DIR) / "README.md"};
    for (const auto& entry : fs::directory_iterator(fs::path(VORTEL_SOURCE_DIR) / "docs"))
        if (entry.path().extension() == ".md")
            out.push_back(entry.path());
    return out;
}

TEST(DocumentationLinks, LeadToExistingFilesAndHeadings)
{
    const std::regex link(R"(\]\(([^)\s]+)\))");
    size_t checked = 0;
    for (const fs::path& page : pages()) {
        const std::string text = read_file(page);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator();
             ++it) {
            const std::string target = (*it)[1];
            if (target.find("://") != std::string::npos)
                continue;
            const size_t hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const fs::path linked = file.empty() ? page : page.parent_path() / file;
            ++checked;
            if (!fs::exists(linked)) {
                ADD_FAILURE() << page.filename() << " links to a missing file: " << target;
                continue;
            }
            if (hash != std::string::npos && linked.extension() == ".md")
                EXPECT_TRUE(anchors_of(linked).count(target.substr(hash + 1)))
                    << page.filename() << " links to a missing heading: " << target;
        }
    }
    EXPECT_GT(checked, 50u) << "the pages' links were found";
}

} // namespace
