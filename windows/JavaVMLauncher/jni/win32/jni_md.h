/* The machine-dependent JNI types of the Windows platform, for building the
 * launcher with the JDK's platform-neutral jni.h. On Windows long is 32 bits
 * wide in both the 32-bit and the 64-bit ABI, so jint is long; JNI functions
 * use the stdcall convention (the same as cdecl on x86_64). */
#ifndef VEXAL_JNI_MD_H
#define VEXAL_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#endif
