#include "carsets/SetFile.h"

namespace carsets {

namespace {

fs::Result<text::SetLines> linesOf(const fs::Result<QByteArray>& head) {
    if (!head)
        return head.status();
    return text::setLinesOf(*head);
}

} // namespace

fs::Result<text::SetLines> readSetFile(const fs::Path& driversTxt) {
    return linesOf(fs::readHead(driversTxt, text::kSetLinesBytes));
}

fs::Result<text::SetLines> readSetFile(const fs::FolderReader& folder, const fs::Path& pack) {
    return linesOf(folder.readHead(pack, kDriversTxt, text::kSetLinesBytes));
}

} // namespace carsets
