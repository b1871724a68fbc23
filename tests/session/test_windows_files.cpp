#include "support/CarFolder.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QDir>
#include <QTest>

#include <windows.h>


namespace {

// A member's car folder, below `depth` nested folders, with the GT pack.
struct Member {
    explicit Member(const QString& depth = ".") : folder(game.file(depth)) {
        game.write(depth + "/drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        game.write(depth + "/a.tex", "old a");
        game.write(depth + "/b.tex", "old b");
        game.addPack(depth + "/GT", "GT Cars", "12/04/2003", {"a.tex", "b.tex"});
    }
    // Swaps GT in and backs up; the boxes after start-up, then the current set.
    QStringList swapAndBackUp(const QString& carFolder) {
        StartedSession started(fs::fromQt(carFolder), site);
        started.swap(0);
        started.backUp();
        return started.window.boxes << started.window.currentSet;
    }
    std::wstring host(const char* name) const { return QDir::toNativeSeparators(folder + '/' + name).toStdWString(); }

    CarFolder game;
    QString folder;
    CannedSite site;
};

} // namespace

// What is particular to the members' own platform.
class WindowsFilesTest : public QObject {
    Q_OBJECT

private slots:
    // The game keeps its textures open for reading, and lets nobody move them meanwhile.
    void aTextureHeldOpenOrReadOnlyStopsTheWholeSwap() {
        Member member;
        const TreeSnapshot before = member.game.snapshot();
        const HANDLE held = ::CreateFileW(member.host("a.tex").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        StartedSession started(fs::fromQt(member.folder), member.site);
        started.swap(0);
        QCOMPARE(member.game.snapshot(), before);
        started.backUp();
        ::CloseHandle(held);
        QVERIFY(::SetFileAttributesW(member.host("b.tex").c_str(), FILE_ATTRIBUTE_READONLY));
        started.swap(0);
        ::SetFileAttributesW(member.host("b.tex").c_str(), FILE_ATTRIBUTE_NORMAL);
        QCOMPARE(started.window.boxes,
                 (QStringList{kFailed + "a.tex (in use by another program)\r\n\r\nThe game may be running: close it "
                                        "and try again.\r\nYour cars were not changed.",
                              kAsk, kFailed + "b.tex (marked read-only)\r\n\r\nYour cars were not changed."}));
        QCOMPARE(member.game.read("original/a.tex"), "old a");
        QCOMPARE(started.window.currentSet, "Classic 1998");
    }

    void namesDifferingInCaseAreOneFile() {
        Member member;
        QVERIFY(QFile::rename(member.game.file("drivers.txt"), member.game.file("DRIVERS.TXT")));
        QVERIFY(QFile::rename(member.game.file("GT/drivers.txt"), member.game.file("GT/Drivers.Txt")));
        QCOMPARE(member.swapAndBackUp(member.folder), (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(QDir(member.folder).entryList({"*.txt"}, QDir::Files).size(), 1);
    }

    void pathsLongerThan260CharactersAndEitherSeparator() {
        const QString deep =
            QString(60, 'd') + '/' + QString(60, 'e') + '/' + QString(60, 'e') + '/' + QString(60, 'p');
        Member member(deep);
        QVERIFY(member.folder.size() > 260);
        QCOMPARE(member.swapAndBackUp(QDir::toNativeSeparators(member.folder)),
                 (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(member.swapAndBackUp(member.folder), (QStringList{kAsk, "GT Cars 12/04/2003"}));
        QCOMPARE(member.game.read(deep + "/original/b.tex"), member.game.read(deep + "/GT/b.tex"));
    }
};

QTEST_GUILESS_MAIN(WindowsFilesTest)
#include "test_windows_files.moc"
