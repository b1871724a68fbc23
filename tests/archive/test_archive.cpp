#include "archive/EntryName.h"
#include "archive/Unpack.h"
#include "carsets/ArchivePacks.h"
#include "fs/FileSystem.h"
#include "support/Archives.h"

#include <QtTest>

namespace archives {
char* toString(const Refusal& refusal) {
    return QTest::toString(refusal.entry + " | " + refusal.reason + (refusal.noRoom ? " | no room" : ""));
}
} // namespace archives

namespace carsets {
char* toString(const ArchivePack& pack) {
    return QTest::toString(
        QString("%1 in \"%2\" (fault %3)").arg(pack.name, fs::displayName(pack.folder)).arg(int(pack.fault)));
}
} // namespace carsets

namespace {

using archives::Refusal;
using carsets::ArchivePack;
using carsets::NameFault;

// Larger than a block of the reader's, and not to be compressed away.
const QByteArray kTexture = [] {
    QByteArray bytes(1536 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(34);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}();
const QStringList kPackB{"f:PackB/drivers.txt", "f:PackB/car1.tex", "d:PackB/sub/", "f:PackB/sub/Größe.tex",
                         "f:readme.txt"};

// What a file of the archive holds: the large texture for car1.tex, nothing for readme.txt, else its own name.
QByteArray contentsOf(const QString& name) {
    return name.endsWith("car1.tex") ? kTexture : name.endsWith("readme.txt") ? QByteArray() : name.toUtf8();
}

struct Unpacking {
    QTemporaryDir dir;
    archives::Unpacked unpacked;
    qint64 written = 0;
    qint64 read = 0; // of the archive, which the progress box counts by

    Unpacking(const QByteArray& archive, const QString& name = "PackB.zip", archives::UnpackLimits limits = {},
              const std::function<bool()>& cancelled = {}) {
        QDir(dir.path()).mkdir("into");
        fs::writeWhole(fs::fromQt(dir.filePath(name)), archive);
        const archives::UnpackWatch watch{[this](qint64 bytes, qint64 archiveBytes) {
                                              written = bytes;
                                              read = archiveBytes;
                                          },
                                          cancelled};
        unpacked = archives::unpack(fs::fromQt(dir.filePath(name)), fs::fromQt(dir.filePath("into")), watch, limits);
    }
    QStringList left() const { return QDir(dir.filePath("into")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }
};

} // namespace

class ArchiveTest : public QObject {
    Q_OBJECT

private slots:
    void unpacksEachKindOfArchive_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("options");
        const auto row = [](const char* name, QString format, QString filter, QString options) {
            QTest::newRow(name) << format << filter << options;
        };
        row("zip, deflated", "zip", "", "zip:compression=deflate");
        row("zip, names in the DOS code page", "zip", "", "zip:hdrcharset=CP437");
        row("7z, LZMA2", "7zip", "", "7zip:compression=lzma2");
        row("tar.gz", "pax", "gzip", "");
        row("tar.xz", "pax", "xz", "");
        row("tar.bz2", "gnutar", "bzip2", "");
    }

    void unpacksEachKindOfArchive() {
        QFETCH(QString, format);
        QFETCH(QString, filter);
        QFETCH(QString, options);
        const Unpacking unpacking(archiveOf(format, filter, options, kPackB, contentsOf));
        QList<archives::UnpackedFile> expected;
        qint64 total = 0;
        for (const QString& spec : kPackB)
            if (spec.startsWith("f:")) {
                const QString name = spec.mid(2);
                expected.append({fs::fromQt(name), contentsOf(name).size()});
                total += expected.last().size;
                const fs::Path unpacked = fs::fromQt(unpacking.dir.filePath("into/" + name));
                QCOMPARE(fs::readHead(unpacked, kTexture.size() + 1).value_or({}), contentsOf(name));
            }
        QCOMPARE(unpacking.unpacked.files, expected);
        QCOMPARE(unpacking.unpacked.folders, (QList<fs::Path>{fs::Path("PackB"), fs::Path("PackB") / "sub"}));
        QCOMPARE(unpacking.written, total);
        QVERIFY(unpacking.read > 0);
    }

    void refusesWhatCannotBeUnpackedSafely_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<Refusal>("refusal"); // its reason, to the words libarchive adds
        const QString bomb = "holds more than the 1,000 bytes it announces, as an archive bomb does";
        const auto row = [](const char* name, const QString& format, const QStringList& entries, const Refusal& why) {
            QTest::newRow(name) << format << QStringList{"f:PackB/drivers.txt"} + entries << why;
        };
        row("../", "pax", {"f:../evil.tex"}, {"../evil.tex", "leads out of the folder it is unpacked into"});
        row("a link, then a file through it", "pax", {"l:PackB/out>/tmp", "f:PackB/out/evil.tex"},
            {"PackB/out", "is a link"});
        row("a hard link", "pax", {"h:PackB/b.tex>PackB/drivers.txt"}, {"PackB/b.tex", "is a hard link"});
        row("a device", "pax", {"c:PackB/dev"}, {"PackB/dev", "is a device"});
        row("a FIFO", "pax", {"p:PackB/fifo"}, {"PackB/fifo", "is a FIFO"});
        row("a name that is no UTF-8", "zip", {"f:PackB/caf\u00e9.tex"},
            {"entry 2", "has a name that cannot be decoded as the archive declares it"});
        row("a name twice, in other letter case", "zip", {"f:PackB/DRIVERS.TXT"},
            {"PackB/DRIVERS.TXT",
             "has the name of \"PackB/drivers.txt\" when letter case is ignored, as Windows does"});
        row("a file that is a folder too", "pax", {"f:PackB/drivers.txt/x.tex"},
            {"PackB/drivers.txt/x.tex", "is both a file and a folder in the archive"});
        row("too many entries", "zip", {"f:PackB/a.tex", "f:PackB/b.tex"}, {"PackB/b.tex", "is past the 2 entries"});
        row("cut off", "pax", {"f:PackB/car1.tex"}, {"PackB/car1.tex", "is damaged ("});
        row("a bad checksum", "zip", {"f:PackB/car1.tex"}, {"PackB/car1.tex", "is damaged (ZIP bad CRC"});
        row("a bomb", "zip", {"f:PackB/car1.tex"}, {"PackB/car1.tex", bomb});
        row("encrypted", "zip", {}, {"PackB/drivers.txt", "is encrypted"});
        row("not an archive", "", {}, {"", "cannot be read as an archive ("});
    }

