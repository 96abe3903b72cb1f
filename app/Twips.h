#pragma once

// The window's layout is given in twips, 1440 to the inch, so that it keeps its proportions on
// every screen: at 96 dots per inch 15 twips make one pixel.

#include <QRect>

#include <cmath>

namespace fenster {

struct Twips
{
    int links;
    int oben;
    int breite;
    int hoehe;
};

inline int twipsInPixel(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

// Both edges are rounded, not the size, so that neighbouring controls neither overlap nor leave
// a gap through rounding.
inline QRect twipsInPixel(const Twips& t, double dpiX, double dpiY)
{
    const int links = twipsInPixel(t.links, dpiX);
    const int oben = twipsInPixel(t.oben, dpiY);
    return QRect(links, oben, twipsInPixel(t.links + t.breite, dpiX) - links,
                 twipsInPixel(t.oben + t.hoehe, dpiY) - oben);
}

} // namespace fenster
