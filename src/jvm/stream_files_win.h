#pragma once
// What redirecting the Java program's standard streams asks of Windows: the local time in the
// file names, and the folders on the way to the files.

#include <string>
#include <string_view>

namespace launcher {

// Fills the time-stamp pattern of each name that has one, with one local time for both.
void stampStreamFileNamesWithLocalTime(std::u16string& outputFile, std::u16string& errorFile);

// Creates the missing folders above `filePath`, a relative one taken in the current folder as the
// runtime takes it; failures are left for the file's opening to report.
void createParentFoldersOf(std::u16string_view filePath);

// Writes `bytes` into the file `filePath`, replacing it or, with `append`, after its end; others
// may read and write it meanwhile, as the runtime's own file streams allow. False when it failed.
bool writeBytesToFile(std::u16string_view filePath, bool append, std::string_view bytes);

}  // namespace launcher
