#include "app/Config.h"

#include "fs/FileSystem.h"

void subLoadConfig(FormState& st, MessageBox& msgBox) {
    const fs::FileSystem fso(st.appPath);
    st.strWebsite = kDefaultWebsite;

    QString message;
    if (fso.fileExists(QStringLiteral("ZERN.cfg"))) {
        // The first line is taken as it stands; a file that cannot be read keeps the default.
        if (auto reader = fso.openAsTextStream(QStringLiteral("ZERN.cfg")))
            if (auto line = reader->readLine())
                st.strWebsite = *line;
        message = QStringLiteral("Website is - ") + st.strWebsite;
    } else {
        message = QStringLiteral("Could not load CFG file, using default \r\nwebsite location : ") + st.strWebsite;
    }
    msgBox.msgBox(message, QStringLiteral("Website Location"));
}
