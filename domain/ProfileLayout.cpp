#include "domain/ProfileLayout.h"

#include <QRegularExpression>
#include <algorithm>

namespace kv
{

int personsHeight(int persons)
{
    constexpr int frame = 2 * 8;
    constexpr int heading = 20;
    return std::clamp(16 * persons + frame + heading + 24, 96, 136);
}

int noteHeight(int lines)
{
    return std::max(16 * lines + 20, 96);
}

int panelWidth(int clientWidth)
{
    return clientWidth <= MinPanelWidth ? MinPanelWidth : clientWidth;
}

ProfileLayout layoutPanels(const std::array<bool, NastCount>& nast, const ProfileContent& content)
{
    ProfileLayout out;
    int y = 0;
    auto place = [&](ProfilePanel p, bool show, int height) {
        PanelPlace& pl = out.panels[size_t(p)];
        pl.visible = show;
        pl.height = height;
        pl.top = show ? y : 0;
        if (show)
            y += height;
    };
    place(PanLogo, nast[NastLogo] && content.logoLoaded, content.logoHeight + 16);
    place(PanAdresa, nast[NastAdresa], AdresaHeight);
    place(PanReklamy, nast[NastReklamy] && content.advertisementExists, LineHeight);
    place(PanKontakty, nast[NastKontakty], KontaktyHeight);
    place(PanOsoby, nast[NastOsoby] && content.personsHaveText, personsHeight(content.personCount));
    place(PanZatrid, nast[NastZatrid] && content.industryRows > 0, ZatridHeight);
    place(PanWebKV, true, LineHeight); // the link to the maker's page is always there
    place(PanPozn, nast[NastPozn] && content.noteExists, noteHeight(content.noteLines));
    out.totalHeight = y;
    return out;
}

bool emailIsLink(const QString& email)
{
    return !email.isEmpty();
}

bool webIsLink(const QString& link, const QString& www)
{
    return link == QLatin1String("A") && !www.isEmpty();
}

QString webUrl(const QString& www)
{
    // Any scheme counts ("https://", "HTTP://"), not only the one the
    // database used to hold, so that a secure address is not made insecure.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (scheme.match(www).hasMatch())
        return www;
    return QStringLiteral("http://") + www;
}

QString mailUrl(const QString& email)
{
    return QStringLiteral("mailto:") + email;
}

QString firmDetailUrl(const QString& prefix, qint64 peno)
{
    return prefix + QString::number(peno);
}

ContactColumns fitColumns(const std::array<int, 4>& titleWidths, const std::array<int, 4>& widest)
{
    ContactColumns out;
    for (size_t c = 0; c < 4; ++c) {
        if (widest[c] == 0)
            continue;
        out.widths[c] = std::max(widest[c] + 10, titleWidths[c]);
        out.anyText = true;
    }
    return out;
}

} // namespace kv
