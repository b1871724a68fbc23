#include "league/Download.h"

#include "fs/FileSystem.h"

std::optional<QByteArray> subDownloadFile(const FormState& st, HttpFetch& inet1, const QString& strFile) {
    const fs::Path local = st.appPath / fs::fromQt(strFile);
    // The old copy goes first, so a failed fetch never leaves stale league data behind.
    fs::removeFile(local);
    const QByteArray body = inet1.fetch(st.strWebsite + strFile).value_or(QByteArray());
    if (!fs::writeWhole(local, body))
        return std::nullopt;
    return body;
}
