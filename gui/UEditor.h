// Which programs Run > Edit tries, in order, when the desktop has no application for the table
// file: the user's $VISUAL, then $EDITOR, then a text editor found on the PATH. Free of Qt so
// that the order can be tested on its own; the window starts the commands.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorlet {

struct TEditorCommand {
    std::string program;                 // as given or as found on the PATH
    std::vector<std::string> arguments;  // the table file is the last one
    std::string source;                  // "VISUAL", "EDITOR" or "PATH", for the messages
};

struct TEditorLookup {
    // The value of an environment variable, empty when it is not set.
    std::function<std::string(const std::string&)> environment;
    // The full path of a program found on the PATH, empty when there is none.
    std::function<std::string(const std::string&)> findProgram;
};

// Graphical editors looked for on the PATH, most common desktops first.
extern const std::vector<std::string> kGraphicalEditors;
// Terminal emulators that can host an editor that needs a terminal ($EDITOR=nano).
extern const std::vector<std::string> kTerminals;

// The commands to try, in order, to open `file`. A $VISUAL or $EDITOR command is split at blanks
// (so "emacs -nw" keeps its option); one that names a terminal editor runs inside a terminal
// emulator when one is found. Without a desktop every later command is only tried when the
// earlier could not be started.
std::vector<TEditorCommand> EditorCommands(const std::string& file, const TEditorLookup& lookup);

// True for the editors that only work inside a terminal.
bool NeedsTerminal(const std::string& program);

// The message when no editor could be started.
std::string NoEditorMessage(const std::string& file);

}  // namespace quorlet
