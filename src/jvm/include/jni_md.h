// Machine-dependent part of the JNI headers for Windows, used with the JDK's own jni.h: the
// Windows runtime's jvm.dll exports its entry points undecorated with the __stdcall convention,
// and its jint is a 32-bit long.
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#ifdef __cplusplus
static_assert(sizeof(jint) == 4, "jint is 32 bits on Windows");
static_assert(sizeof(jlong) == 8, "jlong is 64 bits on Windows");
static_assert(sizeof(jbyte) == 1, "jbyte is one byte");
#endif

#endif
