#include "help_page.h"

#include <QDir>
#include <QFileInfo>

QUrl HelpPageUrl(const QString& programDir) {
    const QDir dir(programDir);
    const QString besideProgram = dir.filePath(QString::fromLatin1(HelpPageFileName));
    const QString installed =
        dir.filePath(QStringLiteral("../share/trelvanic/") + QString::fromLatin1(HelpPageFileName));
    const QString page = !QFileInfo::exists(besideProgram) && QFileInfo::exists(installed)
                             ? QDir::cleanPath(installed)
                             : besideProgram;
    return QUrl::fromLocalFile(page);
}
