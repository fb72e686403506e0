#pragma once

#include <QString>
#include <array>

namespace kv
{

// The pages of the presentation window: which button shows which picture
// below the data home, in which language, and how far a page scrolls.
class PresentationPages
{
public:
    enum Page { Lumora, Kvelta, Velund, Pelorin, Tamsik, Contacts };
    static constexpr int PageCount = 6;

    struct Button {
        const char* name; // object name of the page button
        int textId;
        Page page;
    };
    // Top to bottom, as the buttons stack.
    static const std::array<Button, PageCount>& buttons();

    // "Prez/KV_C.JPG": Czech pictures end in _C, English ones (LangBase 500) in _E.
    static QString fileName(Page page, int langBase);
    // The picture's full path below the data home.
    static QString path(Page page, int langBase);

    // A picture taller than the panel scrolls; position 0 is its top.
    struct Scroll {
        bool visible = false;
        int maximum = 0;
    };
    static Scroll scroll(int pictureHeight, int panelHeight);
    static constexpr int ScrollStep = 30; // small and large moves alike
};

} // namespace kv
