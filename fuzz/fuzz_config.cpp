// Fuzzes the window's configuration reader: the input is a QUORLET.CFG in the program
// directory, read for the keys the window asks for.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "UConfig.h"

namespace {

constexpr std::size_t kMaxConfigBytes = 8 * 1024;

class QuietOwner : public quorlet::TConfigOwner {
public:
    void ShowMessage(const std::string&) override {}
    void SetHelpItem(int index, const std::string&, const std::string&) override
    {
        // The window has ten Help items; a reader that asks for another would reach past them.
        if (index < 1 || index > quorlet::TConfig::kHelpItems) __builtin_trap();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxConfigBytes) return -1;
    quorlet::fuzz::EnterScratchDirectory();
    static const std::filesystem::path scratch = std::filesystem::current_path();
    quorlet::fuzz::WriteInput("QUORLET.CFG", quorlet::fuzz::AsText(data, size));

    QuietOwner owner;
    quorlet::TConfig config(owner, scratch.string());
    std::vector<quorlet::TConfigItem> items = {{"QUORLET_PATH", true, {}}, {"WORKDIR", true, {}},
                                               {"HELPDIR", true, {}},      {"DEBUG", false, {}},
                                               {"DEFAULT_LIB", false, {}}, {"ABEL_DEVICE_DATA", false, {}}};
    config.ReadConfig("QUORLET.CFG", items);
    for (int i = 1; i <= static_cast<int>(config.HelpEntries().size()) + 1; ++i) config.HelpPath(i);
    // A path value may make another directory current for a moment; the next run must start here.
    if (std::filesystem::current_path() != scratch) {
        std::fputs("the configuration reader left another directory current\n", stderr);
        std::abort();
    }
    return 0;
}
