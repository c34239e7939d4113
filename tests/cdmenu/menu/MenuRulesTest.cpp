#include <gtest/gtest.h>

#include <string>

#include "cdmenu/menu/MenuRules.h"

namespace {

TEST(DxInstallRule, OfferedOnlyBelowDirectX81) {
    struct Case {
        bool loaded, queried;
        uint32_t version, revision;
        bool enabled;
    } cases[] = {
        {true, true, 0x40008, 0x10384, true},  // 8.0a: older
        {true, true, 0x40008, 0x10385, false}, // 8.1
        {true, true, 0x40008, 0x20000, false}, // a later revision
        {true, true, 0x40009, 0x00000, false}, // newer, whatever the revision
        {true, true, 0x40007, 0xFFFFFFFF, true},
        {true, true, 0xFFFFFFFF, 0, false},    // compared unsigned
        {true, false, 0x40009, 0x10385, true}, // a failed query offers it
        {false, false, 0, 0, false},           // no library to install with
        {false, true, 0x40007, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DxInstallEnabled(c.loaded, c.queried, c.version, c.revision), c.enabled)
            << std::hex << c.version << " " << c.revision << " loaded " << c.loaded << " queried " << c.queried;
}

TEST(DxSetupResult, NegativeFailsOneRestartsElseDone) {
    EXPECT_EQ(ClassifyDxSetupResult(-1), DXO_FAILED);
    EXPECT_EQ(ClassifyDxSetupResult(-2147483647 - 1), DXO_FAILED);
    EXPECT_EQ(ClassifyDxSetupResult(1), DXO_RESTART);
    EXPECT_EQ(ClassifyDxSetupResult(0), DXO_DONE);
    EXPECT_EQ(ClassifyDxSetupResult(2), DXO_DONE);
}

TEST(CommandLine, JoinsWhatFitsAndRefusesTheRest) {
    std::string out = "old";
    EXPECT_TRUE(JoinCommandLine("D:\\", "Setup\\Setup.exe", COMMAND_LINE_CAPACITY, out));
    EXPECT_EQ(out, "D:\\Setup\\Setup.exe");
    // 259 characters and the zero fill the buffer exactly; one more does not fit.
    std::string head(259 - 4, 'a');
    EXPECT_TRUE(JoinCommandLine(head, "tail", COMMAND_LINE_CAPACITY, out));
    EXPECT_EQ(out.size(), 259u);
    EXPECT_FALSE(JoinCommandLine(head + "b", "tail", COMMAND_LINE_CAPACITY, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(JoinCommandLine(std::string(4095, 'u'), "", COMMAND_LINE_CAPACITY, out));
}

TEST(UninstallValue, StopsAtTheZeroOrTheBufferEnd) {
    const char withZero[] = "C:\\Uninst.exe\0junk";
    EXPECT_EQ(UninstallCommandFromValue(withZero, sizeof withZero, UNINSTALL_VALUE_CAPACITY), "C:\\Uninst.exe");
    const char noZero[] = {'a', 'b', 'c'};
    EXPECT_EQ(UninstallCommandFromValue(noZero, 3, UNINSTALL_VALUE_CAPACITY), "abc");
    std::string full(UNINSTALL_VALUE_CAPACITY, 'x');
    EXPECT_EQ(UninstallCommandFromValue(full.data(), full.size(), UNINSTALL_VALUE_CAPACITY).size(),
              UNINSTALL_VALUE_CAPACITY - 1);
    EXPECT_EQ(UninstallCommandFromValue("", 1, UNINSTALL_VALUE_CAPACITY), "");
    EXPECT_EQ(UninstallCommandFromValue(nullptr, 5, UNINSTALL_VALUE_CAPACITY), "");
}

} // namespace
