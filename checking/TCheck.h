// The answer check's stage, run by the converter dispatch for the leading word "--check": it
// keeps the run's cover table, settings log and minimized cover under names of their own, since
// the driver and the dispatch erase the originals when the run ends.
#pragma once

#include <string_view>

#include "USubExec.h"

namespace quorlet {

inline constexpr std::string_view kKeptCoverTableFile = "chk_tbl.$$$";
inline constexpr std::string_view kKeptSettingsLogFile = "chk_log.$$$";
inline constexpr std::string_view kKeptMinimizedFile = "chk_esp.$$$";

class TCheck : public TSubExec {
public:
    void Execute() override;

private:
    bool Keep(std::string_view from, std::string_view to);
};

}  // namespace quorlet
