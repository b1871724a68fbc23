#include "fs/Path.h"

#include <QDir>
#include <QFile>

namespace fs {

namespace {

#if defined(Q_OS_WIN)
// Names Windows gives to devices in every folder, with or without an extension.
bool isDeviceName(const QString& name) {
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
                                     QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
}
#endif

} // namespace

Path fromQt(const QString& path) {
#if defined(Q_OS_WIN)
    return Path(QDir::toNativeSeparators(path).toStdWString());
#else
    return Path(QFile::encodeName(path).toStdString());
#endif
}

QString displayName(const Path& path) {
#if defined(Q_OS_WIN)
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::optional<Path> singleName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return std::nullopt;
#if defined(Q_OS_WIN)
    if (name.contains(QLatin1Char(':')) || isDeviceName(name))
        return std::nullopt;
#endif
    return fromQt(name);
}

} // namespace fs
