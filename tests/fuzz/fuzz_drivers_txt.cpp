// drivers.txt as members' packs carry it: the catalogue, and both readings of the active set.
#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "FuzzFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    static const FuzzFolder folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    folder.write(QStringLiteral("drivers.txt"), bytes);
    folder.write(QStringLiteral("Pack/drivers.txt"), bytes);

    FormState st;
    st.appPath = fs::fromQt(folder.path());
    SilentWindow window;
    subInitialiseSkinPacks(st, window);
    showStartupCurrentSet(st, window);
    subCurrent(st, window);
    return 0;
}
