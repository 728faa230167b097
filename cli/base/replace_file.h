// Replacing a file whole: the new bytes go to a fresh file beside the
// target, which is then renamed onto it, so that a reader sees the old file
// or the new one and never half of one.
#pragma once

#include <string>
#include <string_view>

namespace tb58mon {

// Writes bytes to a new file of a random name in path's folder, then renames
// it onto path.  The new file is created exclusively and never through a
// link: a link planted at any name beside the target is left alone.  Its
// mode is 0644 less the umask.  On any failure the new file is removed and a
// Failure CliError names path and the cause (a missing folder, a folder that
// cannot be written, a directory at path, a full disk).  (Not named
// ReplaceFile: the Windows headers make that name a macro.)
void ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tb58mon
