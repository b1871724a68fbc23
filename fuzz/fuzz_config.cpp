// ZERN.cfg, whose first line is the league web site's address as the member wrote it, through its reader.
#include "text/Website.h"

#include "text/Lines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray config(reinterpret_cast<const char*>(data), qsizetype(size));
    const text::Website website = text::websiteOf(config);
    if (website.message != QLatin1String("Website is - ") + website.address || website.address.contains(u'\r') ||
        website.address.contains(u'\n'))
        std::abort();
    QByteArrayView text(config);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    if (text.isEmpty()) {
        if (website.address != text::kDefaultWebsite)
            std::abort();
        return 0;
    }
    const qsizetype lineEnd =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }) - text.begin();
    // Only the first line counts: what follows its line end changes nothing.
    const qsizetype firstLineBytes = config.size() - text.size() + lineEnd + 1;
    if (lineEnd < text.size() && text::websiteOf(config.first(firstLineBytes)).address != website.address)
        std::abort();
    // A first line of UTF-8 is the address as it stands.
    const QByteArray firstLine = text.first(std::min(lineEnd, text::kMaxLineBytes)).toByteArray();
    if (QString::fromUtf8(firstLine).toUtf8() == firstLine && website.address.toUtf8() != firstLine)
        std::abort();
    return 0;
}
