// java's two-item option forms and the java command's own options, as the
// JVM must get them (or not at all).
#include <gtest/gtest.h>

#include "windows/JavaVMLauncher/JavaOptionForms.h"

using namespace vexal;

namespace {
using Lines = std::vector<std::string>;
}  // namespace

TEST(JavaOptionForms, PairsAreJoinedAndTheCommandsOwnOptionsLeftOut) {
    struct Case {
        const char* name;
        Lines options, kept, leftOut;
    };
    const std::vector<Case> cases = {
        {"plain options unchanged", {"-Xmx64m", "-Da=b", ""}, {"-Xmx64m", "-Da=b", ""}, {}},
        {"every paired module option",
         {"--add-opens", "java.base/java.lang=ALL-UNNAMED", "--add-exports", "a/b=c", "--add-reads", "m=n",
          "--add-modules", "ALL-SYSTEM", "--module-path", "mods", "--enable-native-access", "ALL-UNNAMED"},
         {"--add-opens=java.base/java.lang=ALL-UNNAMED", "--add-exports=a/b=c", "--add-reads=m=n",
          "--add-modules=ALL-SYSTEM", "--module-path=mods", "--enable-native-access=ALL-UNNAMED"},
         {}},
        {"the one-item form stays", {"--add-opens=a/b=c"}, {"--add-opens=a/b=c"}, {}},
        {"a pair's name last: kept as it is", {"-Xss1m", "--add-modules"}, {"-Xss1m", "--add-modules"}, {}},
        {"launcher options with their values", {"-cp", "lib/*", "-jar", "app.jar", "-Xmx1g"}, {"-Xmx1g"},
         {"-cp lib/*", "-jar app.jar"}},
        {"launcher options on their own", {"-showversion", "@options.txt", "-splash:s.png", "-version", "-Dx=1"},
         {"-Dx=1"}, {"-showversion", "@options.txt", "-splash:s.png", "-version"}},
        {"a value that looks like a launcher option is a value", {"--add-modules", "-jar"}, {"--add-modules=-jar"}, {}},
        {"a launcher option's name last", {"-classpath"}, {}, {"-classpath"}},
    };
    for (const Case& c : cases) {
        const JavaOptionForms forms = reviewJavaOptions(c.options);
        EXPECT_EQ(forms.options, c.kept) << c.name;
        EXPECT_EQ(forms.launcherOnly, c.leftOut) << c.name;
        for (const std::string& option : forms.launcherOnly) EXPECT_FALSE(launcherOnlyAdvice(option).empty()) << option;
    }
    EXPECT_EQ(launcherOnlyAdvice("-Xmx1g"), "");
    EXPECT_EQ(launcherOnlyAdvice("-cp lib/*"), "list the class path in application.class-path");
}
