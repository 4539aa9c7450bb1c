// childprocess_bench [MiB] [rounds]: reads a child's output (default 256 MiB)
// through exec_stream_t::out() and, in the same run, through a plain ReadFile
// loop on an anonymous pipe from the same child program, and reports MB/s
// and the ratio. Rounds alternate the methods; the median of each is shown.
// Each rate is measured from the first byte to the end of the output, so the
// child's start-up is not counted.
#include "childprocess/childprocess.h"
#include "handles/Handles.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;

struct run_t {
    unsigned long long bytes = 0;
    double seconds = 0;
    double rate() const { return seconds > 0 ? bytes / 1e6 / seconds : 0; }
};

std::string helper_path() { return std::string(CP_HELPER_DIR) + "\\cp_child.exe"; }

run_t through_out(unsigned long long size) {
    childprocess::exec_stream_t stream;
    const std::vector<std::string> args = {"output", std::to_string(size), "0", "1"};
    stream.start(helper_path(), args.begin(), args.end());
    std::vector<char> block(65536);
    run_t run;
    stream.out().read(block.data(), block.size());
    const unsigned long long first = stream.out().gcount();
    const auto start = clock_type::now();
    while (stream.out().read(block.data(), block.size()) || stream.out().gcount() > 0)
        run.bytes += stream.out().gcount();
    run.seconds = std::chrono::duration<double>(clock_type::now() - start).count();
    if (run.bytes + first != size) std::fprintf(stderr, "out(): %llu bytes of %llu\n", run.bytes + first, size);
    stream.close();
    return run;
}

run_t through_plain_loop(unsigned long long size, DWORD read_size) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handles::Kernel read_end;
    handles::Kernel write_end;
    run_t run;
    if (!::CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) return run;
    ::SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);

    std::string command_line = helper_path() + " output " + std::to_string(size) + " 0 1";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end.get();
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &process);
    write_end.reset();
    if (!started) return run;
    const handles::Process child(process.hProcess);
    const handles::Thread child_thread(process.hThread);
    std::vector<char> block(read_size);
    DWORD count = 0;
    unsigned long long first = 0;
    if (::ReadFile(read_end.get(), block.data(), read_size, &count, nullptr)) first = count;
    const auto start = clock_type::now();
    while (::ReadFile(read_end.get(), block.data(), read_size, &count, nullptr)) run.bytes += count;
    run.seconds = std::chrono::duration<double>(clock_type::now() - start).count();
    if (run.bytes + first != size) std::fprintf(stderr, "plain: %llu bytes of %llu\n", run.bytes + first, size);
    read_end.reset();
    ::WaitForSingleObject(child.get(), INFINITE);
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const unsigned long long mib = argc > 1 ? std::stoull(argv[1]) : 256;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 3;
    const unsigned long long size = mib << 20;
    std::printf("child output: %llu MiB, %d rounds, helper %s\n", mib, rounds, helper_path().c_str());

    std::vector<double> out_rates, plain_rates, plain_big_rates;
    try {
        for (int round = 1; round <= rounds; ++round) {
            const run_t out = through_out(size);
            const run_t plain = through_plain_loop(size, 4096);
            const run_t plain_big = through_plain_loop(size, 65536);
            std::printf("round %d: out() %.1f MB/s, ReadFile 4 KiB %.1f MB/s, ReadFile 64 KiB %.1f MB/s\n", round,
                        out.rate(), plain.rate(), plain_big.rate());
            out_rates.push_back(out.rate());
            plain_rates.push_back(plain.rate());
            plain_big_rates.push_back(plain_big.rate());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
    const double out_rate = median(out_rates);
    const double plain_rate = median(plain_rates);
    const double plain_big_rate = median(plain_big_rates);
    std::printf("median: out() %.1f MB/s; plain ReadFile loop %.1f MB/s (4 KiB reads), %.1f MB/s (64 KiB reads)\n",
                out_rate, plain_rate, plain_big_rate);
    std::printf("ratio out() / plain: %.2f (4 KiB reads), %.2f (64 KiB reads)\n", out_rate / plain_rate,
                out_rate / plain_big_rate);
    std::fflush(stdout);
    return 0;
}
