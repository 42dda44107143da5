// What every fuzz target shares: a private scratch directory that is the current directory for
// the whole fuzzing process, writing the input bytes into a file there and reading files back,
// and the command line a choice byte picks.
#pragma once

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

inline std::string ReadBack(const std::filesystem::path& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The words of a run that a choice byte picks: the output kind (bits 0 to 2), a word for each of
// bits 3 to 6, the table "t.tbl" and a flip-flop type (bits 6 and 7).
inline std::string ChosenCommandLine(std::uint8_t choice, const std::array<const char*, 8>& outputs,
                                     const std::array<const char*, 4>& flags)
{
    static constexpr std::array<const char*, 4> kFlipFlop = {"", " D", " JK", " SR"};
    std::string line = outputs[choice & 7];
    for (int bit = 0; bit < 4; ++bit)
        if (choice & (0x08 << bit)) line += flags[bit];
    line += " t.tbl";
    line += kFlipFlop[(choice >> 6) & 3];
    return line + " ";
}

}  // namespace quorlet::fuzz
