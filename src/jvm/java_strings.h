#pragma once
// Text between the launcher and Java: strings and string arrays built from UTF-16 code units,
// the stack trace of a throwable as text, a throwable and its causes in short, printing a pending
// exception, and ending the program through System.exit.

#include <jni.h>

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// A java.lang.String holding exactly the code units of `text`, unpaired surrogates included: it
// is made through String(char[]), not from modified UTF-8, so nothing is reinterpreted on the
// way. Null on any failure, with the Java exception (if any) left pending.
jstring newJavaString(JNIEnv* env, std::u16string_view text);

// A String[] of `texts` in their order, never null for an empty list. Null on any failure.
jobjectArray newJavaStringArray(JNIEnv* env, const std::vector<std::u16string>& texts);

// The code units of a Java string; empty for null.
std::u16string javaStringText(JNIEnv* env, jstring text);

// What `throwable.printStackTrace()` would print, as text; empty on any failure. Must be called
// with no exception pending: the failure dialog's caller takes the escaped throwable out of the
// pending state first, since no JNI call but a handful may run while one is pending.
std::u16string describeJavaThrowable(JNIEnv* env, jthrowable throwable);

// The throwable's toString() and, each on a line of its own after "Caused by: ", that of its
// causes: what the runtime says went wrong, without the frames, short enough for a message. At
// most a few causes and a few thousand code units (a cut ends with "..."); empty on any failure.
// Must be called with no exception pending.
std::u16string describeThrowableCauses(JNIEnv* env, jthrowable throwable);

// throwable.printStackTrace(): the whole trace on System.err, wherever that goes now. Must be
// called with no exception pending; one the call raises is cleared.
void printJavaStackTrace(JNIEnv* env, jthrowable throwable);

// Prints and thereby clears the pending exception, if any, so that the next JNI call is legal; a
// failed lookup or call leaves one, and its caller learns of the failure from the null result.
void describePendingException(JNIEnv* env);

// Calls System.exit(-1), which ends the process through the VM and normally does not return.
void callSystemExit(JNIEnv* env);

}  // namespace launcher
