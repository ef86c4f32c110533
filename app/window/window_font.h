// The window's typeface: "MS Sans Serif" where it exists, otherwise the
// system's user-interface font, always at the designed pixel height so the
// layout keeps its proportions. Chinese glyphs come from the font fallback.
#pragma once

#include <QFont>

QFont WindowFont(int pixelSize);
