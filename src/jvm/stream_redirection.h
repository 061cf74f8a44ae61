#pragma once
// Sends the Java program's standard output and error into the files the settings name. It is
// done inside the VM (System.setOut and setErr with a PrintStream on a FileOutputStream), so the
// process's own standard handles stay as they were.

#include <jni.h>

#include <string>
#include <string_view>

#include "jvm/java_host.h"
#include "settings/stream_files.h"

namespace launcher {

enum class StandardStream { output, error };

// Installs a PrintStream on `path` as System.out or System.err, after creating the folders above
// the file. False when that failed; an exception the VM raised may then still be pending.
bool redirectStream(JNIEnv* env, StandardStream stream, std::u16string_view path, bool append,
                    JavaHostServices& services);

// Redirects output, then error, as `files` asks. Failures are printed through the VM and do not
// stop the launch; no exception is pending afterwards.
void redirectStandardStreams(JNIEnv* env, const StreamFiles& files, JavaHostServices& services);

}  // namespace launcher
