#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/Log.h"

namespace {

std::string ReadAll(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const char* LOG_NAME = "log_test.log";

// The log is a text file: Windows lines end in CR LF.
#ifdef _WIN32
const std::string EOL = "\r\n";
#else
const std::string EOL = "\n";
#endif

TEST(Log, WritesLinesAsFormattedAndRewritesOnOpen) {
    {
        CLog log;
        ASSERT_TRUE(log.Open(LOG_NAME));
        log.Printf("Try [%s] [%s]...", "A", "B");
        log.Printf("Failed\n");
        log.Printf(nullptr);
    }
    EXPECT_EQ(ReadAll(LOG_NAME), "Try [A] [B]...Failed" + EOL);
    {
        CLog log;
        ASSERT_TRUE(log.Open(LOG_NAME));
        log.Printf("Init Success\n");
    }
    EXPECT_EQ(ReadAll(LOG_NAME), "Init Success" + EOL);
    std::remove(LOG_NAME);
}

TEST(Log, ClosedOrUnopenableLogIgnoresWrites) {
    CLog log;
    log.Printf("nothing %d\n", 1);
    EXPECT_FALSE(log.Open("no_such_folder/x/init.log"));
    log.Printf("nothing %d\n", 2);
    EXPECT_FALSE(log.IsOpen());
}

TEST(Log, LongLineIsCutToTheBuffer) {
    {
        CLog log;
        ASSERT_TRUE(log.Open(LOG_NAME));
        std::string longText(3000, 'x');
        log.Printf("%s", longText.c_str());
    }
    EXPECT_EQ(ReadAll(LOG_NAME), std::string(1023, 'x'));
    std::remove(LOG_NAME);
}

} // namespace
