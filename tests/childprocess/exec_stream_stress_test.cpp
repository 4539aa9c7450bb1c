// Volume and repetition: large output beside an unread flood of standard
// error, and many children one after the other.
#include "childprocess/exec_stream.h"
#include "child.h"
#include "pattern.h"

#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace {

struct received_t {
    unsigned long long size = 0;
    std::uint64_t hash = 0;
};

received_t read_to_end(std::istream& stream) {
    cp_pattern::hash_t hash;
    std::vector<char> block(65536);
    received_t received;
    while (stream.read(block.data(), block.size()) || stream.gcount() > 0) {
        hash.add(block.data(), static_cast<std::size_t>(stream.gcount()));
        received.size += stream.gcount();
    }
    received.hash = hash.value();
    return received;
}

} // namespace

TEST(ExecStreamStressTest, SixtyFourMiBThroughOutWhileStandardErrorFloodsUnread) {
    const unsigned long long out_size = 64ull << 20;
    const unsigned long long err_size = 16ull << 20;
    const std::vector<std::string> args = {std::to_string(out_size), std::to_string(err_size), "11"};
    exec_stream_t stream;
    stopwatch_t watch;
    stream.start(helper("cp_large_output"), args.begin(), args.end());

    // The child writes one block of standard error after every four of
    // output; with nobody reading standard error it would stall unless that
    // stream is drained on its own.
    const received_t out = read_to_end(stream.out());
    const double seconds = watch.seconds();
    EXPECT_FALSE(stream.out().bad());
    EXPECT_EQ(out.size, out_size);
    EXPECT_EQ(out.hash, cp_pattern::stream_hash(11, out_size));

    const received_t err = read_to_end(stream.err());
    EXPECT_EQ(err.size, err_size);
    EXPECT_EQ(err.hash, cp_pattern::stream_hash(12, err_size));
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 0u);
    RecordProperty("out_seconds", std::to_string(seconds));
    std::printf("64 MiB through out() in %.2f s (%.0f MB/s)\n", seconds, out_size / 1e6 / seconds);
}

TEST(ExecStreamStressTest, TwoHundredStartCloseCyclesLeaveTheHandleCountAsItWas) {
    exec_stream_t stream;
    auto cycle = [&stream](int code) {
        const std::vector<std::string> args = {std::to_string(code)};
        stream.start(helper("cp_exit_code"), args.begin(), args.end());
        EXPECT_EQ(read_lines(stream.out()), std::vector<std::string>{"exit " + std::to_string(code)});
        bool closed = false;
        for (stopwatch_t watch; !closed && watch.seconds() < 5.0;) closed = stream.close();
        EXPECT_TRUE(closed);
        EXPECT_EQ(stream.exit_code(), static_cast<std::uint32_t>(code));
    };
    for (int i = 0; i < 3; ++i) cycle(i);
    const DWORD before = handle_count();
    stopwatch_t watch;
    for (int i = 1; i <= 200 && !HasFailure(); ++i) cycle(i);
    const DWORD after = handle_count();
    std::printf("200 cycles in %.1f s; handles %lu before, %lu after\n", watch.seconds(),
                static_cast<unsigned long>(before), static_cast<unsigned long>(after));
    // A leak of a single handle per cycle would show as 200.
    EXPECT_LE(after, before + 5);
}
