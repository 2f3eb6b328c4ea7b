#pragma once
#include <QUrl>
#include <optional>
#include <string>

namespace tunekist {

// The file a "file:" URL names, as raw file-system bytes: its percent-encoded bytes decoded one by
// one, so that a name that is not UTF-8 still names its file. Empty for any other scheme.
std::optional<std::string> LocalPathOf(const QUrl& url);

}  // namespace tunekist
