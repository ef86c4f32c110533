// A small tmpfs of the test's own, to give a program a full or a read-only
// disk for real: chmod cannot stop root, and CI runs as root. Mounting needs
// root too; where it is refused, Mounted() is false and Why says why.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace trelvanic::test {

class ScratchMount {
public:
    explicit ScratchMount(const char* size = "size=64k") {
        if (mount("tmpfs", Path().toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV, size) != 0) {
            Why = "cannot mount a tmpfs (" + std::string(std::strerror(errno)) + "); this needs root";
            return;
        }
        IsMounted = true;
    }
    ~ScratchMount() {
        if (IsMounted) umount2(Path().toLocal8Bit().constData(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool Mounted() const { return IsMounted; }
    QString Path() const { return Folder.path(); }
    QString FilePath(const QString& name) const { return Folder.filePath(name); }

    // Takes every free byte with one file, "filler".
    void FillUp() const {
        const int file = open(FilePath("filler").toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (file < 0) return;
        const std::vector<char> block(4096, 'f');
        while (write(file, block.data(), block.size()) > 0) {
        }
        while (write(file, block.data(), 1) > 0) {
        }
        close(file);
    }

    // From now on nothing can be written, not even by root.
    bool MakeReadOnly() const {
        return mount("tmpfs", Path().toLocal8Bit().constData(), "tmpfs",
                     MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

    // Every entry, hidden ones included: what a failed write must not leave.
    QStringList Entries() const {
        return QDir(Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::string Why;

private:
    QTemporaryDir Folder;
    bool IsMounted = false;
};

} // namespace trelvanic::test
