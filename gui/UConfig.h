// The main window's reader of "QUORLET.CFG": path and plain settings and the Help menu entries.
// Free of Qt so that it can be tested without a display; the window supplies the owner.
#pragma once

#include <string>
#include <vector>

namespace quorlet {

// What the reader needs from the window that owns it.
class TConfigOwner {
public:
    virtual ~TConfigOwner() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // Makes the Help menu item number `index` (1 to 10: `Help11` ... `Help101`) visible with
    // the caption; its click opens the page `file` under the help directory.
    virtual void SetHelpItem(int index, const std::string& caption, const std::string& file) = 0;
};

struct TConfigItem {
    std::string key;
    bool isPath = false;
    std::string value;
};

struct THelpEntry {
    std::string caption;
    std::string file;
};

class TConfig {
public:
    static constexpr int kHelpItems = 10;

    // The program directory is where the file lies and what "." paths are relative to.
    explicit TConfig(TConfigOwner& owner, std::string programDir);

    // False (with the message "<file> not found!") when the file cannot be loaded; the items
    // then hold empty values.
    bool ReadConfig(const std::string& fileName, std::vector<TConfigItem>& items);

    void SetHelpDir(std::string dir);
    const std::string& HelpDir() const { return helpDir_; }
    const std::vector<THelpEntry>& HelpEntries() const { return help_; }
    // Help directory + the file of entry `index` (1-based); empty for an unknown entry.
    std::string HelpPath(int index) const;

private:
    std::string AbsolutePath(const std::string& value) const;

    TConfigOwner& owner_;
    std::string programDir_;
    std::string helpDir_;
    std::vector<THelpEntry> help_;
};

}  // namespace quorlet
