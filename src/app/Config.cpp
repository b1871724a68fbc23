#include "app/Config.h"

#include "fs/FileSystem.h"
#include "text/Lines.h"

void subLoadConfig(FormState& st, MessageBox& msgBox) {
    st.strWebsite = kDefaultWebsite;
    const fs::Path config = st.appPath / "ZERN.cfg";

    QString message;
    if (fs::isFile(config)) {
        // The first line is taken as it stands; a file that cannot be read keeps the default.
        const QStringList lines =
            text::linesOf(fs::readHead(config, text::kMaxLineBytes + 2).value_or(QByteArray()), 1);
        if (!lines.isEmpty())
            st.strWebsite = lines.first();
        message = QStringLiteral("Website is - ") + st.strWebsite;
    } else {
        message = QStringLiteral("Could not load CFG file, using default \r\nwebsite location : ") + st.strWebsite;
    }
    msgBox.msgBox(message, QStringLiteral("Website Location"));
}
