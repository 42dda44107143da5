// The editors Run > Edit falls back to.
#include "UEditor.h"

#include <algorithm>
#include <sstream>

namespace quorlet {

const std::vector<std::string> kGraphicalEditors = {
    "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "featherpad", "leafpad", "geany",
};

const std::vector<std::string> kTerminals = {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal",
                                             "xterm"};

namespace {

const std::vector<std::string> kTerminalEditors = {"vi",  "vim", "nvim",   "nano", "pico",   "micro",          "joe",
                                                   "jed", "ne",  "mcedit", "ed",   "editor", "sensible-editor"};

std::vector<std::string> SplitWords(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string BaseName(const std::string& program)
{
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

// Terminals take the command after "-e"; gnome-terminal wants "--" instead.
std::vector<std::string> TerminalPrefix(const std::string& terminal)
{
    if (BaseName(terminal) == "gnome-terminal") return {"--"};
    return {"-e"};
}

}  // namespace

bool NeedsTerminal(const std::string& program)
{
    const std::vector<std::string> words = SplitWords(program);
    if (words.empty()) return false;
    const std::string name = BaseName(words[0]);
    if (name == "emacs")
        return std::any_of(words.begin() + 1, words.end(),
                           [](const std::string& w) { return w == "-nw" || w == "--no-window-system"; });
    return std::find(kTerminalEditors.begin(), kTerminalEditors.end(), name) != kTerminalEditors.end();
}

std::vector<TEditorCommand> EditorCommands(const std::string& file, const TEditorLookup& lookup)
{
    std::vector<TEditorCommand> commands;
    std::string terminal;
    for (const std::string& t : kTerminals) {
        terminal = lookup.findProgram(t);
        if (!terminal.empty()) break;
    }

    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const std::string value = lookup.environment(variable);
        std::vector<std::string> words = SplitWords(value);
        if (words.empty()) continue;
        TEditorCommand command{words[0], {words.begin() + 1, words.end()}, variable};
        command.arguments.push_back(file);
        if (NeedsTerminal(value)) {
            // Started without a terminal it would end at once, unseen.
            if (terminal.empty()) continue;
            std::vector<std::string> arguments = TerminalPrefix(terminal);
            arguments.push_back(command.program);
            arguments.insert(arguments.end(), command.arguments.begin(), command.arguments.end());
            command = TEditorCommand{terminal, arguments, variable};
        }
        commands.push_back(command);
    }

    for (const std::string& editor : kGraphicalEditors) {
        const std::string path = lookup.findProgram(editor);
        if (!path.empty()) commands.push_back({path, {file}, "PATH"});
    }
    if (!terminal.empty()) {
        for (const char* editor : {"nano", "vi"}) {
            const std::string path = lookup.findProgram(editor);
            if (path.empty()) continue;
            std::vector<std::string> arguments = TerminalPrefix(terminal);
            arguments.push_back(path);
            arguments.push_back(file);
            commands.push_back({terminal, arguments, "PATH"});
        }
    }
    return commands;
}

std::string NoEditorMessage(const std::string& file)
{
    return "No editor found to open " + file +
           ".\n\nThe desktop has no application for it, VISUAL and EDITOR name no editor that could be started, "
           "and none of gedit, kate, mousepad and the like is installed. Set VISUAL to your editor's command "
           "(for example: export VISUAL=gedit) and start Quorlet again, or install a text editor.";
}

}  // namespace quorlet
