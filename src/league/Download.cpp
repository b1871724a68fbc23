#include "league/Download.h"

#include "fs/FileSystem.h"

void subDownloadFile(const FormState& st, HttpFetch& inet1, const QString& strFile) {
    const fs::FileSystem fso(st.appPath);
    // The old copy goes first, so a failed fetch never leaves stale league data behind; a copy that
    // cannot be deleted is still replaced whole below.
    fso.deleteFile(strFile);
    const std::optional<QByteArray> body = inet1.fetch(st.strWebsite + strFile);
    fso.writeFile(strFile, body.value_or(QByteArray()));
}
