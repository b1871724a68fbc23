#include "fs/FileSystem.h"
#include "support/Bounded.h"
#include "support/CarFolder.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds kNeverBlocks(5);

fs::Path in(const CarFolder& cars, const std::string& relative) {
    return fs::fromQt(cars.path()) / relative;
}

// What stands at a texture's or a drivers.txt's place instead of a regular file.
void makeSpecial(const fs::Path& at, const QString& kind) {
    const fs::Path fifo = at.parent_path() / "fifo";
    if (kind.contains(QLatin1String("fifo")))
        QVERIFY(::mkfifo(fifo.c_str(), 0600) == 0);
    if (kind == QLatin1String("fifo"))
        QVERIFY(::rename(fifo.c_str(), at.c_str()) == 0);
    else if (kind == QLatin1String("link to fifo"))
        QVERIFY(::symlink(fifo.c_str(), at.c_str()) == 0);
    else if (kind == QLatin1String("link to /dev/zero"))
        QVERIFY(::symlink("/dev/zero", at.c_str()) == 0);
    else if (kind == QLatin1String("dangling link"))
        QVERIFY(::symlink("nowhere", at.c_str()) == 0);
}

} // namespace

class SpecialFilesTest : public QObject {
    Q_OBJECT

private slots:
    void onlyRegularFilesAreReadOrCopied_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"fifo", "link to fifo", "link to /dev/zero", "dangling link"})
            QTest::newRow(kind) << kind;
    }

    void onlyRegularFilesAreReadOrCopied() {
        QFETCH(QString, kind);
        CarFolder cars;
        cars.makeFolder(QStringLiteral("pack"));
        cars.write(QStringLiteral("pack/real.tex"), "real");
        makeSpecial(in(cars, "pack/odd.tex"), kind);
        QVERIFY(finishesWithin(kNeverBlocks, [&] {
            QVERIFY(!fs::isFile(in(cars, "pack/odd.tex")));
            QVERIFY(!fs::readHead(in(cars, "pack/odd.tex"), 1024));
            QCOMPARE(fs::sizeOf(in(cars, "pack/odd.tex")), 0);
            QCOMPARE(fs::copyWhole(in(cars, "pack/odd.tex"), in(cars, "odd.tex")), fs::CopyResult::SourceMissing);
            QCOMPARE(fs::filesEndingIn(in(cars, "pack"), ".tex"), QList<fs::Path>{"real.tex"});
        }));
        QVERIFY(!cars.exists(QStringLiteral("odd.tex")));
    }

    void namesAreTheHostsOwnBytes() {
        CarFolder cars;
        const std::string latin1Name = "\xC9t\xE9.tex"; // "Été.tex" as an old Windows tool wrote it
        cars.makeFolder(QStringLiteral("pack"));
        QVERIFY(fs::writeWhole(in(cars, "pack") / latin1Name, "texture"));
        const QList<fs::Path> names = fs::filesEndingIn(in(cars, "pack"), ".tex");
        QCOMPARE(names, QList<fs::Path>{latin1Name});
        QCOMPARE(fs::copyWhole(in(cars, "pack") / names[0], in(cars, "") / names[0]), fs::CopyResult::Copied);
        QCOMPARE(fs::readHead(in(cars, latin1Name), 100), QByteArray("texture"));
        QVERIFY(!fs::displayName(names[0]).isEmpty());
    }

    void aBackslashIsPartOfAName() {
        CarFolder cars;
        cars.makeFolder(QStringLiteral("..\\..\\outside"));
        cars.makeFolder(QStringLiteral("back\\slash"));
        const QList<fs::Path> names = fs::subfolders(in(cars, ""));
        QCOMPARE(names, (QList<fs::Path>{"..\\..\\outside", "back\\slash"}));
        for (const fs::Path& name : names)
            QCOMPARE((fs::fromQt(cars.path()) / name).parent_path(), fs::fromQt(cars.path()));
    }
};

QTEST_GUILESS_MAIN(SpecialFilesTest)
#include "test_special_files.moc"
