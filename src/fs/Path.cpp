#include "fs/Path.h"

#include "fs/HostFile.h"

namespace fs {

bool isSingleName(const Path& name) {
    using Char = Path::value_type;
    const Path::string_type& text = name.native();
    const Path::string_type separators{Char('/'), Char('\\'), Char(':'), Char(0)};
    return !text.empty() && text != Path::string_type(1, Char('.')) && text != Path::string_type(2, Char('.')) &&
           text.find_first_of(separators) == Path::string_type::npos && !host::isReservedName(name);
}

std::optional<Path> singleName(const QString& name) {
    const Path path = fromQt(name);
    return isSingleName(path) ? std::optional(path) : std::nullopt;
}

} // namespace fs
