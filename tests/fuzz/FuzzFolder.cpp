#include "FuzzFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

FuzzFolder::FuzzFolder() {
    QDir(root_.path()).mkpath(QStringLiteral("cars"));
    QDir(root_.path()).mkpath(QStringLiteral("run"));
}

void FuzzFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString target = path() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        std::abort(); // the harness itself failed, not the code under test
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}
