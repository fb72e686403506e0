#pragma once

#include <QIcon>

namespace kv
{

// The toolbar pictures and the frame's background, drawn at run time.
class ToolIcons
{
public:
    static QIcon selection(); // magnifier
    static QIcon note();      // sheet with lines
    static QIcon exclude();   // sheet with a red cross
    static QIcon flagCz();
    static QIcon flagEn();
    static QPixmap background();
    static QIcon product(); // the program's window icon
};

} // namespace kv
