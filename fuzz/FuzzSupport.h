// What every fuzz target shares: a private scratch directory that is the current directory for
// the whole fuzzing process, and writing the input bytes into a file there.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quorlet::fuzz {

// Made once per process; the readers work on fixed file names, so every execution overwrites
// the files of the one before.
inline void EnterScratchDirectory()
{
    static bool entered = false;
    if (entered) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorlet-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
        std::perror("quorlet fuzz: scratch directory");
        std::abort();
    }
    entered = true;
}

inline void WriteInput(const char* name, std::string_view bytes)
{
    std::FILE* f = std::fopen(name, "wb");
    if (!f) {
        std::perror(name);
        std::abort();
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace quorlet::fuzz
