// A journal found in the working folder, which anything unpacked into the car folder can have planted, through its
// reader.
#include "fs/Journal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray journal(reinterpret_cast<const char*>(data), qsizetype(size));
    const fs::Result<QList<fs::Path>> names = fs::namesInJournal(journal);
    if (!names)
        return 0;
    if (names->isEmpty() || names->size() > fs::kMaxSetFiles || journal.size() > fs::kMaxJournalBytes)
        std::abort();
    for (const fs::Path& name : *names) {
        // One entry of the folder, and nothing that leads out of it.
        const std::string text = name.native();
        if (!fs::isSingleName(name) || text.empty() || text == "." || text == ".." ||
            text.find_first_of(std::string("/\\:\0", 4)) != std::string::npos || name.has_parent_path() ||
            name.is_absolute())
            std::abort();
    }
    // An accepted journal is one this program writes, byte for byte.
    if (fs::journalOf(*names) != journal)
        std::abort();
    return 0;
}
