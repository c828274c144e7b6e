#pragma once
// Which HotSpot the real-JVM tests load, and what its checked JNI reports.
#include <string>

namespace vexal::testing {

// The JVM library of this run: VEXAL_TEST_LIBJVM when set (the suite runs once
// per installed JDK), else the build's JDK.
const std::string& testLibjvm();

// Whether this HotSpot's -Xcheck:jni warns when a thread holds more local
// references than it made room for ("JNI local refs: 33, exceeds capacity:
// 32"). OpenJDK 17.0.15 does; 17.0.19 and later, and 25, dropped the check:
// there a heap that runs out is the only sign of references held too long.
bool checkedJniCountsLocalRefs();

}  // namespace vexal::testing
