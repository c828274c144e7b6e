// Command lines the generator hands to other programs: the Windows quoting
// that the Microsoft C runtime splits back, and the signing tools' lines.
#include <gtest/gtest.h>

#include "generator/CommandLineText.h"
#include "generator/Signing.h"

using namespace vexal::gen;

TEST(WindowsCommandLine, ArgumentsComeBackAsTheCRuntimeSplitsThem) {
    struct Case {
        std::vector<std::string> command;
        std::string line;
    };
    const std::vector<Case> cases = {
        {{"C:\\Tools\\signtool.exe"}, "\"C:\\Tools\\signtool.exe\""},
        {{"C:\\Program Files\\x.exe", "sign", "/fd", "sha256"}, "\"C:\\Program Files\\x.exe\" sign /fd sha256"},
        {{"p", ""}, "\"p\" \"\""},
        {{"p", "two words"}, "\"p\" \"two words\""},
        {{"p", "tab\there"}, "\"p\" \"tab\there\""},
        {{"p", "say \"hi\""}, "\"p\" \"say \\\"hi\\\"\""},
        // Backslashes are plain unless a double quote follows.
        {{"p", "C:\\dir\\file"}, "\"p\" C:\\dir\\file"},
        {{"p", "C:\\My Dir\\"}, "\"p\" \"C:\\My Dir\\\\\""},
        {{"p", "a\\\\\"b"}, "\"p\" \"a\\\\\\\\\\\"b\""},
        {{"p", "pass word\\\\"}, "\"p\" \"pass word\\\\\\\\\""},
        {{"p", "\xC3\xA9t\xC3\xA9"}, "\"p\" \xC3\xA9t\xC3\xA9"},
    };
    for (const auto& c : cases) EXPECT_EQ(windowsCommandLine(c.command), c.line) << c.line;
}

TEST(SigningTools, KindByNameAndTheirCommandLines) {
    EXPECT_EQ(signingToolKind("signtool"), SigningToolKind::Signtool);
    EXPECT_EQ(signingToolKind("C:/Kits/x64/SignTool.EXE"), SigningToolKind::Signtool);
    EXPECT_EQ(signingToolKind("/usr/bin/osslsigncode"), SigningToolKind::Osslsigncode);
    EXPECT_EQ(signingToolKind("/opt/wrap/signtool-wrapper"), SigningToolKind::Osslsigncode);

    SigningOptions pkcs12;
    pkcs12.pkcs12 = "/keys/id.p12";
    SigningOptions pem;
    pem.certificate = "/keys/cert.pem";
    pem.key = "/keys/key.pem";
    pem.timestampUrl = "http://ts.example";
    pem.signingTime = "1700000000";
    using Line = std::vector<std::string>;
    EXPECT_EQ(signCommand("ossl", pkcs12, "App", "/o/in", "/o/out", "/o/pass"),
              (Line{"ossl", "sign", "-pkcs12", "/keys/id.p12", "-readpass", "/o/pass", "-h", "sha256", "-n", "App",
                    "-in", "/o/in", "-out", "/o/out"}));
    EXPECT_EQ(signCommand("ossl", pem, "", "/o/in", "/o/out", ""),
              (Line{"ossl", "sign", "-certs", "/keys/cert.pem", "-key", "/keys/key.pem", "-h", "sha256", "-t",
                    "http://ts.example", "-time", "1700000000", "-in", "/o/in", "-out", "/o/out"}));
    // signtool signs the file in place, the password on its command line.
    EXPECT_EQ(signtoolCommand("signtool", pkcs12, "My App", "/o/app.exe", "secret word"),
              (Line{"signtool", "sign", "/fd", "sha256", "/f", "/keys/id.p12", "/p", "secret word", "/d", "My App",
                    "/o/app.exe"}));
    pkcs12.timestampUrl = "http://ts.example";
    EXPECT_EQ(signtoolCommand("signtool", pkcs12, "", "/o/app.exe", ""),
              (Line{"signtool", "sign", "/fd", "sha256", "/f", "/keys/id.p12", "/t", "http://ts.example",
                    "/o/app.exe"}));
}
