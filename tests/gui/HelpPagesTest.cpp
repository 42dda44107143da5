// The help pages the shipped configuration names: they exist where the window looks for them,
// they are well-formed HTML, and every link and picture in them resolves, offline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "UConfig.h"
#include "USubExec.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

class SilentOwner : public TConfigOwner {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetHelpItem(int, const std::string&, const std::string&) override {}
    std::vector<std::string> messages;
};

struct Tag {
    std::string name;  // lower case; "/p" for a closing tag
    std::map<std::string, std::string> attributes;
};

// Reads the tags of a page; anything it cannot read is a fault in `faults`.
std::vector<Tag> ReadTags(const std::string& page, std::vector<std::string>& faults)
{
    std::vector<Tag> tags;
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        if (page.compare(at, 4, "<!--") == 0) {
            at = page.find("-->", at);
            if (at == std::string::npos) faults.push_back("comment without end");
            continue;
        }
        const std::size_t end = page.find('>', at);
        if (end == std::string::npos) {
            faults.push_back("tag without end at " + std::to_string(at));
            break;
        }
        std::string text = page.substr(at + 1, end - at - 1);
        at = end + 1;
        if (text.starts_with("!")) continue;  // the document type
        Tag tag;
        std::size_t i = 0;
        while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '/')) ++i;
        tag.name = text.substr(0, i);
        std::transform(tag.name.begin(), tag.name.end(), tag.name.begin(), ::tolower);
        if (tag.name.empty() || tag.name == "/") faults.push_back("not a tag: <" + text + ">");
        while (i < text.size()) {
            while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
            if (i >= text.size()) break;
            const std::size_t nameStart = i;
            while (i < text.size() && text[i] != '=' && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
            const std::string name = text.substr(nameStart, i - nameStart);
            if (i < text.size() && text[i] == '=') {
                if (i + 1 >= text.size() || text[i + 1] != '"') {
                    faults.push_back("unquoted attribute " + name + " in <" + text + ">");
                    break;
                }
                const std::size_t close = text.find('"', i + 2);
                if (close == std::string::npos) {
                    faults.push_back("open attribute " + name);
                    break;
                }
                tag.attributes[name] = text.substr(i + 2, close - i - 2);
                i = close + 1;
            } else {
                tag.attributes[name] = "";
            }
        }
        tags.push_back(tag);
    }
    return tags;
}

// Elements nest and close; "&" starts an entity; the head says what a browser needs.
std::vector<std::string> WellFormedFaults(const std::string& page)
{
    static const std::set<std::string> kVoid = {"area", "base",  "br",   "col",  "embed",  "hr",
                                                "img",  "input", "link", "meta", "source", "wbr"};
    std::vector<std::string> faults;
    if (!page.starts_with("<!DOCTYPE html>")) faults.push_back("no <!DOCTYPE html> first");
    std::vector<std::string> open;
    bool lang = false, charset = false, title = false;
    for (const Tag& tag : ReadTags(page, faults)) {
        if (tag.name == "html") lang = tag.attributes.count("lang") > 0;
        if (tag.name == "meta" && tag.attributes.count("charset")) charset = tag.attributes.at("charset") == "utf-8";
        if (tag.name == "title") title = true;
        if (tag.name == "img" && (!tag.attributes.count("alt") || tag.attributes.at("alt").empty()))
            faults.push_back("picture without alt text");
        if (tag.name.starts_with("/")) {
            const std::string name = tag.name.substr(1);
            if (open.empty() || open.back() != name) {
                faults.push_back("</" + name + "> closes <" + (open.empty() ? std::string("nothing") : open.back()) +
                                 ">");
                continue;
            }
            open.pop_back();
        } else if (!kVoid.count(tag.name)) {
            open.push_back(tag.name);
        }
    }
    if (!open.empty()) faults.push_back("<" + open.back() + "> is not closed");
    if (!lang) faults.push_back("no language on <html>");
    if (!charset) faults.push_back("no <meta charset=\"utf-8\">");
    if (!title) faults.push_back("no <title>");
    for (std::size_t at = page.find('&'); at != std::string::npos; at = page.find('&', at + 1)) {
        std::size_t i = at + 1;
        if (i < page.size() && page[i] == '#') ++i;
        const std::size_t start = i;
        while (i < page.size() && std::isalnum(static_cast<unsigned char>(page[i]))) ++i;
        if (i == start || i >= page.size() || page[i] != ';')
            faults.push_back("bare & at " + std::to_string(at) + ": " + page.substr(at, 12));
    }
    return faults;
}

std::set<std::string> Ids(const std::string& page)
{
    std::vector<std::string> ignored;
    std::set<std::string> ids;
    for (const Tag& tag : ReadTags(page, ignored))
        if (tag.attributes.count("id")) ids.insert(tag.attributes.at("id"));
    return ids;
}

