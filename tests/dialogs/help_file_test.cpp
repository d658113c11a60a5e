// The help file: Kelvora.chm beside the program, its popup.txt with a topic for every control that
// has context help, and the help command showing its default topic.
#include <gtest/gtest.h>

#include <map>

#include "frame_fixture.h"
#include "loglist/list_commands.h"
#include "resources/resource_ids.h"

using namespace testing_support;

namespace {

// Topic number -> text, from CP932 text with CR LF line ends. Every line must end in CR LF.
std::map<int, std::string> ParsePopups(const std::string& bytes, bool* crlf) {
    std::map<int, std::string> topics;
    *crlf = true;
    int topic = -1;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        if (end < bytes.size() && (line.empty() || line.back() != '\r')) *crlf = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".topic ", 0) == 0) {
            topic = std::atoi(line.c_str() + 7);
            topics[topic];
        } else if (topic >= 0 && !line.empty()) {
            topics[topic] += line;
        }
        at = end + 1;
    }
    return topics;
}

std::string HelpBuildFile(const char* name) {
    return EnvPath("KELVORA_BINARY_DIR") + "\\src\\resources\\help\\" + name;
}

TEST(HelpFileTest, PopupFileHasAJapaneseTopicForEveryControlWithHelp) {
    const std::string bytes = ReadFileBytes(HelpBuildFile("popup.txt"));
    ASSERT_FALSE(bytes.empty());
    bool crlf = false;
    std::map<int, std::string> topics = ParsePopups(bytes, &crlf);
    EXPECT_TRUE(crlf);
    const std::vector<int> tables[] = {
        {1, 2, 500, 501, 502, 503, 504, 505},                               // entry dialog
        {1, 2, 510, 531, 532, 533, 535, 536, 537, 539, 544, 546},           // operating environment
        {1, 2, 520, 521, 522, 523},                                         // date macros
        {1, 2, 551, 552, 553, 555, 556, 558, 559, 561},                     // cut settings
    };
    for (const std::vector<int>& table : tables) {
        for (int id : table) {
            auto found = topics.find(id);
            ASSERT_NE(topics.end(), found) << "no topic " << id;
            const std::string& text = found->second;
            EXPECT_GT(text.size(), 10u) << id;
            // Code page 932 text, not UTF-8: it converts without error and holds double-byte characters.
            int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
            EXPECT_GT(wide, 0) << id;
            EXPECT_LT(wide, static_cast<int>(text.size())) << id;
        }
    }
}

TEST(HelpFileTest, CompiledHelpFileSitsBesideTheProgramWithBothFiles) {
    std::string exe = EnvPath("KELVORA_EXE");
    std::string chm = exe.substr(0, exe.rfind('\\') + 1) + "Kelvora.chm";
    const std::string bytes = ReadFileBytes(chm);
    ASSERT_GT(bytes.size(), 4u) << chm;
    EXPECT_EQ("ITSF", bytes.substr(0, 4));
    EXPECT_NE(std::string::npos, bytes.find("/index.html"));
    EXPECT_NE(std::string::npos, bytes.find("/popup.txt"));
}

class HelpCommandTest : public FrameTest {};

TEST_F(HelpCommandTest, ShowsTheDefaultTopicOfTheHelpFileBesideTheProgram) {
    Start("");
    ClickToolbar(IDM_HELP);
    ASSERT_EQ(1u, HelpCalls().size());
    char path[MAX_PATH];
    list_commands::HelpFilePath(GetModuleHandleA(nullptr), path);
    EXPECT_EQ(path, HelpCalls()[0].file);
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), HelpCalls()[0].command);
    EXPECT_EQ(std::string::npos, HelpCalls()[0].file.find("::"));
    EXPECT_EQ("Kelvora.chm", HelpCalls()[0].file.substr(HelpCalls()[0].file.size() - 11));
}

}  // namespace
