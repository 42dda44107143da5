// A text file as the stages see it: lines of at most 255 characters, LF written, CR LF read.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quorlet {

inline constexpr std::size_t kMaxLine = 255;

// Cuts a text to the 255 characters that every stored line, name and word may hold.
std::string ShortString(std::string_view text);
// The text with blanks added on its right (left) up to the width; a longer text stays whole.
std::string PadRight(std::string text, std::size_t width);
std::string PadLeft(std::string text, std::size_t width);

class TextFile {
public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // The name the file was bound to when it was last opened.
    const std::string& Name() const { return name_; }
    bool IsOpen() const { return file_ != nullptr; }

    bool OpenRead(std::string_view name);
    bool OpenWrite(std::string_view name);
    // Creates the file afresh: whatever the name held is unlinked first, and the new file is
    // made with O_EXCL and O_NOFOLLOW, so a planted symbolic link is never written through.
    bool OpenWriteFresh(std::string_view name);
    bool OpenAppend(std::string_view name);

    // Reads one line without its line end; a CR before the LF is dropped and the line is cut
    // at 255 characters (the rest of the physical line is skipped). False at the end of file.
    bool ReadLine(std::string& line);
    bool Eof();

    void Write(std::string_view text);
    void WriteLine(std::string_view text = {});

    // Closes the file; false when a write or the close itself failed (a full disk, say).
    bool Close();

private:
    std::FILE* file_ = nullptr;
    std::string name_;
    bool writeFailed_ = false;
    bool Open(std::string_view name, const char* mode);
};

}  // namespace quorlet
