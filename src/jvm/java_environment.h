#pragma once
// What the Java program and its child processes find in the environment, and where the VM looks
// for native libraries. Built from the chosen jvm.dll, whose path has the form home, "bin", a VM
// folder, "jvm.dll". The texts are returned before environment expansion: they refer to
// variables such as %Path% that the caller expands against the process environment.

#include <string>
#include <string_view>

namespace launcher {

// The runtime's home folder (QV_JVM_HOME): jvmDllPath less three components, no final backslash.
std::u16string javaHomeFromJvmDll(std::u16string_view jvmDllPath);

// The runtime's bin folder: jvmDllPath less two components, no final backslash.
std::u16string javaBinFolderFromJvmDll(std::u16string_view jvmDllPath);

// The native library path before expansion, for a non-empty "Library Path" setting: the setting,
// the launcher folder (`launcherFolder` ends in a backslash), the process's %Path%, and the
// runtime's lib folder, joined by ";".
std::u16string libraryPathText(std::u16string_view libraryPath, std::u16string_view launcherFolder,
                               std::u16string_view javaHome);

// The option that hands the expanded library path to the VM, without empty elements, which the VM
// would read as the current folder.
std::u16string libraryPathOption(std::u16string_view expandedLibraryPath);

// The process's new Path before expansion: the "System Path" setting (with ";" added unless it is
// empty or ends in one), the old %Path%, then the runtime's bin folder, so the libraries next to
// jvm.dll load from there.
std::u16string processPathText(std::u16string_view systemPath, std::u16string_view javaBinFolder);

}  // namespace launcher
