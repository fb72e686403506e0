#pragma once

namespace kv::cli
{

class CommandCall;
class CommandSyntax;

// kvelta selection list|save|load: the selections saved on the office's
// PostgreSQL server, to and from selection files, so scripts use them with
// every command that takes a FILE.kvv. The server is --db URL, else the
// setting Database. Exit codes: 0 done; 1 the server could not be reached
// or refused, no selection of that name (load), the name is taken (save);
// 2 bad arguments, a refused name or a file that is not a usable selection.
void declareSelectionList(CommandSyntax& syntax);
void declareSelectionSave(CommandSyntax& syntax);
void declareSelectionLoad(CommandSyntax& syntax);
int runSelectionList(const CommandCall& call);
int runSelectionSave(const CommandCall& call);
int runSelectionLoad(const CommandCall& call);

} // namespace kv::cli
