#include "domain/PresentationPages.h"

#include "core/Settings.h"

namespace kv
{

const std::array<PresentationPages::Button, PresentationPages::PageCount>&
PresentationPages::buttons()
{
    static const std::array<Button, PageCount> list = {{
        {"sbLum", 192, Lumora},
        {"sbKV", 187, Kvelta},
        {"sbVE", 188, Velund},
        {"sbPE", 189, Pelorin},
        {"sbTA", 190, Tamsik},
        {"sbKontakty", 71, Contacts},
    }};
    return list;
}

QString PresentationPages::fileName(Page page, int langBase)
{
    static const char* const stems[PageCount] = {"LUM", "KV", "VE", "PE", "TA", "KO"};
    const char* suffix = langBase >= 500 ? "_E.JPG" : "_C.JPG";
    return QStringLiteral("Prez/") + QLatin1String(stems[page]) + QLatin1String(suffix);
}

QString PresentationPages::path(Page page, int langBase)
{
    return dataPath(fileName(page, langBase));
}

PresentationPages::Scroll PresentationPages::scroll(int pictureHeight, int panelHeight)
{
    const int overflow = pictureHeight - panelHeight;
    if (overflow <= 0)
        return {};
    return {true, overflow};
}

} // namespace kv
