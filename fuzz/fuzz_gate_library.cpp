// Fuzzes the gate library readers: the input is a library file read as both gate-level
// converters read it, with plain and with inverting gates.
#include <cstdint>
#include <functional>

#include "FuzzSupport.h"
#include "GateLibrary.h"
#include "IORedirect.h"
#include "TextFile.h"
#include "USubExec.h"

namespace {

constexpr std::size_t kMaxLibraryBytes = 16 * 1024;

// The readers report through the console of a running stage and register their files with it.
class ReaderStage : public quorlet::TSubExec {
public:
    void Execute() override
    {
        for (bool inverting : {false, true}) {
            quorlet::GateLibrary forNetlist = quorlet::ReadLibraryForNetlist(*this, "f.lib", inverting);
            (void)forNetlist;
            quorlet::TextFile file;
            auto head = quorlet::ReadLibraryHeadForDrawing(*this, file, "f.lib", "f.sch", inverting);
            if (head) {
                quorlet::ReadLibraryComponents(*this, file, *head);
                for (const auto& c : head->Components) quorlet::FindComponent(*head, c.Name);
            }
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxLibraryBytes) return -1;
    quorlet::fuzz::EnterScratchDirectory();
    quorlet::Console().Unbind();
    quorlet::fuzz::WriteInput("f.lib", quorlet::fuzz::AsText(data, size));
    {
        ReaderStage stage;
        stage.Run("");
    }
    quorlet::Console().Flush();
    return 0;
}
