#include "carsets/SetFile.h"

#include "fs/FileSystem.h"

namespace carsets {

std::optional<text::SetLines> readSetFile(const fs::Path& driversTxt) {
    const fs::Result<QByteArray> head = fs::readHead(driversTxt, text::kSetLinesBytes);
    if (!head)
        return std::nullopt;
    return text::setLinesOf(*head);
}

} // namespace carsets
