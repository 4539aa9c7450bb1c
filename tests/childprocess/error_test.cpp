// The facility's two error types and the outcome of a wait.
#include "childprocess/exec_stream.h"
#include "childprocess/sync.h"
#include "child.h"

#include <gtest/gtest.h>
#include <type_traits>
#include <windows.h>

namespace {

// The system's own text for a code, or empty when it has none.
std::string system_text(DWORD code) {
    char* buffer = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0x400, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : std::string();
    if (buffer) ::LocalFree(buffer);
    return text;
}

} // namespace

TEST(ErrorTest, CodeSuffixIsLowerCaseHexOfAtLeastFourDigitsAndDecimal) {
    EXPECT_STREQ(exec_stream_t::error_t("op: failed", 5).what(), "op: failed\n[code 0x0005 (5)]");
    EXPECT_STREQ(exec_stream_t::error_t("op: failed", 0).what(), "op: failed\n[code 0x0000 (0)]");
    EXPECT_STREQ(exec_stream_t::error_t("x", 0x1234A).what(), "x\n[code 0x1234a (74570)]");
    EXPECT_STREQ(exec_stream_t::error_t("x", 0xC0000005u).what(), "x\n[code 0xc0000005 (3221225477)]");
    EXPECT_STREQ(exec_stream_t::error_t("message alone").what(), "message alone");
}

TEST(ErrorTest, OsErrorAddsTheSystemDescriptionWithOnlyItsLineFeedsCut) {
    static_assert(std::is_base_of<exec_stream_t::error_t, os_error_t>::value, "os_error_t is an error_t");
    static_assert(std::is_base_of<std::exception, exec_stream_t::error_t>::value, "error_t is a std::exception");

    std::string system = system_text(2);
    ASSERT_FALSE(system.empty());
    while (!system.empty() && system.back() == '\n') system.pop_back();
    EXPECT_EQ(std::string(os_error_t("pipe_t::close_r: CloseHandle failed", 2).what()),
              "pipe_t::close_r: CloseHandle failed\n" + system + "\n[code 0x0002 (2)]");
    if (system_text(2).size() >= 2 && system_text(2).compare(system_text(2).size() - 2, 2, "\r\n") == 0) {
        EXPECT_EQ(system.back(), '\r') << "the carriage return before the line feed stays";
    }
}

TEST(ErrorTest, OsErrorTakesTheLastErrorWhenNoCodeIsGiven) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    const std::string what = os_error_t("event_t::event_t: create event failed").what();
    EXPECT_TRUE(starts_with(what, "event_t::event_t: create event failed\n")) << what;
    EXPECT_TRUE(ends_with(what, "\n[code 0x0005 (5)]")) << what;
}

TEST(ErrorTest, OsErrorWithoutSystemDescriptionSaysSo) {
    EXPECT_STREQ(os_error_t("x", 0x20001234).what(),
                 "x\n[unable to retrieve error description]\n[code 0x20001234 (536875572)]");
}

TEST(WaitResultTest, EveryKindOfReturnValueIsTranslated) {
    HANDLE objects[2] = {reinterpret_cast<HANDLE>(0x10), reinterpret_cast<HANDLE>(0x20)};

    wait_result_t second(1, 2, objects);
    EXPECT_TRUE(second.ok());
    EXPECT_TRUE(second.is_signaled(objects[1]));
    EXPECT_FALSE(second.is_signaled(objects[0]));

    wait_result_t abandoned(WAIT_ABANDONED_0 + 1, 2, objects);
    EXPECT_FALSE(abandoned.ok());
    EXPECT_STREQ(abandoned.error_message(), "wait_result_t: one of the wait objects was abandoned");
    EXPECT_EQ(abandoned.error_code(), 0u);
    EXPECT_FALSE(abandoned.is_signaled(objects[1]));

    wait_result_t timeout(WAIT_TIMEOUT, 2, objects);
    EXPECT_FALSE(timeout.ok());
    EXPECT_TRUE(timeout.timed_out());
    EXPECT_STREQ(timeout.error_message(), "wait_result_t: timeout elapsed");
    EXPECT_EQ(timeout.error_code(), 0u);

    ::SetLastError(ERROR_INVALID_HANDLE);
    wait_result_t failed(WAIT_FAILED, 2, objects);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.error_code(), 6u);
    EXPECT_STREQ(failed.error_message(), "");

    wait_result_t weird(WAIT_ABANDONED_0 + 2, 2, objects);
    EXPECT_FALSE(weird.ok());
    EXPECT_STREQ(weird.error_message(),
                 "wait_result_t: weird error: unrecognised WaitForMultipleObjects return value");
    EXPECT_EQ(weird.error_code(), WAIT_ABANDONED_0 + 2);
}

TEST(WaitResultTest, RealWaitsOnEvents) {
    event_t first;
    event_t second;
    const HANDLE objects[] = {first.handle(), second.handle()};
    EXPECT_TRUE(wait_for_any(objects, 2, 10).timed_out());
    ASSERT_TRUE(second.set());
    EXPECT_TRUE(wait_for_any(objects, 2, 10).is_signaled(second.handle()));
    ASSERT_TRUE(first.set());
    EXPECT_TRUE(wait_for_any(objects, 2, 10).is_signaled(first.handle())) << "the first in order wins";
    ASSERT_TRUE(first.reset());
    ASSERT_TRUE(second.reset());
    EXPECT_TRUE(wait_for(first.handle(), 10).timed_out()) << "manual-reset events stay as set";
}
