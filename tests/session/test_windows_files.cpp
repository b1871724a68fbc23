#include "support/CarFolder.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QDir>
#include <QTest>

#include <windows.h>

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;

namespace {

// A member's car folder, below `depth` nested folders, with the GT pack.
struct Member {
    explicit Member(const QString& depth = ".") : folder(game.file(depth)) {
        game.write(depth + "/drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        game.write(depth + "/a.tex", "old a");
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
    void aTextureHeldOpenOrReadOnlyIsNamed() {
        Member member;
        const HANDLE held =
            ::CreateFileW(member.host("a.tex").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        QCOMPARE(member.swapAndBackUp(member.folder),
                 (QStringList{kFailed + "a.tex" + kIncomplete, kAsk, kFailed + "a.tex", "Classic 1998"}));
        ::CloseHandle(held);
        QVERIFY(::SetFileAttributesW(member.host("a.tex").c_str(), FILE_ATTRIBUTE_READONLY));
        QCOMPARE(member.swapAndBackUp(member.folder).first(), kFailed + "a.tex" + kIncomplete);
        QCOMPARE(member.game.read("a.tex"), QByteArray("old a"));
        ::SetFileAttributesW(member.host("a.tex").c_str(), FILE_ATTRIBUTE_NORMAL);
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
