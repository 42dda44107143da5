// Line-oriented text files with the 255-character line rule.
#include "TextFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace quorlet {

std::string ShortString(std::string_view text) { return std::string(text.substr(0, kMaxLine)); }

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(std::string text, std::size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// The stage runtime keeps a list of the files each running stage has open; a file that ends
// its life while listed must leave that list.
void ForgetOpenFile(TextFile* file);

TextFile::~TextFile()
{
    ForgetOpenFile(this);
    if (file_) std::fclose(file_);
}

bool TextFile::Open(std::string_view name, const char* mode)
{
    if (file_) Close();
    name_ = std::string(name);
    writeFailed_ = false;
    file_ = std::fopen(name_.c_str(), mode);
    return file_ != nullptr;
}

bool TextFile::OpenRead(std::string_view name) { return Open(name, "rb"); }
bool TextFile::OpenWrite(std::string_view name) { return Open(name, "wb"); }
bool TextFile::OpenWriteFresh(std::string_view name)
{
    if (file_) Close();
    name_ = std::string(name);
    writeFailed_ = false;
    unlink(name_.c_str());
    int fd = open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    file_ = fdopen(fd, "wb");
    if (!file_) close(fd);
    return file_ != nullptr;
}

bool TextFile::OpenAppend(std::string_view name) { return Open(name, "ab"); }

bool TextFile::ReadLine(std::string& line)
{
    line.clear();
    if (!file_) return false;
    int c = std::fgetc(file_);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.size() < kMaxLine + 1) line.push_back(static_cast<char>(c));
        c = std::fgetc(file_);
    }
    if (!line.empty() && line.back() == '\r' && c == '\n') line.pop_back();
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    return true;
}

bool TextFile::Eof()
{
    if (!file_) return true;
    int c = std::fgetc(file_);
    if (c == EOF) return true;
    std::ungetc(c, file_);
    return false;
}

void TextFile::Write(std::string_view text)
{
    if (!file_ || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) writeFailed_ = true;
}

void TextFile::WriteLine(std::string_view text)
{
    Write(text);
    if (file_ && std::fputc('\n', file_) == EOF) writeFailed_ = true;
}

bool TextFile::Close()
{
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_) && !writeFailed_;
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    writeFailed_ = false;
    return ok;
}

}  // namespace quorlet
