#pragma once
// Asking the desktop to open a file with the program associated with it. The opener can be
// replaced so that tests can see what would have been opened.
#include <QUrl>
#include <functional>
#include <string>

namespace shell {

using TOpenFunction = std::function<bool(const QUrl&)>;

// Opens a local file (a full path) with its associated program; false when that failed.
bool ShellOpen(const std::string& fileName);
// Opens any URL the same way.
bool ShellOpenUrl(const QUrl& url);
// Replaces the opener and returns the previous one; an empty function restores the desktop's.
TOpenFunction SetShellOpen(TOpenFunction open);

} // namespace shell
