#pragma once

namespace kv::cli
{

class CommandCall;
class CommandSyntax;

// kvelta db load [--home DIR] [--wait SECONDS] URL
//
// Copies the data home's company database into the PostgreSQL database
// URL as a new version of the directory and makes it current in one step;
// progress goes to stderr. Exit codes: 0 loaded, 1 the company database or
// the server failed (nothing changed on the server), 2 bad arguments.
void declareDbLoad(CommandSyntax& syntax);
int runDbLoad(const CommandCall& call);

} // namespace kv::cli
