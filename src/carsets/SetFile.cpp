#include "carsets/SetFile.h"

#include "fs/FileSystem.h"

namespace carsets {

fs::Result<text::SetLines> readSetFile(const fs::Path& driversTxt) {
    const fs::Result<QByteArray> head = fs::readHead(driversTxt, text::kSetLinesBytes);
    if (!head)
        return head.status();
    return text::setLinesOf(*head);
}

} // namespace carsets
