#pragma once
// Finding the main method the runtime's own launcher would start (chooseMainMethod), through JNI,
// and calling it.

#include <jni.h>

#include <optional>
#include <string_view>

#include "jvm/java_host.h"
#include "jvm/main_entry.h"

namespace launcher {

// The main method chosen for the main class, ready to be called.
struct MainEntry {
  MainForm form = MainForm::staticWithArguments;
  jmethodID method = nullptr;
  // The constructor without parameters, for the instance forms.
  jmethodID constructor = nullptr;
};

// The protocol of the running VM, from its java.version property and, where it matters,
// whether its preview features are enabled (--enable-preview, also through JAVA_TOOL_OPTIONS).
// The old protocol when the VM cannot tell.
LaunchProtocol runtimeLaunchProtocol(JNIEnv* env);

// The main method of the initialised `mainClass` that `protocol` starts. Nothing after the user
// has been shown IDS_MAIN_METHOD_MISSING with what the class offers (the runtime's reason when it has no main
// at all, else the declaration of the main it found) on System.err and in the message.
std::optional<MainEntry> findMainEntry(JNIEnv* env, jclass mainClass, std::u16string_view className,
                                       LaunchProtocol protocol, JavaHostServices& services);

// Calls `entry` with `arguments` (left out for the forms without parameters); the instance forms
// on a new object of `mainClass`. An exception that the constructor or main throws stays pending.
void callMainEntry(JNIEnv* env, jclass mainClass, const MainEntry& entry, jobjectArray arguments);

}  // namespace launcher
