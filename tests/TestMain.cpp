// Test entry point. On Windows, GoogleTest's result printer also hands every
// failure to OutputDebugString, which raises a debugger-notification exception;
// under emulated 32-bit Wine unwinding it kills the process and hides every
// later test. This printer forwards all events to the default one except
// failures, which it prints itself, in the same form, to standard output.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

class PlainFailurePrinter : public ::testing::TestEventListener {
public:
    explicit PlainFailurePrinter(::testing::TestEventListener* inner) : m_inner(inner) {}

    void OnTestProgramStart(const ::testing::UnitTest& u) override { m_inner->OnTestProgramStart(u); }
    void OnTestIterationStart(const ::testing::UnitTest& u, int i) override { m_inner->OnTestIterationStart(u, i); }
    void OnEnvironmentsSetUpStart(const ::testing::UnitTest& u) override { m_inner->OnEnvironmentsSetUpStart(u); }
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest& u) override { m_inner->OnEnvironmentsSetUpEnd(u); }
    void OnTestSuiteStart(const ::testing::TestSuite& s) override { m_inner->OnTestSuiteStart(s); }
    void OnTestStart(const ::testing::TestInfo& t) override { m_inner->OnTestStart(t); }
    void OnTestPartResult(const ::testing::TestPartResult& r) override {
        if (r.type() == ::testing::TestPartResult::kSuccess)
            return;
        const char* file = r.file_name() ? r.file_name() : "unknown file";
        const char* kind = r.type() == ::testing::TestPartResult::kSkip ? "Skipped" : "Failure";
        if (r.line_number() >= 0)
            std::printf("%s:%d: %s\n%s\n", file, r.line_number(), kind, r.message());
        else
            std::printf("%s: %s\n%s\n", file, kind, r.message());
        std::fflush(stdout);
    }
    void OnTestEnd(const ::testing::TestInfo& t) override { m_inner->OnTestEnd(t); }
    void OnTestSuiteEnd(const ::testing::TestSuite& s) override { m_inner->OnTestSuiteEnd(s); }
    void OnEnvironmentsTearDownStart(const ::testing::UnitTest& u) override { m_inner->OnEnvironmentsTearDownStart(u); }
    void OnEnvironmentsTearDownEnd(const ::testing::UnitTest& u) override { m_inner->OnEnvironmentsTearDownEnd(u); }
    void OnTestIterationEnd(const ::testing::UnitTest& u, int i) override { m_inner->OnTestIterationEnd(u, i); }
    void OnTestProgramEnd(const ::testing::UnitTest& u) override { m_inner->OnTestProgramEnd(u); }

private:
    std::unique_ptr<::testing::TestEventListener> m_inner;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    ::testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer());
    if (printer)
        listeners.Append(new PlainFailurePrinter(printer));
    return RUN_ALL_TESTS();
}
