// "ZERN.cfg" as a member may have edited it.
#include "app/Config.h"
#include "FuzzFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    static const FuzzFolder folder;
    folder.write(QStringLiteral("ZERN.cfg"),
                 QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    FormState st;
    st.appPath = fs::fromQt(folder.path());
    SilentWindow window;
    subLoadConfig(st, window);
    return 0;
}