    void refusesWhatCannotBeUnpackedSafely() {
        QFETCH(QString, format);
        QFETCH(QStringList, entries);
        QFETCH(Refusal, refusal);
        const QString tag = QTest::currentDataTag();
        const QString options = tag == "encrypted" ? "zip:encryption=zipcrypt" : "";
        const QByteArray archive = format.isEmpty() ? kTexture : archiveOf(format, "", options, entries, contentsOf);
        const Unpacking unpacking(damaged(archive, tag, kTexture.left(64)), "PackB.zip",
                                  {tag == "too many entries" ? 2 : 100'000});
        Refusal got = unpacking.unpacked.refusal.value_or(Refusal{});
        got.reason.truncate(refusal.reason.size());
        QCOMPARE(got, refusal);
        QCOMPARE(unpacking.left(), QStringList());
    }

    void keepsTheDisksFreeRoomAndStopsWhenCancelled() {
        const QByteArray archive = archiveOf("zip", "", "", kPackB, contentsOf);
        const Unpacking full(archive, "PackB.zip", {9, qint64(1) << 62});
        const QString why = "does not fit on the disk: the program always leaves 4,398,046,511,104 MB free";
        QCOMPARE(*full.unpacked.refusal, (Refusal{"PackB/drivers.txt", why, true}));
        QCOMPARE(full.left(), QStringList());
        // An archive gone before it could be opened is refused, not taken for one that holds nothing.
        const archives::Unpacked gone =
            archives::unpack(fs::fromQt(full.dir.filePath("gone.zip")), fs::fromQt(full.dir.filePath("into")), {}, {});
        QCOMPARE(gone.refusal.value_or(Refusal{}).reason.left(18), "cannot be opened: ");
        int asked = 0;
        const Unpacking cancelled(archive, "PackB.zip", {}, [&] { return ++asked == 4; });
        QVERIFY(cancelled.unpacked.cancelled && !cancelled.unpacked.refusal);
        QCOMPARE(cancelled.left(), QStringList());
    }

    // No free program writes RAR: these come from libarchive's own tests, and are seeds of the archive fuzz target.
    void readsRar_data() {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<Refusal>("refusal"); // none: it unpacks
        QTest::newRow("RAR 5, stored") << "rar5-stored.rar" << Refusal{};
        QTest::newRow("RAR 4, encrypted headers") << "rar4-encrypted-headers.rar" << Refusal{"", "is encrypted"};
    }

    void readsRar() {
        QFETCH(QString, archive);
        QFETCH(Refusal, refusal);
        const Unpacking unpacking(fs::readHead(fs::fromQt(TARVOK_ARCHIVE_SEEDS "/" + archive), 1 << 20).value_or({}),
                                  archive);
        QCOMPARE(unpacking.unpacked.refusal.value_or(Refusal{}), refusal);
        QCOMPARE(unpacking.left(), refusal.reason.isEmpty() ? QStringList{"helloworld.txt"} : QStringList{});
    }

    void namesArePlainNamesWindowsCanHold_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("parts"); // empty, with the reason below, when refused
        QTest::addColumn<QString>("reason");
        const QString out = "leads out of the folder it is unpacked into";
        const QString windows = "has a name Windows cannot give a file or folder";
        QTest::newRow("plain") << "PackB/sub/car 1.tex" << QStringList{"PackB", "sub", "car 1.tex"} << "";
        QTest::newRow("a folder from ./") << "./PackB/" << QStringList{"PackB"} << "";
        QTest::newRow("the top") << "./" << QStringList{} << "";
        QTest::newRow("CONSOLE and COM0") << "CONSOLE/COM0" << QStringList{"CONSOLE", "COM0"} << "";
        for (const char* name : {"../x", "PackB/../../x", "/etc/x", "C:/x", "c:x", "\\\\server\\x", "PackB\\..\\..\\x"})
            QTest::addRow("%s", name) << name << QStringList{} << out;
        for (const char* name : {"PackB/a\\b.tex", "PackB/aux.tex", "PackB/Com1", "PackB/lpt\u00b2", "PackB/x.",
                                 "PackB/x ", "PackB/a<b", "PackB/a?b", "PackB/a\x01", "PackB//x", "PackB/a:b"})
            QTest::addRow("%s", name) << name << QStringList{} << windows;
        QTest::newRow("256 letters") << QString(256, 'x') << QStringList{} << windows;
        QTest::newRow("the program's") << "PackB/.TARVOK-made" << QStringList{}
                                       << "has a name the program keeps for its own files";
    }

    void namesArePlainNamesWindowsCanHold() {
        QFETCH(QString, name);
        const fs::Result<QStringList> got = archives::partsOfEntryName(name);
        QTEST(got.value_or({}), "parts");
        QTEST(got.status().reason(), "reason");
    }

    void findsThePacks_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QList<ArchivePack>>("packs");
        QTest::addColumn<QStringList>("leftOut");
        const auto row = [](const char* tag, const QStringList& files, const char* archive,
                            const QList<ArchivePack>& packs, const QStringList& leftOut = {}) {
            QTest::newRow(tag) << files << QString(archive) << packs << leftOut;
        };
        row("one folder too deep", {"PackB/PackB/drivers.txt", "PackB/PackB/a.tex", "PackB/readme.txt"}, "PackB.zip",
            {{"PackB", fs::Path("PackB") / "PackB"}}, {"PackB/readme.txt"});
        row("a pack inside a pack", {"A/drivers.txt", "A/B/drivers.txt", "A/B/x.tex"}, "x.7z", {{"A", "A"}});
        row("at the top", {"drivers.txt", "a.tex", "B/drivers.txt"}, "GT Cars 2026.tar.gz", {{"GT Cars 2026", ""}});
        row("two packs", {"notes.txt", "B/drivers.txt", "A/drivers.txt"}, "two.rar", {{"A", "A"}, {"B", "B"}},
            {"notes.txt"});
        row("no drivers.txt", {"A/a.tex", "b.tex"}, "x.zip", {}, {"A/a.tex", "b.tex"});
        row("the program's folders",
            {"original/drivers.txt", "previous/drivers.txt", "x/previous 12/drivers.txt", "previous 02/drivers.txt",
             ".tarvok-work/drivers.txt"},
            "x.zip",
            {{".tarvok-work", ".tarvok-work", NameFault::ProgramFolder},
             {"original", "original", NameFault::ProgramFolder},
             {"previous", "previous", NameFault::ProgramFolder},
             {"previous 02", "previous 02"},
             {"previous 12", fs::Path("x") / "previous 12", NameFault::ProgramFolder}});
        row("one name twice", {"x/A/drivers.txt", "y/A/drivers.txt"}, "x.zip",
            {{"A", fs::Path("x") / "A"}, {"A", fs::Path("y") / "A", NameFault::Repeated}});
        row("an archive named so no folder can be", {"drivers.txt"}, "GT. .zip", {{"GT. ", "", NameFault::NotAName}});
    }

    void findsThePacks() {
        QFETCH(QStringList, files);
        QFETCH(QString, archive);
        QList<fs::Path> paths;
        for (const QString& file : files)
            paths.append(fs::fromQt(file));
        const carsets::ArchivePacks found = carsets::findArchivePacks(paths, fs::fromQt(archive));
        QTEST(found.packs, "packs");
        QStringList shownLeftOut;
        for (const fs::Path& file : found.leftOut)
            shownLeftOut.append(QDir::fromNativeSeparators(fs::displayName(file)));
        QTEST(shownLeftOut, "leftOut");
    }
};

QTEST_GUILESS_MAIN(ArchiveTest)
#include "test_archive.moc"
