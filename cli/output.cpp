#include "output.h"

#include "cli_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

[[noreturn]] void ThrowWriteError(std::string_view path, const std::string& reason) {
    throw CliError(ExitCode::Failure,
                   "Cannot write \"" + std::string(path) + "\": " + reason + ".");
}

void WriteStandardOutput(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        throw CliError(ExitCode::Failure, std::string("Cannot write to standard output: ") +
                                              std::strerror(errno) + ".");
    }
}

// Devices and pipes named as the output (/dev/null, a FIFO) cannot be
// replaced by a renamed file; they are written in place.
void WriteInPlace(std::string_view path, const QString& name, std::string_view bytes) {
    QFile file(name);
    // Unbuffered, so that a device that fails (a full disk) fails the write itself.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        ThrowWriteError(path, file.errorString().toStdString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        ThrowWriteError(path, file.errorString().toStdString());
    }
}

} // namespace

void PrepareStandardStreams() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void WriteOutput(std::string_view path, std::string_view bytes) {
    if (path.empty() || path == "-") {
        WriteStandardOutput(bytes);
        return;
    }
    const QString name =
        QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    const QFileInfo info(name);
    if (info.isDir()) ThrowWriteError(path, "it is a folder");
    if (info.exists() && !info.isFile()) {
        WriteInPlace(path, name, bytes);
        return;
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) ThrowWriteError(path, file.errorString().toStdString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        ThrowWriteError(path, file.errorString().toStdString());
    }
    // Flushed first: commit() does not see a buffered write fail (a full disk)
    // and would put an empty file in place.
    if (!file.flush() || !file.commit()) ThrowWriteError(path, file.errorString().toStdString());
}
