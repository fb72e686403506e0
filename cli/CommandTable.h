#pragma once

#include <QString>
#include <span>

namespace kv::cli
{

class CommandCall;
class CommandSyntax;

// A headless subcommand: `kvelta NAME ...`. Its options and arguments are
// declared on a CommandSyntax; run gets them parsed and returns the exit code.
struct Command {
    const char* name;    // "export"; a kind after a group word: "print labels"
    const char* summary; // one line of kvelta --help
    void (*declare)(CommandSyntax& syntax);
    int (*run)(const CommandCall& call);
};

// Every subcommand, in the order kvelta --help lists them.
std::span<const Command> commands();

} // namespace kv::cli