bool StartsLikeAPicture(const fs::path& file)
{
    const std::string head = test::ReadFile(file.string()).substr(0, 256);
    if (file.extension() == ".png") return head.starts_with("\x89PNG");
    if (file.extension() == ".svg") return head.find("<svg") != std::string::npos;
    return true;
}

class HelpPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolDir = ExecutableDir();
        std::vector<TConfigItem> items = {{"QUORLET_PATH", true, {}}};
        ASSERT_TRUE(config.ReadConfig("QUORLET.CFG", items)) << "no QUORLET.CFG beside " << toolDir;
        if (!items[0].value.empty()) config.SetHelpDir(items[0].value);
    }

    std::string toolDir;
    SilentOwner owner;
    TConfig config{owner, ExecutableDir()};
};

TEST_F(HelpPagesTest, ShippedConfigurationNamesTheFourPagesAndTheyExist)
{
    const auto& entries = config.HelpEntries();
    std::vector<std::string> captions;
    for (const auto& e : entries) captions.push_back(e.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{" Getting started", " Table language", " Options and outputs",
                                                  " State machines"}));
    for (int n = 1; n <= static_cast<int>(entries.size()); ++n) {
        const std::string path = config.HelpPath(n);
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
        // The built copy is the page in the sources.
        const fs::path source = fs::path(QUORLET_SOURCE_DIR) / "docs" / fs::path(entries[n - 1].file);
        EXPECT_EQ(test::ReadFile(path), test::ReadFile(source.string())) << source;
    }
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(HelpPagesTest, PagesAreWellFormedAndEveryLinkAndPictureResolves)
{
    std::vector<fs::path> toVisit;
    for (int n = 1; n <= static_cast<int>(config.HelpEntries().size()); ++n) toVisit.push_back(config.HelpPath(n));
    std::set<fs::path> visited;
    std::size_t links = 0;
    while (!toVisit.empty()) {
        const fs::path page = fs::weakly_canonical(toVisit.back());
        toVisit.pop_back();
        if (!visited.insert(page).second) continue;
        const std::string text = test::ReadFile(page.string());
        ASSERT_FALSE(text.empty()) << page;
        for (const std::string& fault : WellFormedFaults(text)) ADD_FAILURE() << page.filename() << ": " << fault;

        std::vector<std::string> faults;
        for (const Tag& tag : ReadTags(text, faults)) {
            for (const char* attribute : {"href", "src"}) {
                if (!tag.attributes.count(attribute)) continue;
                const std::string link = tag.attributes.at(attribute);
                ++links;
                // The pages are read from a disk in a lab, perhaps without a network.
                EXPECT_EQ(link.find(':'), std::string::npos) << page.filename() << ": not a relative link: " << link;
                EXPECT_FALSE(link.starts_with("/")) << page.filename() << ": absolute link " << link;
                const std::size_t hash = link.find('#');
                const std::string file = link.substr(0, hash);
                const fs::path target = file.empty() ? page : page.parent_path() / file;
                if (!fs::is_regular_file(target)) {
                    ADD_FAILURE() << page.filename() << ": " << link << " does not exist";
                    continue;
                }
                EXPECT_TRUE(StartsLikeAPicture(target)) << target;
                if (hash != std::string::npos) {
                    EXPECT_TRUE(Ids(test::ReadFile(target.string())).count(link.substr(hash + 1)))
                        << page.filename() << ": no id for " << link;
                }
                if (target.extension() == ".html") toVisit.push_back(target);
            }
        }
    }
    EXPECT_EQ(visited.size(), 4u);
    EXPECT_GE(links, visited.size() * 5);  // at least the four pages and the style sheet a page
}

TEST(HelpPageCheckTest, TheChecksSeeFaults)
{
    const std::string good =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>t</title></head>"
        "<body><p>a &amp; b<br><img src=\"x.png\" alt=\"x\"></p></body></html>";
    EXPECT_TRUE(WellFormedFaults(good).empty());
    for (auto [from, to] : std::vector<std::pair<std::string, std::string>>{{"<p>a", "<p><b>a"},
                                                                            {"&amp;", "&"},
                                                                            {" alt=\"x\"", ""},
                                                                            {"lang=\"en\"", ""},
                                                                            {"<!DOCTYPE html>", ""},
                                                                            {"src=\"x.png\"", "src=x.png"},
                                                                            {"</body>", "</div></body>"}}) {
        std::string bad = good;
        bad.replace(bad.find(from), from.size(), to);
        EXPECT_FALSE(WellFormedFaults(bad).empty()) << bad;
    }
    EXPECT_EQ(Ids("<h2 id=\"a\">x</h2><p id=\"b\">").size(), 2u);
}

}  // namespace
}  // namespace quorlet
