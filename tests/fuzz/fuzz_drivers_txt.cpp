// drivers.txt as members' packs carry it: every reading the program makes of one.
#include "text/DriversTxt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const text::SetLines lines = text::setLinesOf(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString atStartUp = text::startupCurrentSetText(lines);
    const std::optional<QString> afterSwap = text::currentSetText(lines);
    // A swap shows what start-up would have shown, and a release date is always one to compare.
    if (!text::packDescription(lines).contains(QLatin1String(" - ")) || (afterSwap && *afterSwap != atStartUp) ||
        !text::releaseDate(lines).isValid())
        std::abort();
    return 0;
}
