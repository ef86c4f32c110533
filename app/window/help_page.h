// The help page ships with the program as a local HTML file, so help works
// without a network.
#pragma once

#include <QString>
#include <QUrl>

inline constexpr char HelpPageFileName[] = "trelvanic-help.html";

// The page beside the program (build tree, or an install into one folder),
// else in the installed data folder ../share/trelvanic; the first of these
// when neither exists.
QUrl HelpPageUrl(const QString& programDir);
