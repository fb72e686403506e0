#pragma once

namespace kv
{

class PrintCommands;
class DataModule;

// Creates the label settings window (it lives as long as the main window)
// over the print cursor and hands it to the labels print command.
void installLabelPrinting(PrintCommands& commands, DataModule& dm);

} // namespace kv
