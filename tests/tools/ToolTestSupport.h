// Shared checks of the tool tests.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace quorlet::test {

// Joins each faulty cover with `join` and expects just its message, the joined cover
// "esp_tbl.$$$" left as `kept`, and whatever `alsoKept` checks.
inline void ExpectFaultsKeepTheCover(StageHarness& h, const std::vector<std::pair<std::string, std::string>>& cases,
                                     const std::function<void(const std::string&)>& join, const std::string& kept,
                                     const std::function<void()>& alsoKept = {})
{
    for (const auto& [cover, message] : cases) {
        SCOPED_TRACE(cover);
        h.lines.clear();
        join(cover);
        EXPECT_EQ(h.lines, std::vector<std::string>({message}));
        EXPECT_EQ(ReadFile("esp_tbl.$$$"), kept);
        if (alsoKept) alsoKept();
    }
}

}  // namespace quorlet::test
