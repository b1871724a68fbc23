// tarvmeet.txt as the league's web site serves it, and the check that follows it through the pack list.
#include "FuzzFolder.h"
#include "meeting/MeetingCheck.h"
#include "meeting/MeetingList.h"

#include <cstddef>
#include <cstdint>

namespace {

// Serves the meeting list and the pack version list from one input, cut at its first NUL byte.
class TwoFileSite : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString& url) override {
        return url.endsWith(QLatin1String("tarvmeet.txt")) ? meetings : packs;
    }
    QByteArray meetings;
    QByteArray packs;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    static const FuzzFolder folder = [] {
        FuzzFolder made;
        made.write(QStringLiteral("GT/drivers.txt"), "1\r\n2\r\n3\r\n## GT Cars\r\n## 12/04/2003\r\n");
        made.write(QStringLiteral("../run/Spa.trk"), "track");
        return made;
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = bytes.indexOf('\0');
    TwoFileSite site;
    site.meetings = cut < 0 ? bytes : bytes.left(cut);
    site.packs = cut < 0 ? QByteArray() : bytes.mid(cut + 1);
    SilentWindow window;
    Ports ports{window, window, window, site, window};

    FormState st;
    st.appPath = fs::fromQt(folder.path());
    subCheckMeetings(st, ports);
    // A second press keeps the fields of the first, as the window does.
    subCheckMeetings(st, ports);
    return 0;
}
