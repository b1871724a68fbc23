// tarvver.txt as the league's web site serves it: the lookup behind the meeting check and the status listing.
#include "FuzzFolder.h"
#include "league/PackStatus.h"
#include "league/PackVersionList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    static const FuzzFolder folder = [] {
        FuzzFolder made;
        made.write(QStringLiteral("GT/drivers.txt"), "1\r\n2\r\n3\r\n## GT Cars\r\n## 12/04/2003\r\n");
        made.write(QStringLiteral("Empty/drivers.txt"), QByteArray());
        return made;
    }();
    CannedSite site;
    site.body = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SilentWindow window;
    Ports ports{window, window, window, site, window};

    FormState st;
    st.appPath = fs::fromQt(folder.path());
    subCheckAllPacks(st, ports);
    for (const QString& pack : {QStringLiteral("GT"), QStringLiteral("gt"), QString(), QStringLiteral("..")}) {
        st.strMeetPack = pack;
        subGetPackDate(st, site.body);
        subCheckPack(st, st.strMeetPack, st.datPackDate);
    }
    return 0;
}
