#pragma once
// Text in the thread's ANSI code page, which is what the VM takes its option strings in and
// what it hands back from GetStringUTFChars' callers here.

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// `text` in the calling thread's ANSI code page (CP_THREAD_ACP); characters it lacks become the
// code page's default character, as Windows converts them.
std::string toThreadAnsi(std::u16string_view text);

// The reverse: ANSI text of the calling thread's code page as UTF-16.
std::u16string fromThreadAnsi(std::string_view text);

// ANSI text of the system's code page (CP_ACP) as UTF-16, whichever thread reads it: the code page
// the launcher's main thread hands the VM its options in, and the runtime's C library writes in.
std::u16string fromSystemAnsi(std::string_view text);

// `path` in a form that survives the thread's ANSI code page, as the runtime takes its options: as
// it is when it does, else its short (8.3) form when it has one that does; nothing when neither.
std::optional<std::u16string> ansiSafePath(std::u16string_view path);

}  // namespace launcher
