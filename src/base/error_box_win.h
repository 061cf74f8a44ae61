#pragma once
// The launcher's numbered texts, and the one way an error reaches the user: a message box with
// the error icon, the system's default caption and the given owner, or, in the console
// launcher, a text on standard error.

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_format.h"
#include "base/message_owner_win.h"

namespace launcher {

// The whole string resource `id` of this executable, whatever its length; empty when missing.
std::u16string loadText(UINT id);

// String resource `id` filled with `args` in order (a text argument each).
std::u16string loadFormattedText(UINT id, const std::vector<std::u16string>& args);

// The system's own text for error code `error` (FormatMessageW), ending in a line break; the
// number alone when the system has none.
std::u16string systemErrorText(std::uint32_t error);

// Shows string resource `id`, filled with `args` in order, and returns MessageBoxW's result
// (IDOK when the text went to standard error).
int showError(HWND owner, UINT id, std::initializer_list<MessageArg> args = {});
// The same, owned by whatever window owns the launcher's boxes when this one opens. Should that
// window go while the box is being made, the box is shown without an owner rather than not at all.
int showError(const MessageOwner& owner, UINT id, std::initializer_list<MessageArg> args = {});

// The console launcher's choice, made once at its start: showError writes to standard error,
// and no dialog waits for a user who may not be there.
void sendErrorsToStandardError();
bool errorsGoToStandardError();

// Writes `text` and a line break to standard error, each line break as CR LF: as Unicode to a
// console, else (redirected) in the console's output code page, or UTF-8 without a console.
void writeStandardError(std::u16string_view text);

}  // namespace launcher
